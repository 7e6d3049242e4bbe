// What the link routines share among themselves and do not offer to the windows.
#pragma once

#include "link/link_transport.h"
#include "link/exchange.h"

class QElapsedTimer;

namespace Exchange {

// How long a wait sleeps in the event loop between looks at the input.
constexpr int pollMs = 20;

void sleepUntil(const QElapsedTimer& since, qint64 ms);  // no event is serviced
// Appends what the transport has received to the receive buffer.
void pullInput(LinkTransport* t);
// The transport is opened and closed around this exchange (a serial port not held open).
bool opensPerExchange(const LinkTransport* t);
// A loss of the link noticed by a routine: reported to the operator once per loss.
void reportLoss(LinkTransport* t);
// A transport error the operator must see (the routines' own messages).
void reportError(const QString& text);

} // namespace Exchange
