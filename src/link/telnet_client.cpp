// TelnetClient over QTcpSocket: connection, flow of bytes to and from the parser, events.
#include "link/telnet_client.h"

#include "link/telnet_parser.h"

#include <QNetworkProxy>
#include <QPointer>
#include <QTcpSocket>
#include <QTimer>

#include <cerrno>
#include <sys/socket.h>

namespace {

// How long a socket we closed may take to hand its last writes to the host.
constexpr int CloseGraceMs = 5000;

} // namespace

int TelnetClient::setOobInline(qintptr descriptor)
{
    const int on = 1;
    if (::setsockopt(int(descriptor), SOL_SOCKET, SO_OOBINLINE, &on, sizeof on) != 0)
        return errno;
    return 0;
}

struct TelnetClient::Private {
    TelnetClient* q;
    QPointer<QTcpSocket> socket;
    TelnetParser parser;
    int localPort = 0;
    QString remoteHost;
    int remotePort = 0;
    bool reading = false;
    QString sendError;

    SocketOptionSetter optionSetter;

    Private(TelnetClient* owner, SocketOptionSetter setter) : q(owner), optionSetter(setter) {}

    void newSocket();
    void dropSocket();
    bool prepareSocket();
    void onConnected();
    void onReadyRead();
    void readLater();
    void onDisconnected();
    void onError(QAbstractSocket::SocketError error);
    void run(const TelnetParser::Actions& actions);
};

void TelnetClient::Private::newSocket()
{
    socket = new QTcpSocket(q);
    socket->setProxy(QNetworkProxy::NoProxy);
    // Bytes the owner has not taken yet stay in the kernel, so the host is slowed down
    // by TCP itself instead of growing our buffers.
    socket->setReadBufferSize(TelnetParser::DataLimit);
}

// The socket leaves quietly: no Closed for a close we asked for. Writes still queued
// are given a short time to reach the host.
void TelnetClient::Private::dropSocket()
{
    if (!socket)
        return;
    QTcpSocket* s = socket;
    socket = nullptr;
    s->disconnect(q);
    if (s->state() == QAbstractSocket::ConnectedState && s->bytesToWrite() > 0) {
        QObject::connect(s, &QAbstractSocket::disconnected, s, &QObject::deleteLater);
        QTimer::singleShot(CloseGraceMs, s, [s] { s->abort(); s->deleteLater(); });
        s->disconnectFromHost();
    } else {
        s->abort();
        s->deleteLater();
    }
}

// Gives the socket a handle and sets the option on it before any connection is tried.
bool TelnetClient::Private::prepareSocket()
{
    if (!socket->bind(QHostAddress::AnyIPv4, 0)) {
        emit q->Error(qint32(socket->error()), socket->errorString());
        return false;
    }
    const int err = optionSetter(socket->socketDescriptor());
    socket->abort();
    if (err != 0) {
        emit q->Error(err, QStringLiteral("Error setting SO_OOBINLINE socket option"));
        return false;
    }
    return true;
}

void TelnetClient::Private::onConnected()
{
    // Urgent data stays in the stream instead of being lost to an out-of-band read; Qt's
    // sockets are made so already, but the client does not rely on that.
    optionSetter(socket->socketDescriptor());
    emit q->Connected();
}

// One arrival: at most what the data buffer can still hold; the rest waits in the
// socket until the owner takes data.
void TelnetClient::Private::onReadyRead()
{
    if (reading || !socket)
        return;
    const qint64 room = parser.room();
    const qint64 available = socket->bytesAvailable();
    if (room == 0 || available == 0)
        return;
    reading = true;
    const QByteArray bytes = socket->read(qMin(room, available));
    run(parser.arrival(bytes));
    reading = false;
    if (parser.dataSize() > 0)
        emit q->DataArrival();
    readLater();
}

void TelnetClient::Private::readLater()
{
    if (socket && socket->bytesAvailable() > 0 && parser.room() > 0)
        QMetaObject::invokeMethod(q, [this] { onReadyRead(); }, Qt::QueuedConnection);
}

