// "Retry": the parameters read again with fixed-length replies, cut by position. Each
// wait is bounded; a reply that falls short ends the reading, keeping what was written.
#include "modem/modem_window.h"

#include "protocol/fixed_replies.h"
#include "widgets/console_door.h"
#include "data/conversions.h"
#include "link/link.h"

#include <QAction>
#include <QLineEdit>

namespace {

// Characters pos..pos+len-1 of a reply, counted from 1.
QString cut(const QString& reply, int pos, int len) { return reply.mid(pos - 1, len); }

QString plus2000(const QString& text) { return Numbers::shownNumber(Numbers::leadingNumber(text) + 2000); }

// Channels a datalogger can have: 16 on each of four multiplexers.
constexpr int maxChannels = 64;

} // namespace

void ModemWindow::retry()
{
    if (link_.busy() || inConnectedPhase_)
        return;
    emptyInput();
    showStatus(QStringLiteral("Trying again..."));
    readFixedReplies();
}

bool ModemWindow::fixedRead(const QString& command, int count, QString& reply)
{
    reply = link_.sendAndCollectOnPort(command, count);
    if (reply.size() >= count)
        return true;
    showStatus(QStringLiteral("Retry stopped: incomplete answer to ") + command);
    return false;
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

    QString r;
    if (!fixedRead(QStringLiteral("G"), 19, r))
        return false;
    values.clock = {cut(r, 1, 3).right(2), cut(r, 5, 3).right(2), plus2000(cut(r, 9, 3)),
                    cut(r, 13, 3).right(2), cut(r, 17, 3).right(2)};

    if (!fixedRead(QStringLiteral("C"), 12, r))
        return false;
    values.timer.emplace();
    for (int i = 0; i < 3; ++i)
        (*values.timer)[size_t(i)] = Numbers::shownNumber(Numbers::leadingNumber(cut(r, 1 + 4 * i, 3)));

    if (!fixedRead(QStringLiteral("E"), 5, r))
        return false;
    values.preheating = cut(r, 1, 5);

    link_.pause(50);
    if (!fixedRead(QStringLiteral("H"), 3, r))
        return false;
    const double channels = Numbers::leadingNumber(r);
    if (channels < 0 || channels > maxChannels) {
        showStatus(QStringLiteral("Retry stopped: no channel count in the answer to H"));
        return false;
    }
    const int n = int(channels);
    link_.pause(50);
    if (n != 0 && !fixedRead(QStringLiteral("H"), 4 * n + 4, r))
        return false;

    if (!fixedRead(QStringLiteral("Q"), 5, r))
        return false;
    values.name = cut(r, 1, 5);

    if (!fixedRead(QStringLiteral("N"), 20, r))
        return false;
    values.nextAcquisition = {cut(r, 2, 2), cut(r, 6, 2), plus2000(cut(r, 10, 2)), cut(r, 14, 2),
                              cut(r, 18, 2)};

    if (n != 0) {
        link_.pause(50);
        if (!fixedRead(QStringLiteral("M"), 12, r))
            return false;
        values.memory = {cut(r, 1, 5), cut(r, 7, 5)};
    }

    link_.pause(80);
    return fixedRead(QStringLiteral("T"), 3, r);
}
