// A TCP listener that serves one client at a time; a new client replaces the old one.
#pragma once

#include "transport.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class TcpTransport : public Transport {
    Q_OBJECT
public:
    explicit TcpTransport(QObject* parent = nullptr);

    bool listen(const QString& host, quint16 port, QString& error);
    quint16 port() const { return m_server.serverPort(); }

    void send(const QByteArray& bytes) override;
    void drop() override;
    bool isTcp() const override { return true; }
    int pendingBytes() const override;

private:
    void onNewConnection();

    QTcpServer m_server;
    QPointer<QTcpSocket> m_client;
};
