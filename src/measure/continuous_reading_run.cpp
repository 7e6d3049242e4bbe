// ContinuousReadingWindow's run: the channel count, the file, the readings one after the other, and
// the three ways a run ends (stopped, a reading timed out, a failure).
#include "measure/continuous_reading_window.h"

#include "charts/live_chart_window.h"
#include "data/continuous_file.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link_transport.h"
#include "data/file_checks.h"
#include "link/link.h"
#include "data/program_folder.h"
#include "measure/readings_model.h"
#include "protocol/readings.h"

#include <QDateTime>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

namespace {

// Column widths in pixels: the date column holds a reading time, a channel a value.
constexpr int dateColumnWidth = 120;
constexpr int channelColumnWidth = 67;

bool linkLost(Link& link)
{
    LinkTransport* t = link.transport();
    return t && t->lost();
}

} // namespace

void ContinuousReadingWindow::start()
{
    // Another exchange is waiting for its reply: this one must not interleave with it.
    if (running_ || link_.busy())
        return;
    Link::CommandLock lock(link_);  // the console stays locked for the whole run
    running_ = true;
    timeoutSeen_ = false;
    fileOpen_ = false;
    path_.clear();

    showNotice(QStringLiteral("Commnicating with datalogger..."));
    const Readings::ChannelCount asked = Readings::readChannelCount(link_);
    if (!asked.sent) {
        hideNotice();
        finishRun(End::Broken);  // the link has said why
        return;
    }
    const std::optional<int> count = asked.count;
    if (!count) {
        // No answer, or not a channel count: reading that many channels would only
        // collect time-outs.
        hideNotice();
        dialogs_.inform(QStringLiteral("Connection error."));
        closeButton->setEnabled(true);
        running_ = false;
        return;
    }
    if (*count == 0) {
        dialogs_.inform(QStringLiteral("At least 1 channel must be enabled."),
                         QStringLiteral("Canceled"));
        showNotice(QStringLiteral("Canceled"));
        graphButton->setEnabled(false);
        stopButton->setEnabled(false);
        stopRequest_ = true;
        running_ = false;
        return;
    }
    channels_ = qint16(*count);
    const bool graphWas = graphButton->isEnabled();
    graphButton->setEnabled(true);
    if (!chooseFile()) {
        hideNotice();
        graphButton->setEnabled(graphWas);
        running_ = false;
        return;
    }
    runReadings(channels_);
    running_ = false;
}

// The save dialog, the check that no other program holds the file, and its creation.
bool ContinuousReadingWindow::chooseFile()
{
    const QString proposed =
        joinPath(programFolder_, ContinuousFile::name(QDateTime::currentDateTime()));
    const QString path =
        dialogs_.saveFileName(QStringLiteral("Save As"), proposed, QStringLiteral("*.txt"));
    // The console may have been closed while the dialog was open.
    if (path.isEmpty() || link_.exchangesAbandoned())
        return false;
    if (FileChecks::fileInUse(dialogs_, path)) {
        dialogs_.inform(QStringLiteral("The file %1 is in use by another program: the continuous "
                                        "reading was not started.").arg(path),
                         QStringLiteral("Continuous reading"), Dialogs::Icon::Warning);
        return false;
    }
    FileChecks::deleteFile(path);
    QString error;
    if (!ContinuousFile::create(path, &error)) {
        dialogs_.inform(QStringLiteral("The file %1 could not be created: %2").arg(path, error),
                         QStringLiteral("Continuous reading"), Dialogs::Icon::Warning);
        return false;
    }
    path_ = path;
    fileOpen_ = true;
    return true;
}

bool ContinuousReadingWindow::append(const QString& line)
{
    return ContinuousFile::appendLine(path_, line, &writeError_);
}

void ContinuousReadingWindow::runReadings(int channels)
{
    startButton->setEnabled(false);
    closeButton->setEnabled(false);
    stopButton->setEnabled(true);
    hideNotice();

    QStringList titles{QStringLiteral("Date")};
    for (int c = 0; c < channels; ++c)
        titles << QStringLiteral("CH %1").arg(c);
    model_->reset(titles);
    model_->appendRow();
    // Wide enough for the date and time on one line whatever the font.
    const int dateWidth = tableView->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00:00:00")) + 16;
    tableView->setColumnWidth(0, std::max(dateColumnWidth, dateWidth));
    for (int c = 1; c <= channels; ++c)
        tableView->setColumnWidth(c, channelColumnWidth);

    if (!append(ContinuousFile::startMarker) || !append(ContinuousFile::joinRow(titles))) {
        finishRun(End::Broken, writeError_);
        return;
    }
    stopRequest_ = false;
    while (!stopRequest_) {
        if (!readOnce(channels))
            return;
    }
    noticeBox->clear();
    hideNotice();
    if (!append(ContinuousFile::endMarker)) {
        finishRun(End::Broken, writeError_);
        return;
    }
    finishRun(End::Normal);
}

// One reading into the last row; false when the run has ended.
bool ContinuousReadingWindow::readOnce(int channels)
{
    link_.serviceUi();  // "Stop" and "Graph" are taken here
    const int r = table_.last();
    // A console closed in the middle of a reading cuts it short: what it read is not a
    // reading and is neither shown nor written.
    const auto abandoned = [&] {
        if (!link_.exchangesAbandoned())
            return false;
        model_->removeLastRow();
        finishRun(End::Broken);
        return true;
    };
    if (abandoned())
        return false;
    model_->setCell(r, 0, ContinuousFile::readingTime(QDateTime::currentDateTime()));
    const Readings::Row row = Readings::readRow(link_, mux, channels);
    if (!row.sent) {
        if (abandoned())
            return false;
        model_->removeLastRow();
        finishRun(End::Broken);  // the link has said why
        return false;
    }
    for (int c = 1; c <= channels; ++c) {
        const QString& value = row.values[c - 1];
        model_->setCell(r, c, Protocol::isTimeoutMark(value) ? QStringLiteral("Timeout") : value);
    }
    if (row.timedOut) {
        timeoutSeen_ = true;
        stopRequest_ = true;
    }
    if (abandoned())
        return false;
    const bool lost = linkLost(link_);
    redrawChart();
    if (!stopRequest_)
        model_->appendRow();
    tableView->scrollToBottom();
    if (!append(ContinuousFile::joinRow(table_.row(r)))) {
        finishRun(End::Broken, writeError_);
        return false;
    }
    if (lost) {
        // The link has told the operator; the file says the run did not end normally.
        finishRun(End::Broken);
        return false;
    }
    return true;
}

// Back to idle. A broken run's file gets both end markers, and the failure its box.
void ContinuousReadingWindow::finishRun(End end, const QString& description)
{
    if (end == End::Broken && fileOpen_) {
        append(ContinuousFile::endMarker);
        append(ContinuousFile::brokenMarker);
    }
    fileOpen_ = false;
    if (end == End::Broken && !description.isEmpty())
        dialogs_.inform(description);
    closeButton->setEnabled(true);
    startButton->setEnabled(true);
    graphButton->setEnabled(!liveChart_ && table_.columnCount() > 1);
    stopButton->setEnabled(false);
    running_ = false;
}
