// The telnet client driven as a link transport.
#include "link/telnet_link.h"

#include "link/telnet_client.h"

TelnetLink::TelnetLink(TelnetClient* client) : QObject(client), client_(client)
{
    setObjectName(QStringLiteral("TelnetLink"));
    connect(client, &TelnetClient::Connected, this, [this] { clearLoss(); });
    connect(client, &TelnetClient::Closed, this, [this] {
        markLost(QStringLiteral("The datalogger closed the internet connection."));
    });
}

bool TelnetLink::open() { return client_->isConnected(); }

void TelnetLink::close()
{
    pending_.clear();
    client_->Disconnect();
}

// Data the client has already taken from the socket is readable even after the peer
// closed, so that the last reply before a close is not lost.
bool TelnetLink::isOpen() const { return true; }

bool TelnetLink::write(const QByteArray& bytes)
{
    const bool sent = client_->SendData(bytes);
    error_ = sent ? QString() : client_->sendError();
    return sent;
}

int TelnetLink::bytesAvailable()
{
    pending_.append(client_->GetData());
    return int(pending_.size());
}

QByteArray TelnetLink::takeAll()
{
    QByteArray out;
    out.swap(pending_);
    out.append(client_->GetData());
    return out;
}

void TelnetLink::discardInput() { takeAll(); }
