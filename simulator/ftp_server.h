// The office's FTP server, as far as the program uses it: a datalogger with a GPRS modem
// keeps its current address in "IPaddress.ip" in its own directory there, and the
// program fetches that file before it connects.
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>

class FtpServer : public QObject {
    Q_OBJECT
public:
    struct Account {
        QByteArray user = "datalogger";
        QByteArray password = "secret";
    };

    explicit FtpServer(const Account& account, bool mute, QObject* parent = nullptr);

    bool listen(const QString& host, quint16 port, QString& error);
    quint16 port() const { return m_server.serverPort(); }
    // Serves content at path ("/dir/name"); the path is also found without its leading "/".
    void setFile(const QByteArray& path, const QByteArray& content);

    int logins() const { return m_logins; }
    int retrievals() const { return m_retrievals; }
    // Every command line received, passwords included (the tests read them).
    const QList<QByteArray>& commands() const { return m_commands; }

private:
    struct Client;
    void onNewConnection();
    void onLine(Client* c, const QByteArray& line);
    void passive(Client* c, bool extended);
    void retrieve(Client* c, const QByteArray& path);
    void sendPending(Client* c);
    const QByteArray* find(const QByteArray& path) const;

    QTcpServer m_server;
    Account m_account;
    bool m_mute;
    QHash<QByteArray, QByteArray> m_files;
    QList<QByteArray> m_commands;
    int m_logins = 0;
    int m_retrievals = 0;
};
