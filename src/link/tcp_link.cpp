// Connecting the exchange path to the datalogger's address over the telnet client.
#include "link/link_internal.h"

#include "link/telnet_tty_client.h"

namespace Modulo1 {

void Connetti_TCP(const QString& host)
{
    TelnetTTYClient* client = telnet();
    if (!client)
        return;
    const quint16 dataloggerPort = link().dataloggerTcpPort;
    client->setRemoteHost(host);
    client->setRemotePort(dataloggerPort);
    client->setLocalPort(dataloggerPort);
    client->Connect(host, dataloggerPort);
}

void Disconnetti_TCP()
{
    if (TelnetTTYClient* client = telnet())
        client->Disconnect();
}

} // namespace Modulo1
