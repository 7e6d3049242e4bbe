// Connecting the exchange path to the datalogger's address over the telnet client.
#include "link/link_internal.h"

#include "link/telnet_client.h"

namespace Exchange {

void connectTcp(const QString& host)
{
    TelnetClient* client = telnet();
    if (!client)
        return;
    const quint16 dataloggerPort = link().dataloggerTcpPort;
    client->setRemoteHost(host);
    client->setRemotePort(dataloggerPort);
    client->setLocalPort(dataloggerPort);
    client->Connect(host, dataloggerPort);
}

void disconnectTcp()
{
    if (TelnetClient* client = telnet())
        client->Disconnect();
}

} // namespace Exchange
