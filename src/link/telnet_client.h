// TelnetClient: a minimal telnet client over a TCP socket; strips telnet commands
// from the stream, answers option negotiation and hands the remaining data to its owner.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QQueue>
#include <QString>
#include <QStringList>

class QTcpSocket;

class TelnetClient : public QObject {
    Q_OBJECT
    Q_PROPERTY(int LocalPort READ LocalPort WRITE setLocalPort)
    Q_PROPERTY(QString RemoteHost READ RemoteHost WRITE setRemoteHost)
    Q_PROPERTY(QString RemoteHostIP READ RemoteHostIP)
    Q_PROPERTY(int RemotePort READ RemotePort WRITE setRemotePort)
    Q_PROPERTY(QString TermType READ TermType WRITE setTermType)

public:
    // Sets SO_OOBINLINE on a socket descriptor; returns 0 or the system's error number.
    // A test hands in a failing one to exercise the failure path.
    using SocketOptionSetter = int (*)(qintptr descriptor);
    static int setOobInline(qintptr descriptor);

    explicit TelnetClient(QObject* parent = nullptr, SocketOptionSetter optionSetter = setOobInline);
    ~TelnetClient() override;

    int LocalPort() const;
    void setLocalPort(int port);
    QString RemoteHost() const;
    void setRemoteHost(const QString& host);
    QString RemoteHostIP() const;
    int RemotePort() const;
    void setRemotePort(int port);
    QString TermType() const;
    void setTermType(const QString& types);

    void Connect(const QString& host, int port);
    void Disconnect();
    void Echo(bool on);
    // Returns the data received so far (telnet commands removed) and empties it.
    QByteArray GetData();
    // Writes data unchanged; on error returns false and keeps the error text in
    // sendError() for the caller to show.
    bool SendData(const QByteArray& data);
    QString sendError() const;

    bool isConnected() const;

    // Answers to the host's negotiation wait in the socket while the host does not read
    // them; beyond this many unsent bytes further answers are dropped, so that a host
    // that never reads cannot make the client hold more.
    static constexpr qint64 UnsentAnswerLimit = 64 * 1024;
    // Bytes written to the socket that have not left yet.
    qint64 unsentBytes() const;

signals:
    void Connected();
    void DataArrival();
    void Closed();
    void Error(qint32 number, const QString& description);

private:
    struct Private;
    Private* d;
};
