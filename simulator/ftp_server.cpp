// A small FTP server: login, passive data connections and RETR, which is all a file
// fetch needs; other commands are refused as not implemented.
#include "ftp_server.h"

#include <QHostAddress>

struct FtpServer::Client {
    QPointer<QTcpSocket> control;
    QByteArray buffer;
    QByteArray user;
    bool loggedIn = false;
    std::unique_ptr<QTcpServer> passiveServer;
    QPointer<QTcpSocket> data;
    QByteArray pending;     // a file waiting for its data connection
    bool sending = false;

    // A data connection no transfer used (a RETR refused after PASV) goes with its client.
    ~Client() { delete data.data(); }
};

namespace {

void reply(QTcpSocket* s, const QByteArray& line)
{
    if (s)
        s->write(line + "\r\n");
}

} // namespace

FtpServer::FtpServer(const Account& account, bool mute, QObject* parent)
    : QObject(parent), m_account(account), m_mute(mute)
{
    connect(&m_server, &QTcpServer::newConnection, this, &FtpServer::onNewConnection);
}

bool FtpServer::listen(const QString& host, quint16 port, QString& error)
{
    if (m_server.listen(QHostAddress(host), port))
        return true;
    error = QStringLiteral("cannot listen for FTP on %1:%2: %3").arg(host).arg(port).arg(m_server.errorString());
    return false;
}

void FtpServer::setFile(const QByteArray& path, const QByteArray& content)
{
    m_files.insert(path.startsWith('/') ? path : '/' + path, content);
}

const QByteArray* FtpServer::find(const QByteArray& path) const
{
    const auto it = m_files.constFind(path.startsWith('/') ? path : '/' + path);
    return it == m_files.constEnd() ? nullptr : &it.value();
}

void FtpServer::onNewConnection()
{
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        auto* c = new Client;
        c->control = s;
        connect(s, &QTcpSocket::disconnected, s, &QObject::deleteLater);
        connect(s, &QObject::destroyed, this, [c] { delete c; });
        // A mute server takes the connection and never says a word.
        if (m_mute)
            continue;
        connect(s, &QTcpSocket::readyRead, this, [this, c] {
            c->buffer += c->control->readAll();
            for (qsizetype end; c->control && (end = c->buffer.indexOf("\r\n")) >= 0;) {
                const QByteArray line = c->buffer.left(end);
                c->buffer.remove(0, end + 2);
                onLine(c, line);
            }
        });
        reply(s, "220 quorvel-sim FTP ready");
    }
}

void FtpServer::onLine(Client* c, const QByteArray& line)
{
    m_commands << line;
    const qsizetype space = line.indexOf(' ');
    const QByteArray verb = line.left(space < 0 ? line.size() : space).toUpper();
    const QByteArray arg = space < 0 ? QByteArray() : line.mid(space + 1);
    QTcpSocket* s = c->control;
    if (verb == "USER") {
        c->user = arg;
        reply(s, "331 Password required");
    } else if (verb == "PASS") {
        c->loggedIn = c->user == m_account.user && arg == m_account.password;
        m_logins += c->loggedIn;
        reply(s, c->loggedIn ? "230 Logged in" : "530 Login incorrect");
    } else if (verb == "QUIT") {
        reply(s, "221 Goodbye");
        s->disconnectFromHost();
    } else if (!c->loggedIn) {
        reply(s, "530 Please login with USER and PASS");
    } else if (verb == "PWD") {
        reply(s, "257 \"/\" is the current directory");
    } else if (verb == "CWD") {
        reply(s, "250 Directory changed");
    } else if (verb == "TYPE") {
        reply(s, "200 Type set");
    } else if (verb == "EPSV" || verb == "PASV") {
        passive(c, verb == "EPSV");
    } else if (verb == "SIZE") {
        const QByteArray* f = find(arg);
        reply(s, f ? "213 " + QByteArray::number(f->size()) : QByteArray("550 No such file"));
    } else if (verb == "RETR") {
        retrieve(c, arg);
    } else {
        reply(s, "502 Command not implemented");
    }
}

void FtpServer::passive(Client* c, bool extended)
{
    c->passiveServer = std::make_unique<QTcpServer>();
    const QHostAddress host = c->control->localAddress();
    if (!c->passiveServer->listen(host, 0)) {
        reply(c->control, "425 Cannot open a data connection");
        return;
    }
    connect(c->passiveServer.get(), &QTcpServer::newConnection, this, [this, c] {
        c->data = c->passiveServer->nextPendingConnection();
        if (!c->data)
            return;
        c->data->setParent(nullptr);  // it outlives the listener, which goes after each transfer
        connect(c->data, &QTcpSocket::disconnected, c->data, &QObject::deleteLater);
        sendPending(c);
    });
    const quint16 p = c->passiveServer->serverPort();
    if (extended) {
        reply(c->control, "229 Entering Extended Passive Mode (|||" + QByteArray::number(p) + "|)");
        return;
    }
    const quint32 a = host.toIPv4Address();
    reply(c->control, QByteArray("227 Entering Passive Mode (%1,%2,%3,%4,%5,%6)")
                          .replace("%1", QByteArray::number(a >> 24))
                          .replace("%2", QByteArray::number((a >> 16) & 0xff))
                          .replace("%3", QByteArray::number((a >> 8) & 0xff))
                          .replace("%4", QByteArray::number(a & 0xff))
                          .replace("%5", QByteArray::number(p >> 8))
                          .replace("%6", QByteArray::number(p & 0xff)));
}

void FtpServer::retrieve(Client* c, const QByteArray& path)
{
    const QByteArray* f = find(path);
    if (!f) {
        reply(c->control, "550 No such file");
        return;
    }
    if (!c->passiveServer) {
        reply(c->control, "425 Use PASV or EPSV first");
        return;
    }
    ++m_retrievals;
    c->pending = *f;
    c->sending = true;
    reply(c->control, "150 Opening data connection");
    sendPending(c);
}

// The file goes once both the RETR and the data connection are there.
void FtpServer::sendPending(Client* c)
{
    if (!c->sending || !c->data || !c->control)
        return;
    c->sending = false;
    QTcpSocket* d = c->data;
    d->write(c->pending);
    connect(d, &QTcpSocket::bytesWritten, d, [d] {
        if (d->bytesToWrite() == 0)
            d->disconnectFromHost();
    });
    connect(d, &QTcpSocket::disconnected, c->control, [c] {
        c->passiveServer.reset();
        reply(c->control, "226 Transfer complete");
    });
    if (c->pending.isEmpty())
        d->disconnectFromHost();
}
