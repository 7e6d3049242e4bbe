// NewDataWindow's downloads: one on request, or one every so many minutes; the window's
// side of each download (its notices, its year, its buttons) and the pause after it.
#include "data/file_checks.h"
#include "measure/new_data_window.h"

#include "data/yearly_file.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "data/program_folder.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// The longest interval the countdown can hold.
constexpr int maxInterval = 32767;

} // namespace

void NewDataWindow::acquireNow() { download(); }

void NewDataWindow::download()
{
    // One download at a time, and none while another exchange waits for its reply.
    if (downloading_ || pausing_ || link_.busy())
        return;
    downloading_ = true;
    last_ = NewDataDownload::run(link_, *this);
    downloading_ = false;
}

void NewDataWindow::notice(const QString& text)
{
    noticeBox->setText(text);
    noticeBox->setVisible(!text.isEmpty());
}

// The year of the first download holds for the window's life. A year refused leaves the
// box open again for the operator to correct.
QString NewDataWindow::yearlyFile()
{
    yearBox->setEnabled(false);
    const QString text = yearBox->text();
    const QString title = QStringLiteral("Canceled");
    if (text.trimmed().isEmpty()) {
        dialogs_.inform(QStringLiteral("Insert a value for Year."), title);
        yearBox->setEnabled(true);
        return QString();
    }
    const std::optional<int> year = Numbers::isNumeric(text) ? YearlyFile::cleanNumber(text)
                                                                 : std::nullopt;
    if (!year) {
        dialogs_.inform(QStringLiteral("Insert a valid Year value."), title);
        yearBox->setEnabled(true);
        return QString();
    }
    yearBox->setText(QString::number(*year));
    return YearlyFile::path(programFolder_, *year);
}

bool NewDataWindow::fileInUse(const QString& path) { return FileChecks::fileInUse(dialogs_, path); }

void NewDataWindow::graphAvailable(bool available) { graphButton->setEnabled(available); }

void NewDataWindow::receiving()
{
    startButton->setEnabled(false);
    closeButton->setEnabled(false);
}

// The end of every download: DTR is already low; the datalogger is left to sleep a while.
void NewDataWindow::finish()
{
    waitForDtrTick();
    closeButton->setEnabled(!timerMode_);
    startButton->setEnabled(!timerMode_);
    graphButton->setEnabled(true);
    if (timerMode_)
        minuteTimer->start(timing_.minuteMs);
}

void NewDataWindow::acquireOnTimer()
{
    const QString text = intervalBox->text();
    if (text.trimmed().isEmpty()) {
        dialogs_.inform(QStringLiteral("Select a time interval (number of minutes)."));
        return;
    }
    const std::optional<int> minutes = Numbers::isNumeric(text) ? YearlyFile::cleanNumber(text)
                                                                    : std::nullopt;
    // An interval of 0 would never come round again.
    if (!minutes || *minutes < 1 || *minutes > maxInterval) {
        dialogs_.inform(QStringLiteral("Select a valid time interval."));
        return;
    }
    interval_ = minutesLeft_ = *minutes;
    for (QWidget* w : {static_cast<QWidget*>(intervalBox), static_cast<QWidget*>(timerButton),
                       static_cast<QWidget*>(startButton), static_cast<QWidget*>(closeButton)})
        w->setEnabled(false);
    stopTimerButton->setEnabled(true);
    countdownBox->setText(QStringLiteral("0"));
    timerMode_ = true;
    download();
    countdownBox->setText(QString::number(interval_));
    intervalBox->setEnabled(true);
}

// A minute has passed. A download that comes due while another exchange runs waits for
// the next tick that finds the link free.
void NewDataWindow::minutePassed()
{
    if (minutesLeft_ > 0)
        --minutesLeft_;
    countdownBox->setText(QString::number(minutesLeft_));
    if (minutesLeft_ > 0 || downloading_ || pausing_ || link_.busy())
        return;
    download();
    minutesLeft_ = interval_;
    countdownBox->setText(QString::number(minutesLeft_));
}

void NewDataWindow::stopTimerAcquisition()
{
    countdownBox->setText(QStringLiteral("---"));
    timerButton->setEnabled(true);
    intervalBox->setEnabled(true);
    stopTimerButton->setEnabled(false);
    minuteTimer->stop();
    minutesLeft_ = YearlyFile::cleanNumber(intervalBox->text()).value_or(0);
    timerMode_ = false;
    // A download in progress enables them itself when it ends.
    if (!downloading_ && !pausing_) {
        startButton->setEnabled(true);
        closeButton->setEnabled(true);
    }
}
