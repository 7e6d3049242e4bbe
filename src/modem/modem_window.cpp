// The modem window: opening with its files, saving them, dialling and hanging up.
#include "modem/modem_window.h"

#include "data/phone_book.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "widgets/console_door.h"
#include "link/link.h"
#include "link/serial_port.h"

#include <QAction>
#include <QLineEdit>

namespace {

// Name, number and date of every entry in "modem.ini".
constexpr int bookColumns = 3;

const PhoneBookCaptions modemCaptions{
    QStringLiteral("Modem"),
    QStringLiteral("GSM CONNECTION"),
    {QStringLiteral("Name"), QStringLiteral("GSM"), QStringLiteral("Date"), QStringLiteral("Last connection")},
    QStringLiteral("&Save"),
};

} // namespace

ModemWindow::ModemWindow(Services& services, ConsoleDoor* console, QWidget* parent)
    : PhoneBookWindow(services, modemCaptions, parent)
    , console_(console)
{
}

// A short "modem.ini" (the first run creates it empty) fills the rows it has; the port,
// the placement and the last-connection dates are read all the same.
void ModemWindow::load()
{
    const PhoneBook::Values book = PhoneBook::readBook(PhoneBook::modemBookPath(programFolder_), Rows * bookColumns);
    setBookValues(book.values, bookColumns);
    const int port = PhoneBook::readPort(PhoneBook::modemPortPath(programFolder_));
    placeWindow();
    setPortBox(QString::number(port));
    const QStringList last = PhoneBook::readLines(PhoneBook::lastPath(programFolder_), Rows);
    for (int i = 0; i < last.size(); ++i)
        lastConnectionBoxes[i]->setText(last[i]);
}

bool ModemWindow::save()
{
    QStringList dates;
    for (QLineEdit* b : lastConnectionBoxes)
        dates << b->text();
    const bool saved = PhoneBook::writeBook(PhoneBook::modemBookPath(programFolder_), bookValues(bookColumns))
                       && PhoneBook::writeLines(PhoneBook::lastPath(programFolder_), dates);
    if (!saved)
        dialogs_.inform(QStringLiteral("The phone book could not be saved in ") + PhoneBook::modemBookPath(programFolder_)
                             + QStringLiteral(" and ") + PhoneBook::lastPath(programFolder_),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
    return saved;
}

QString ModemWindow::writeToModem(const QString& text, qint16 number)
{
    (void)number;
    SerialPort* port = link_.serial();
    if (port)
        port->write(text.toLatin1());
    return QString();
}

void ModemWindow::emptyInput()
{
    if (SerialPort* port = link_.serial(); port && port->isOpen())
        port->discardInput();
}

// "atx0", then "ATD" and the number; the poll then watches for "CONNECT". A port that
// is not open ends the dialling silently, before the poll starts.
void ModemWindow::dial(const QString& number)
{
    SerialPort* port = link_.serial();
    if (link_.busy() || !port)
        return;
    link_.pause(50);
    stopAction->setEnabled(true);
    if (!port->isOpen())
        return;
    writeToModem(QStringLiteral("atx0\r"));
    link_.pause(50);
    if (number.isEmpty())
        return;
    // A line end pasted into the number would end the dial command and start another.
    if (!Numbers::fitsTheWire(number)) {
        dialogs_.inform(QStringLiteral("The number can only contain printable characters of the Latin-1 set. "
                                        "Nothing was dialled."),
                         QStringLiteral("GSM CONNECTION"), Dialogs::Icon::Warning);
        return;
    }
    writeToModem(QStringLiteral("ATD") + number + QLatin1Char('\r'));
    pollTimer->start();
}

void ModemWindow::connectSelected() { dial(numberBoxes[selectedRow]->text()); }

// The first digit, a comma (the modem's dial pause), then the rest of the number.
void ModemWindow::dialWithPause()
{
    const QString number = numberBoxes[selectedRow]->text();
    dial(number.isEmpty() ? QString() : number.left(1) + QLatin1Char(',') + number.mid(1));
}

// "+++" paced, the guard time of silence, then "ATH". The poll goes on: the modem's
// answers stay visible.
void ModemWindow::stop()
{
    if (link_.busy())
        return;
    link_.sendCommand(QString(), QStringLiteral("+++"));
    link_.pause(500);
    link_.sendCommand(QString(), QStringLiteral("ATH\r"));
}
