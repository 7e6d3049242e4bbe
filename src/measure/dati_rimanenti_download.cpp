// DatiRimanenti's downloads: one on request, or one every so many minutes; the window's
// side of each download (its notices, its year, its buttons) and the pause after it.
#include "measure/dati_rimanenti.h"

#include "data/yearly_file.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "link/program_folder.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

// The longest interval the countdown can hold.
constexpr int maxInterval = 32767;

} // namespace

void DatiRimanenti::cmdStart_Click() { recupero_dati(); }

void DatiRimanenti::recupero_dati()
{
    // One download at a time, and none while another exchange waits for its reply.
    if (downloading_ || pausing_ || Modulo1::linkBusy())
        return;
    downloading_ = true;
    last_ = RemainingDownload::run(*this);
    downloading_ = false;
}

void DatiRimanenti::notice(const QString& text)
{
    txtAvviso->setText(text);
    txtAvviso->setVisible(!text.isEmpty());
}

// The year of the first download holds for the window's life. A year refused leaves the
// box open again for the operator to correct.
QString DatiRimanenti::yearlyFile()
{
    txtAnno->setEnabled(false);
    const QString text = txtAnno->text();
    const QString title = QStringLiteral("Canceled");
    if (text.trimmed().isEmpty()) {
        dialogs().inform(QStringLiteral("Insert a value for Year."), title);
        txtAnno->setEnabled(true);
        return QString();
    }
    const std::optional<int> year = Conversioni::IsNumeric(text) ? YearlyFile::cleanNumber(text)
                                                                 : std::nullopt;
    if (!year) {
        dialogs().inform(QStringLiteral("Insert a valid Year value."), title);
        txtAnno->setEnabled(true);
        return QString();
    }
    txtAnno->setText(QString::number(*year));
    return YearlyFile::path(ProgramFolder::path(), *year);
}

void DatiRimanenti::graphAvailable(bool available) { cmdGraf->setEnabled(available); }

void DatiRimanenti::receiving()
{
    cmdStart->setEnabled(false);
    cmdChiudi->setEnabled(false);
}

// finisci_recupero_dati: DTR is already low; the datalogger is left to sleep a while.
void DatiRimanenti::finish()
{
    waitForDtrTick();
    cmdChiudi->setEnabled(!timerMode_);
    cmdStart->setEnabled(!timerMode_);
    cmdGraf->setEnabled(true);
    if (timerMode_)
        Timer1->start(timing().minuteMs);
}

void DatiRimanenti::cmdTimer_Click()
{
    const QString text = txtTimer->text();
    if (text.trimmed().isEmpty()) {
        dialogs().inform(QStringLiteral("Select a time interval (number of minutes)."));
        return;
    }
    const std::optional<int> minutes = Conversioni::IsNumeric(text) ? YearlyFile::cleanNumber(text)
                                                                    : std::nullopt;
    // An interval of 0 would never come round again.
    if (!minutes || *minutes < 1 || *minutes > maxInterval) {
        dialogs().inform(QStringLiteral("Select a valid time interval."));
        return;
    }
    interval_ = minutesLeft_ = *minutes;
    for (QWidget* w : {static_cast<QWidget*>(txtTimer), static_cast<QWidget*>(cmdTimer),
                       static_cast<QWidget*>(cmdStart), static_cast<QWidget*>(cmdChiudi)})
        w->setEnabled(false);
    cmdFermaTimer->setEnabled(true);
    txtProssimo->setText(QStringLiteral("0"));
    timerMode_ = true;
    recupero_dati();
    txtProssimo->setText(QString::number(interval_));
    txtTimer->setEnabled(true);
}

// A minute has passed. A download that comes due while another exchange runs waits for
// the next tick that finds the link free.
void DatiRimanenti::Timer1_Timer()
{
    if (minutesLeft_ > 0)
        --minutesLeft_;
    txtProssimo->setText(QString::number(minutesLeft_));
    if (minutesLeft_ > 0 || downloading_ || pausing_ || Modulo1::linkBusy())
        return;
    recupero_dati();
    minutesLeft_ = interval_;
    txtProssimo->setText(QString::number(minutesLeft_));
}

void DatiRimanenti::cmdFermaTimer_Click()
{
    txtProssimo->setText(QStringLiteral("---"));
    cmdTimer->setEnabled(true);
    txtTimer->setEnabled(true);
    cmdFermaTimer->setEnabled(false);
    Timer1->stop();
    minutesLeft_ = YearlyFile::cleanNumber(txtTimer->text()).value_or(0);
    timerMode_ = false;
    // A download in progress enables them itself when it ends.
    if (!downloading_ && !pausing_) {
        cmdStart->setEnabled(true);
        cmdChiudi->setEnabled(true);
    }
}
