// Reading and writing the phone books, the last-connection dates and the modem port.
#include "data/phone_book.h"

#include "data/port_settings.h"
#include "data/settings_fields.h"
#include "data/text_file.h"
#include "data/program_folder.h"

#include <QFile>

namespace PhoneBook {

namespace {

// Every settings file is created empty before it is read, so that the next save finds it.
QByteArray contentOf(const QString& path)
{
    {
        QFile create(path);
        create.open(QIODevice::Append);
    }
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Values readBook(const QString& path, int count)
{
    Values got;
    got.values = SettingsFields::read(contentOf(path)).mid(0, count);
    got.complete = got.values.size() == count;
    return got;
}

bool writeBook(const QString& path, const QStringList& values, TextFile::Access access)
{
    QStringList lines;
    lines.reserve(values.size());
    for (const QString& v : values)
        lines << SettingsFields::write(v);
    return TextFile::replace(path, TextFile::crlfLines(lines), access);
}

QStringList readLines(const QString& path, int maxLines)
{
    QByteArray content = contentOf(path);
    content.replace("\r\n", "\n");
    QStringList lines = QString::fromLatin1(content).split(QLatin1Char('\n'));
    if (content.endsWith('\n') || content.isEmpty())
        lines.removeLast();  // the line end of the last line starts no new line
    return lines.mid(0, maxLines);
}

bool writeLines(const QString& path, const QStringList& lines)
{
    return TextFile::replace(path, TextFile::crlfLines(lines));
}

int readPort(const QString& path) { return PortSettings::load(path); }

bool writePort(const QString& path, int port) { return PortSettings::save(path, port); }

QString modemBookPath(const QString& folder) { return joinPath(folder, QStringLiteral("modem.ini")); }
QString lastPath(const QString& folder) { return joinPath(folder, QStringLiteral("last.ini")); }
QString modemPortPath(const QString& folder) { return joinPath(folder, QStringLiteral("pmodem.ini")); }
QString ftpBookPath(const QString& folder) { return joinPath(folder, QStringLiteral("ftp.ini")); }

} // namespace PhoneBook
