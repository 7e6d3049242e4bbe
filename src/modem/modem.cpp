// The modem window: opening with its files, saving them, dialling and hanging up.
#include "modem/modem.h"

#include "data/phone_book.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
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

Modem::Modem(Form1* console, QWidget* parent)
    : PhoneBookWindow(modemCaptions, parent)
    , console_(console)
{
}

// A short "modem.ini" (the first run creates it empty) fills the rows it has; the port,
// the placement and the last-connection dates are read all the same.
void Modem::Form_Load()
{
    const PhoneBook::Values book = PhoneBook::readBook(PhoneBook::modemBookPath(), Rows * bookColumns);
    setBookValues(book.values, bookColumns);
    const int port = PhoneBook::readPort(PhoneBook::modemPortPath());
    placeWindow();
    setPortBox(QString::number(port));
    const QStringList last = PhoneBook::readLines(PhoneBook::lastPath(), Rows);
    for (int i = 0; i < last.size(); ++i)
        Uldata[i]->setText(last[i]);
}

bool Modem::Salva_Click()
{
    QStringList dates;
    for (QLineEdit* b : Uldata)
        dates << b->text();
    const bool saved = PhoneBook::writeBook(PhoneBook::modemBookPath(), bookValues(bookColumns))
                       && PhoneBook::writeLines(PhoneBook::lastPath(), dates);
    if (!saved)
        dialogs().inform(QStringLiteral("The phone book could not be saved in ") + PhoneBook::modemBookPath()
                             + QStringLiteral(" and ") + PhoneBook::lastPath(),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
    return saved;
}

QString Modem::Interroga_Modem(const QString& carattere, qint16 numero)
{
    (void)numero;
    SerialPort* port = Modulo1::serial();
    if (port)
        port->write(carattere.toLatin1());
    return QString();
}

void Modem::Scarica()
{
    if (SerialPort* port = Modulo1::serial(); port && port->isOpen())
        port->discardInput();
}

// "atx0", then "ATD" and the number; the poll then watches for "CONNECT". A port that
// is not open ends the dialling silently, before the poll starts.
void Modem::dial(const QString& number)
{
    SerialPort* port = Modulo1::serial();
    if (Modulo1::linkBusy() || !port)
        return;
    Modulo1::Pausa(50);
    Interrompi->setEnabled(true);
    if (!port->isOpen())
        return;
    Interroga_Modem(QStringLiteral("atx0\r"));
    Modulo1::Pausa(50);
    if (number.isEmpty())
        return;
    // A line end pasted into the number would end the dial command and start another.
    if (!Conversioni::fitsTheWire(number)) {
        dialogs().inform(QStringLiteral("The number can only contain printable characters of the Latin-1 set. "
                                        "Nothing was dialled."),
                         QStringLiteral("GSM CONNECTION"), Dialogs::Icon::Warning);
        return;
    }
    Interroga_Modem(QStringLiteral("ATD") + number + QLatin1Char('\r'));
    Timer1->start();
}

void Modem::Connetti_Click() { dial(Telefono[alfa]->text()); }

// The first digit, a comma (the modem's dial pause), then the rest of the number.
void Modem::Scarica_Vai_Click()
{
    const QString number = Telefono[alfa]->text();
    dial(number.isEmpty() ? QString() : number.left(1) + QLatin1Char(',') + number.mid(1));
}

// "+++" paced, the guard time of silence, then "ATH". The poll goes on: the modem's
// answers stay visible.
void Modem::Interrompi_Click()
{
    if (Modulo1::linkBusy())
        return;
    Modulo1::Invia_Comando(QString(), QStringLiteral("+++"));
    Modulo1::Pausa(500);
    Modulo1::Invia_Comando(QString(), QStringLiteral("ATH\r"));
}
