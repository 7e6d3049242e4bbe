// The console's memory capacity read, memory erase and datalogger reset.
#include "console/console_window.h"
#include "console/channels_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/settings.h"

#include <QLineEdit>

void ConsoleWindow::eraseMemory()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (dialogs_.confirm(
            QStringLiteral("Are you sure you want to delete all data?\r\nAll data will be lost."),
            QStringLiteral("Warning"))) {
        Settings::eraseMemory(link_);
        general->readMemory();
    }
}

// After "z" the datalogger is given 0.4 s before the console re-reads what the reset
// changed.
void ConsoleWindow::resetDatalogger()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (dialogs_.confirm(
            QStringLiteral("Are you sure you wanto to reset datalogger?\r\nAll data will be lost"),
            QStringLiteral("Warning"))) {
        Settings::resetDatalogger(link_);
        link_.pause(20);
        general->readMemory();
        link_.pause(20);
        channels->readChannels();
        link_.pause(20);
        timers->readTimer();
        link_.pause(20);
        general->readName();
        link_.pause(20);
        dateTime->readAcquisitionSwitch();
    }
}
