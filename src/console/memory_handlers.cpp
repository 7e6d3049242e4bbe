// The console's memory capacity read, memory erase and datalogger reset.
#include "console/console_window.h"
#include "console/timers_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"

#include <QLineEdit>


void ConsoleWindow::readMemory()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.sendCommand(QStringLiteral("H"), QStringLiteral("0,"));
    const QString channels = link_.readField();
    // A datalogger that did not answer has not said that it has no channels.
    if (channels == QLatin1String("%%"))
        return;
    if (Numbers::leadingNumber(channels) == 0) {
        dialogs_.inform(QStringLiteral("Please enable at least one channel!"),
                         QStringLiteral("Warning"));
    } else {
        link_.pause(50);
        const Health::MemoryState memory = Health::readMemoryState(link_);
        memoryTotalBox->setText(memory.fields[0]);
        memoryFreeBox->setText(memory.fields[1]);
    }
}

void ConsoleWindow::eraseMemory()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (dialogs_.confirm(
            QStringLiteral("Are you sure you want to delete all data?\r\nAll data will be lost."),
            QStringLiteral("Warning"))) {
        link_.sendCommand(QStringLiteral("b"), QString());
        link_.pause(20);
        readMemory();
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
        link_.sendCommand(QStringLiteral("z"), QString());
        link_.pause(20);
        link_.pause(20);
        readMemory();
        link_.pause(20);
        readChannels();
        link_.pause(20);
        timers->readTimer();
        link_.pause(20);
        readName();
        link_.pause(20);
        readAcquisitionSwitch();
    }
}
