// The console's way into the continuous reading.
#include "console/console_window.h"

#include "measure/continuous_reading_window.h"

void ConsoleWindow::openContinuousReading() { ContinuousReadingWindow::open(services_, 0); }
