// The internet window: its FTP book, fetching a datalogger's address from its FTP site,
// connecting to it, and what "Stop", "Retry" and "Download and Go" mean on the internet.
#include "modem/modem_tcp.h"

#include "data/address_file.h"
#include "data/phone_book.h"
#include "link/dialogs.h"
#include "link/ftp_fetch.h"
#include "link/mfile.h"
#include "link/modulo1.h"
#include "link/program_folder.h"
#include "link/telnet_tty_client.h"

#include <QAction>
#include <QCloseEvent>
#include <QLineEdit>

namespace {

// Directory, FTP site, user name and password of every entry in "ftp.ini".
constexpr int bookColumns = 4;

const PhoneBookCaptions internetCaptions{
    QStringLiteral("ModemTCP"),
    QStringLiteral("Internet Connection"),
    {QStringLiteral("Directory"), QStringLiteral("FTP site"), QStringLiteral("User name"), QStringLiteral("Password")},
    QStringLiteral("&Save data"),
};

const QString boxTitle = QStringLiteral("Internet Connection");

} // namespace

ModemTCP::ModemTCP(Form1* console, QWidget* parent)
    : PhoneBookWindow(internetCaptions, parent)
    , console_(console)
{
    // A password shows only while it is being typed; a site name is longer than a number.
    for (QLineEdit* password : Uldata)
        password->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    for (QLineEdit* site : Telefono)
        site->setMinimumWidth(200);
    if (TelnetTTYClient* client = Modulo1::telnet()) {
        connect(client, &TelnetTTYClient::Error, this, [this, client](qint32, const QString& description) {
            if (!client->isConnected())
                connectionFailed(description);
        });
        connect(client, &TelnetTTYClient::Closed, this,
                [this] { connectionFailed(QStringLiteral("the datalogger closed the connection")); });
    }
}

QString ModemTCP::establishedMessage()
{
    return QStringLiteral("Connection is established. Parameters need to be read manually. Please read "
                          "parameters you need to change by clicking on the Read buttons.");
}

// A short "ftp.ini" (the first run creates it empty) fills the rows it has; the port and
// the placement are read all the same, as in the modem window.
void ModemTCP::Form_Load()
{
    const PhoneBook::Values book = PhoneBook::readBook(PhoneBook::ftpBookPath(), Rows * bookColumns);
    setBookValues(book.values, bookColumns);
    const int port = PhoneBook::readPort(PhoneBook::modemPortPath());
    placeWindow();
    setPortBox(QString::number(port));
}

// The book holds passwords: only its owner may read it.
bool ModemTCP::Salva_Click()
{
    const bool saved =
        PhoneBook::writeBook(PhoneBook::ftpBookPath(), bookValues(bookColumns), TextFile::Access::OwnerOnly);
    if (!saved)
        dialogs().inform(QStringLiteral("The FTP book could not be saved in ") + PhoneBook::ftpBookPath(),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
    return saved;
}

void ModemTCP::Connetti_Click()
{
    if (fetching_ || Modulo1::linkBusy())
        return;
    Timer1->stop();
    RemoteAddress.clear();
    showStatus(QString());
    Interrompi->setEnabled(true);
    const QString address = fetchAddress();
    if (closeAfterFetch_) {
        closeAfterFetch_ = false;
        close();
        return;
    }
    if (address.isEmpty())
        return;
    RemoteAddress = address;
    connectTo(RemoteAddress);
}

// On the internet there is no dial pause: the same as "Connect".
void ModemTCP::Scarica_Vai_Click() { Connetti_Click(); }

// The address is read from memory: nothing of the account's file is left on disk. A
// copy left by an older version is deleted all the same, before and after.
QString ModemTCP::fetchAddress()
{
    const QString localCopy = ProgramFolder::file(AddressFile::fileName);
    if (mFile::File_Esiste(localCopy))
        mFile::Cancella_File(localCopy);

    FtpFetch::Request request;
    request.site = Telefono[alfa]->text();
    request.directory = Nome[alfa]->text();
    request.fileName = AddressFile::fileName;
    request.user = Scadenza[alfa]->text();
    request.password = Uldata[alfa]->text();
    request.connectTimeoutMs = ftpConnectTimeoutMs;
    request.totalTimeoutMs = ftpTotalTimeoutMs;

    showStatus(QStringLiteral("Reading the address from ") + request.site.trimmed());
    fetching_ = true;
    cancelFetch_ = false;
    const FtpFetch::Result got = FtpFetch::fetch(request, [this] { return cancelFetch_; });
    fetching_ = false;
    if (mFile::File_Esiste(localCopy))
        mFile::Cancella_File(localCopy);

    if (got.cancelled || closeAfterFetch_) {
        showStatus(got.error);
        return QString();
    }
    if (!got.ok) {
        showStatus(QString());
        dialogs().inform(got.error, boxTitle, Dialogs::Icon::Critical);
        return QString();
    }
    // No connection is tried to a host the file does not name.
    const QString problem = AddressFile::problem(got.data);
    if (!problem.isEmpty()) {
        showStatus(QString());
        dialogs().inform(problem, boxTitle, Dialogs::Icon::Critical);
        return QString();
    }
    return AddressFile::address(got.data);
}

void ModemTCP::closeEvent(QCloseEvent* event)
{
    if (fetching_) {
        cancelFetch_ = true;
        closeAfterFetch_ = true;
        event->ignore();
        return;
    }
    PhoneBookWindow::closeEvent(event);
}

QString ModemTCP::noDataMessage(int timeoutMs)
{
    return QStringLiteral("No data from the datalogger within %1 s: internet connection closed")
        .arg(QString::number(timeoutMs / 1000.0));
}

void ModemTCP::connectTo(const QString& address)
{
    showStatus(QStringLiteral("Connecting to ") + address);
    Modulo1::Disconnetti_TCP();
    waitingSince_.start();
    Timer1->start();
    Modulo1::Connetti_TCP(address);
}

void ModemTCP::connectionFailed(const QString& why)
{
    if (!Timer1->isActive() || inConnectedPhase_)
        return;
    Timer1->stop();
    showStatus(QStringLiteral("No connection to ") + RemoteAddress + QStringLiteral(": ") + why);
}

// Cancels a running transfer, or closes the connection and stops waiting for it. While
// the connected phase reads, its reads are abandoned: they end at once, and the phase
// unwinds without handing over.
void ModemTCP::Interrompi_Click()
{
    if (fetching_) {
        cancelFetch_ = true;
        return;
    }
    if (inConnectedPhase_) {
        stopRequested_ = true;
        Modulo1::abandonExchanges(true);
        Modulo1::Disconnetti_TCP();
        return;
    }
    if (Modulo1::linkBusy())
        return;
    endAttempt(QStringLiteral("Internet connection closed"));
}

void ModemTCP::endAttempt(const QString& status)
{
    Timer1->stop();
    Modulo1::Disconnetti_TCP();
    showStatus(status);
}

// Connects again to the address of the last attempt, without fetching it again.
void ModemTCP::Riprova_Click()
{
    if (fetching_ || Modulo1::linkBusy() || RemoteAddress.isEmpty())
        return;
    showStatus(QStringLiteral("Trying again..."));
    connectTo(RemoteAddress);
}
