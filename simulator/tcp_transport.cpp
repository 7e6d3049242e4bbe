// The TCP transport.
#include "tcp_transport.h"

#include <QHostAddress>

TcpTransport::TcpTransport(QObject* parent)
    : Transport(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &TcpTransport::onNewConnection);
}

bool TcpTransport::listen(const QString& host, quint16 port, QString& error)
{
    QHostAddress address;
    if (host == QLatin1String("localhost"))
        address = QHostAddress::LocalHost;
    else if (host == QLatin1String("*") || host.isEmpty())
        address = QHostAddress::Any;
    else if (!address.setAddress(host)) {
        error = QStringLiteral("not an address: %1").arg(host);
        return false;
    }
    if (!m_server.listen(address, port)) {
        error = m_server.errorString();
        return false;
    }
    return true;
}

void TcpTransport::onNewConnection()
{
    while (QTcpSocket* s = m_server.nextPendingConnection()) {
        if (m_client) {
            m_client->disconnect(this);
            m_client->abort();
            m_client->deleteLater();
        }
        m_client = s;
        s->setSocketOption(QAbstractSocket::LowDelayOption, 1);
        connect(s, &QTcpSocket::readyRead, this, [this, s] { emit received(s->readAll()); });
        connect(s, &QTcpSocket::disconnected, this, [this, s] {
            if (m_client == s)
                emit peerDisconnected();
            s->deleteLater();
        });
        emit peerConnected();
    }
}

void TcpTransport::send(const QByteArray& bytes)
{
    if (m_client && m_client->state() == QAbstractSocket::ConnectedState)
        m_client->write(bytes);
}

void TcpTransport::drop()
{
    if (m_client) {
        // What was sent before the drop still leaves; then the connection closes.
        m_client->disconnect(this);
        m_client->flush();
        m_client->disconnectFromHost();
        m_client->deleteLater();
        m_client = nullptr;
        emit peerDisconnected();
    }
}

int TcpTransport::pendingBytes() const
{
    return m_client ? int(m_client->bytesToWrite()) : 0;
}
