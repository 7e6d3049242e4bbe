// The start window's status texts for the serial layer's error numbers.
#pragma once

#include <QString>

// The status text for a serial error number during "Step-by-step connection", or an
// empty text when the number leaves the status line as it is.
QString serialErrorStatus(int errorNumber);
