// TelnetLink: the telnet client as a link transport: command and values in one block,
// no pauses, the "S2" search at the end of the text, and the peer's close noticed.
#pragma once

#include "link/link_transport.h"

#include <QObject>

class TelnetClient;

class TelnetLink : public QObject, public LinkTransport {
    Q_OBJECT
public:
    // Lives as a child of the client it drives.
    explicit TelnetLink(TelnetClient* client);

    Rules rules() const override { return tcpRules; }
    // The connection is made by connectTcp; opening only reports whether it is up.
    bool open() override;
    void close() override;
    bool isOpen() const override;
    bool write(const QByteArray& bytes) override;
    int bytesAvailable() override;
    QByteArray takeAll() override;
    void discardInput() override;
    QString errorText() const override { return error_; }

private:
    TelnetClient* client_;
    QByteArray pending_;  // taken from the client by bytesAvailable, not yet by takeAll
    QString error_;
};
