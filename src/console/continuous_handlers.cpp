// The console's way into the continuous reading.
#include "console/console_window.h"

#include "measure/continuous_reading_window.h"

ContinuousReadingWindow* ConsoleWindow::continuousWindow() const { return continuousWindow_.data(); }

void ConsoleWindow::openContinuousReading()
{
    continuousWindow_ = ContinuousReadingWindow::open(services_, 0, continuousWindow_.data());
}
