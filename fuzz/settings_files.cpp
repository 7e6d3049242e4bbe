// Fuzzes the settings files as an operator's editor or a damaged disk may leave them:
// each is read, written back by the program and read again, and must give the same
// values the second time. The comma-and-quote field rule is fuzzed on its own too: any
// value of one line written by it reads back whole.
#include "data/phone_book.h"
#include "data/port_settings.h"
#include "data/settings_fields.h"
#include "data/com_ports.h"
#include "support/fuzz_support.h"

using Fuzz::check;

namespace {

// rk550.ini and pmodem.ini: the port read is written and read back the same.
void portFile(const QByteArray& content, bool modemPort)
{
    const QString path = Fuzz::freshFile(modemPort ? QStringLiteral("pmodem.ini") : QStringLiteral("rk550.ini"));
    Fuzz::writeBytes(path, content);
    bool ok = true;
    const int port = modemPort ? PhoneBook::readPort(path) : PortSettings::load(path, &ok);
    check(port >= -32768 && port <= 32767, "a port outside the file's number range");
    check(ok || port == 0, "an unreadable file gave a port");
    check(modemPort ? PhoneBook::writePort(path, port) : PortSettings::save(path, port), "the port could not be saved");
    bool okAgain = false;
    check(PortSettings::load(path, &okAgain) == port && okAgain, "the saved port reads back different");
}

// comports.ini: eight devices, each one trimmed line; written back one per line, the file
// gives the same eight.
void comPorts(const QByteArray& content, bool missing)
{
    const QString path = Fuzz::freshFile(QStringLiteral("comports.ini"));
    if (!missing)
        Fuzz::writeBytes(path, content);
    const QStringList devices = ComPorts::devices(Fuzz::folder());
    check(devices.size() == 8, "not eight ports");
    for (const QString& d : devices)
        check(!d.isEmpty() && d == d.trimmed() && !d.contains(QLatin1Char('\n')),
              "a device that is not one trimmed line");
    if (missing)
        check(Fuzz::readBytes(path).startsWith("/dev/ttyUSB0\n"), "the missing file was not created");
    for (int n = -1; n <= 9; ++n)
        check(ComPorts::device(Fuzz::folder(), n) == (n >= 1 && n <= 8 ? devices[n - 1] : QString()),
              "a port number gives another device");
    Fuzz::writeBytes(path, (devices.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    check(ComPorts::devices(Fuzz::folder()) == devices, "the devices written back read different");
}

// modem.ini and ftp.ini (values), last.ini (lines).
void book(const QByteArray& content, int count)
{
    const QString path = Fuzz::freshFile(QStringLiteral("modem.ini"));
    Fuzz::writeBytes(path, content);
    const PhoneBook::Values got = PhoneBook::readBook(path, count);
    check(got.values.size() <= count && got.complete == (got.values.size() == count),
          "the book's count and completeness disagree");
    check(PhoneBook::writeBook(path, got.values), "the book could not be written");
    const PhoneBook::Values again = PhoneBook::readBook(path, count);
    check(again.values == got.values, "the book written back reads different");
}

void lastDates(const QByteArray& content, int maxLines)
{
    const QString path = Fuzz::freshFile(QStringLiteral("last.ini"));
    Fuzz::writeBytes(path, content);
    const QStringList lines = PhoneBook::readLines(path, maxLines);
    check(lines.size() <= maxLines, "more lines than asked for");
    check(PhoneBook::writeLines(path, lines), "the lines could not be written");
    check(PhoneBook::readLines(path, maxLines) == lines, "the lines written back read different");
}

// The field rule alone: a whole file's fields written back give the same fields, and any
// one-line value written alone reads back as itself.
void fields(const QByteArray& content)
{
    const QStringList values = SettingsFields::read(content);
    QByteArray written;
    for (const QString& v : values)
        written += SettingsFields::write(v).toLatin1() + "\r\n";
    check(SettingsFields::read(written) == values, "the fields written back read different");

    QByteArray line = content;
    line.replace('\r', ' ').replace('\n', ' ');
    const QString value = QString::fromLatin1(line);
    const QStringList back = SettingsFields::read(SettingsFields::write(value).toLatin1() + "\r\n");
    check(back == QStringList{value}, "a value written alone reads back different");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // which file, how many values or lines are asked for, the file's content
    Fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    const int count = in.byte();
    const QByteArray content = in.rest();
    switch (mode % 7) {
    case 0: portFile(content, false); break;
    case 1: portFile(content, true); break;
    case 2: comPorts(content, false); break;
    case 3: comPorts(content, true); break;
    case 4: book(content, count); break;
    case 5: lastDates(content, count); break;
    default: fields(content); break;
    }
    return 0;
}
