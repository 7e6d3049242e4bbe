// The console's channel count per multiplexer, as the datalogger model holds it.
#include "console/console_window.h"

#include "protocol/datalogger_model.h"

int ConsoleWindow::channelCount(int m) const { return datalogger_.channelCount(m); }
