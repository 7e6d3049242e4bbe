// The internet window: its FTP book, fetching a datalogger's address from its FTP site,
// connecting to it, and what "Stop", "Retry" and "Download and Go" mean on the internet.
#include "modem/internet_window.h"

#include "data/address_file.h"
#include "data/phone_book.h"
#include "data/dialogs.h"
#include "data/ftp_fetch.h"
#include "data/file_checks.h"
#include "widgets/console_door.h"
#include "link/link.h"
#include "data/program_folder.h"
#include "link/telnet_client.h"

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

InternetWindow::InternetWindow(Services& services, ConsoleDoor* console, QWidget* parent)
    : PhoneBookWindow(services, internetCaptions, parent)
    , console_(console)
{
    // A password shows only while it is being typed; a site name is longer than a number.
    for (QLineEdit* password : lastConnectionBoxes)
        password->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    for (QLineEdit* site : numberBoxes)
        site->setMinimumWidth(200);
    if (TelnetClient* client = link_.telnet()) {
        connect(client, &TelnetClient::Error, this, [this, client](qint32, const QString& description) {
            if (!client->isConnected())
                connectionFailed(description);
        });
        connect(client, &TelnetClient::Closed, this,
                [this] { connectionFailed(QStringLiteral("the datalogger closed the connection")); });
    }
}

QString InternetWindow::establishedMessage()
{
    return QStringLiteral("Connection is established. Parameters need to be read manually. Please read "
                          "parameters you need to change by clicking on the Read buttons.");
}

// A short "ftp.ini" (the first run creates it empty) fills the rows it has; the port and
// the placement are read all the same, as in the modem window.
void InternetWindow::load()
{
    const PhoneBook::Values book = PhoneBook::readBook(PhoneBook::ftpBookPath(programFolder_), Rows * bookColumns);
    setBookValues(book.values, bookColumns);
    const int port = PhoneBook::readPort(PhoneBook::modemPortPath(programFolder_));
    placeWindow();
    setPortBox(QString::number(port));
}

// The book holds passwords: only its owner may read it.
bool InternetWindow::save()
{
    const bool saved =
        PhoneBook::writeBook(PhoneBook::ftpBookPath(programFolder_), bookValues(bookColumns), TextFile::Access::OwnerOnly);
    if (!saved)
        dialogs_.inform(QStringLiteral("The FTP book could not be saved in ") + PhoneBook::ftpBookPath(programFolder_),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
    return saved;
}

void InternetWindow::connectSelected()
{
    if (fetching_ || link_.busy())
        return;
    pollTimer->stop();
    remoteAddress.clear();
    showStatus(QString());
    stopAction->setEnabled(true);
    const QString address = fetchAddress();
    if (closeAfterFetch_) {
        closeAfterFetch_ = false;
        close();
        return;
    }
    if (address.isEmpty())
        return;
    remoteAddress = address;
    connectTo(remoteAddress);
}

// On the internet there is no dial pause: the same as "Connect".
void InternetWindow::dialWithPause() { connectSelected(); }

// The address is read from memory: nothing of the account's file is left on disk. A
// copy left by an older version is deleted all the same, before and after.
QString InternetWindow::fetchAddress()
{
    const QString localCopy = joinPath(programFolder_, AddressFile::fileName);
    if (FileChecks::fileExists(localCopy))
        FileChecks::deleteFile(localCopy);

    FtpFetch::Request request;
    request.site = numberBoxes[selectedRow]->text();
    request.directory = nameBoxes[selectedRow]->text();
    request.fileName = AddressFile::fileName;
    request.user = expiryBoxes[selectedRow]->text();
    request.password = lastConnectionBoxes[selectedRow]->text();
    request.connectTimeoutMs = ftpConnectTimeoutMs;
    request.totalTimeoutMs = ftpTotalTimeoutMs;

    showStatus(QStringLiteral("Reading the address from ") + request.site.trimmed());
    fetching_ = true;
    cancelFetch_ = false;
    const FtpFetch::Result got = FtpFetch::fetch(
        request, [this] { return cancelFetch_; }, [this] { link_.serviceUi(); });
    fetching_ = false;
    if (FileChecks::fileExists(localCopy))
        FileChecks::deleteFile(localCopy);

    if (got.cancelled || closeAfterFetch_) {
        showStatus(got.error);
        return QString();
    }
    if (!got.ok) {
        showStatus(QString());
        dialogs_.inform(got.error, boxTitle, Dialogs::Icon::Critical);
        return QString();
    }
    // No connection is tried to a host the file does not name.
    const QString problem = AddressFile::problem(got.data);
    if (!problem.isEmpty()) {
        showStatus(QString());
        dialogs_.inform(problem, boxTitle, Dialogs::Icon::Critical);
        return QString();
    }
    return AddressFile::address(got.data);
}

void InternetWindow::closeEvent(QCloseEvent* event)
{
    if (fetching_) {
        cancelFetch_ = true;
        closeAfterFetch_ = true;
        event->ignore();
        return;
    }
    PhoneBookWindow::closeEvent(event);
}

QString InternetWindow::noDataMessage(int timeoutMs)
{
    return QStringLiteral("No data from the datalogger within %1 s: internet connection closed")
        .arg(QString::number(timeoutMs / 1000.0));
}

void InternetWindow::connectTo(const QString& address)
{
    showStatus(QStringLiteral("Connecting to ") + address);
    link_.disconnectTcp();
    waitingSince_.start();
    pollTimer->start();
    link_.connectTcp(address);
}

void InternetWindow::connectionFailed(const QString& why)
{
    if (!pollTimer->isActive() || inConnectedPhase_)
        return;
    pollTimer->stop();
    showStatus(QStringLiteral("No connection to ") + remoteAddress + QStringLiteral(": ") + why);
}

// Cancels a running transfer, or closes the connection and stops waiting for it. While
// the connected phase reads, its reads are abandoned: they end at once, and the phase
// unwinds without handing over.
void InternetWindow::stop()
{
    if (fetching_) {
        cancelFetch_ = true;
        return;
    }
    if (inConnectedPhase_) {
        stopRequested_ = true;
        link_.abandonExchanges(true);
        link_.disconnectTcp();
        return;
    }
    if (link_.busy())
        return;
    endAttempt(QStringLiteral("Internet connection closed"));
}

void InternetWindow::endAttempt(const QString& status)
{
    pollTimer->stop();
    link_.disconnectTcp();
    showStatus(status);
}

// Connects again to the address of the last attempt, without fetching it again.
void InternetWindow::retry()
{
    if (fetching_ || link_.busy() || remoteAddress.isEmpty())
        return;
    showStatus(QStringLiteral("Trying again..."));
    connectTo(remoteAddress);
}
