// "Retry": the parameters read again with fixed-length replies, and the hand-over to the
// console once they came whole.
#include "modem/modem_window.h"

#include "protocol/fixed_replies.h"
#include "widgets/console_door.h"
#include "link/link.h"

#include <QAction>
#include <QLineEdit>

void ModemWindow::retry()
{
    if (link_.busy() || inConnectedPhase_)
        return;
    emptyInput();
    showStatus(QStringLiteral("Trying again..."));
    readFixedReplies();
}

bool ModemWindow::readFixedReplies()
{
    Link::CommandLock lock(link_);
    FixedReplies values;
    const bool whole = readFixedReplies(values);
    console_->showFixedReplies(values);
    if (!whole)
        return false;
    if (QWidget* start = startWindow()) {
        start->hide();
        start->setEnabled(false);
    }
    console_->showAfterConnection(this);
    return true;
}

bool ModemWindow::readFixedReplies(FixedReplies& values)
{
    pollTimer->stop();
    link_.pause(700);
    emptyInput();
    pollTimer->stop();
    const QString stopped = FixedLength::read(link_, values);
    if (!stopped.isEmpty())
        showStatus(stopped);
    return stopped.isEmpty();
}
