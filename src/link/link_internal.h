// What the link routines share among themselves and do not offer to the windows.
#pragma once

#include "link/modulo1.h"

class QElapsedTimer;

namespace Modulo1 {

// How long a wait sleeps in the event loop between looks at the input.
constexpr int pollMs = 20;

void sleepUntil(const QElapsedTimer& since, qint64 ms);  // no event is serviced
void pullInput();          // appends what the link has received to the receive buffer
bool serialLink();
void openForExchange();    // opens the serial port when it is not held open
void closeAfterExchange(); // and closes it again

} // namespace Modulo1
