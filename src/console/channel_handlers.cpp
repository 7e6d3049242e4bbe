// The console's channel count per multiplexer, as the datalogger model holds it, and the
// read of the events counted (on the " DATA ACQUISITION" page).
#include "console/console_window.h"

#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"

#include <QLineEdit>

int ConsoleWindow::channelCount(int m) const { return datalogger_.channelCount(m); }

void ConsoleWindow::readEventsCounter()
{
    if (link_.busy())
        return;
    eventsCounterBox->setText(Settings::readEventsCount(link_).fields[0]);
}