void TelnetClient::Private::onDisconnected()
{
    parser.forgetTerminalType();
    emit q->Closed();
}

void TelnetClient::Private::onError(QAbstractSocket::SocketError error)
{
    // The host closing the connection is reported by Closed, not as an error.
    if (error == QAbstractSocket::RemoteHostClosedError || !socket)
        return;
    emit q->Error(qint32(error), socket->errorString());
}

void TelnetClient::Private::run(const TelnetParser::Actions& actions)
{
    for (const auto& a : actions) {
        if (a.kind == TelnetParser::Action::Kind::Error) {
            emit q->Error(a.number, a.description);
        } else if (socket && socket->state() == QAbstractSocket::ConnectedState
                   && socket->bytesToWrite() + a.bytes.size() <= UnsentAnswerLimit) {
            socket->write(a.bytes);
            socket->flush();
        }
    }
}

TelnetClient::TelnetClient(QObject* parent, SocketOptionSetter optionSetter)
    : QObject(parent), d(new Private(this, optionSetter ? optionSetter : setOobInline))
{
}

TelnetClient::~TelnetClient()
{
    if (d->socket)
        d->socket->disconnect(this);
    delete d;
}

int TelnetClient::LocalPort() const
{
    if (isConnected())
        return d->socket->localPort();
    return d->localPort;
}

void TelnetClient::setLocalPort(int port) { d->localPort = port; }
QString TelnetClient::RemoteHost() const { return d->remoteHost; }
void TelnetClient::setRemoteHost(const QString& host) { d->remoteHost = host; }

QString TelnetClient::RemoteHostIP() const
{
    return isConnected() ? d->socket->peerAddress().toString() : QString();
}

int TelnetClient::RemotePort() const { return d->remotePort; }
void TelnetClient::setRemotePort(int port) { d->remotePort = port; }
QString TelnetClient::TermType() const { return d->parser.termType(); }
void TelnetClient::setTermType(const QString& types) { d->parser.setTerminalTypes(types); }

void TelnetClient::Connect(const QString& host, int port)
{
    d->remoteHost = host;
    d->remotePort = port;
    d->dropSocket();
    d->parser.newSession();
    d->newSocket();
    if (!d->prepareSocket())
        return;
    d->localPort = 0;
    QTcpSocket* s = d->socket;
    connect(s, &QAbstractSocket::connected, this, [this] { d->onConnected(); });
    connect(s, &QIODevice::readyRead, this, [this] { d->onReadyRead(); });
    connect(s, &QAbstractSocket::disconnected, this, [this] { d->onDisconnected(); });
    connect(s, &QAbstractSocket::errorOccurred, this,
            [this](QAbstractSocket::SocketError e) { d->onError(e); });
    s->connectToHost(host, quint16(port));
}

void TelnetClient::Disconnect()
{
    d->dropSocket();
    d->localPort = 0;
    d->parser.forgetTerminalType();
}

void TelnetClient::Echo(bool on) { d->run(d->parser.echo(on)); }

QByteArray TelnetClient::GetData()
{
    const QByteArray data = d->parser.takeData();
    d->readLater();
    return data;
}

bool TelnetClient::SendData(const QByteArray& data)
{
    d->sendError.clear();
    if (!isConnected())
        d->sendError = QStringLiteral("Socket is not connected");
    else if (d->socket->write(data) != data.size())
        d->sendError = d->socket->errorString();
    if (!d->sendError.isEmpty())
        return false;
    d->socket->flush();
    return true;
}

QString TelnetClient::sendError() const { return d->sendError; }

qint64 TelnetClient::unsentBytes() const
{
    return d->socket ? d->socket->bytesToWrite() : 0;
}

bool TelnetClient::isConnected() const
{
    return d->socket && d->socket->state() == QAbstractSocket::ConnectedState;
}
