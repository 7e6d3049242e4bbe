// The console's internet-connection switch (on the "GENERAL" page).
#include "console/console_window.h"

#include "data/conversions.h"
#include "link/link.h"
#include "protocol/settings.h"

#include <QCheckBox>
#include <QSignalBlocker>

// Every change of the box is written, a change made by a read included: the read that
// follows then finds the box unchanged and the round ends. A datalogger that keeps
// answering the opposite of what it was sent would make the rounds endless, so a change
// made inside a nested round is shown and not written again.
void ConsoleWindow::writeInternetSwitch()
{
    if (link_.busy()) {
        // An exchange is running: the box goes back to what the datalogger last said.
        const QSignalBlocker block(internetSwitchBox);
        internetSwitchBox->setChecked(!internetSwitchBox->isChecked());
        return;
    }
    if (internetSwitchRounds_ >= 2)
        return;
    ++internetSwitchRounds_;
    Settings::setInternetSwitch(link_, internetSwitchBox->isChecked());
    readInternetSwitch();
    --internetSwitchRounds_;
}

// A read that got no answer leaves the box alone: taking it for 0 would write "<0," and
// close the datalogger to internet connections.
void ConsoleWindow::readInternetSwitch()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QString field = Settings::readInternetSwitch(link_).fields[0];
    if (Protocol::isTimeoutMark(field))
        return;
    internetSwitchBox->setChecked(Numbers::leadingNumber(field) != 0);
}
