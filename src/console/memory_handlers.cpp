// The console's memory capacity read, memory erase and datalogger reset.
#include "console/console_window.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"

#include <QLineEdit>

using namespace Exchange;

void ConsoleWindow::readMemory()
{
    if (linkBusy())
        return;
    CommandLock lock;
    sendCommand(QStringLiteral("H"), QStringLiteral("0,"));
    const QString channels = readField();
    // A datalogger that did not answer has not said that it has no channels.
    if (channels == QLatin1String("%%"))
        return;
    if (Numbers::leadingNumber(channels) == 0) {
        dialogs().inform(QStringLiteral("Please enable at least one channel!"),
                         QStringLiteral("Warning"));
    } else {
        pause(50);
        sendCommand(QStringLiteral("M"), QStringLiteral(","));
        memoryTotalBox->setText(readField());
        memoryFreeBox->setText(readField());
    }
}

void ConsoleWindow::eraseMemory()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (dialogs().confirm(
            QStringLiteral("Are you sure you want to delete all data?\r\nAll data will be lost."),
            QStringLiteral("Warning"))) {
        sendCommand(QStringLiteral("b"), QString());
        pause(20);
        readMemory();
    }
}

// After "z" the datalogger is given 0.4 s before the console re-reads what the reset
// changed.
void ConsoleWindow::resetDatalogger()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (dialogs().confirm(
            QStringLiteral("Are you sure you wanto to reset datalogger?\r\nAll data will be lost"),
            QStringLiteral("Warning"))) {
        sendCommand(QStringLiteral("z"), QString());
        pause(20);
        pause(20);
        readMemory();
        pause(20);
        readChannels();
        pause(20);
        readTimer();
        pause(20);
        readName();
        pause(20);
        readAcquisitionSwitch();
    }
}
