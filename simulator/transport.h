// One way bytes reach the datalogger and leave it: a pseudo-terminal or a TCP connection.
#pragma once

#include <QByteArray>
#include <QObject>

class Transport : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual void send(const QByteArray& bytes) = 0;
    virtual void drop() = 0;               // the link goes dead, as a pulled cable does
    virtual bool isTcp() const = 0;
    virtual int pendingBytes() const = 0;  // accepted by send() but not yet written

signals:
    void received(const QByteArray& bytes);
    void peerConnected();
    void peerDisconnected();
};
