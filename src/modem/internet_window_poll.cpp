// The internet window's poll and connected phase: the datalogger's first data shows that
// the connection is up; a few parameters are read into the console, which takes over.
#include "modem/internet_window.h"

#include "widgets/console_door.h"
#include "link/arrival_preview.h"
#include "data/dialogs.h"
#include "link/link_transport.h"
#include "link/link.h"
#include "widgets/refused_model_code.h"
#include "protocol/datalogger_model.h"
#include "protocol/read_sequence.h"
#include "widgets/switch_box.h"

#include <QAction>

using ReadSequence::Step;

// Any data counts as the connection being up; the first two characters (a modem's
// CR LF) are not shown, and of the rest only the start of its first line: a peer may
// send anything, and a status box given megabytes on one line freezes the window. A
// datalogger that sends nothing within the field time-out ends the attempt.
void InternetWindow::poll()
{
    LinkTransport* t = link_.transport();
    if (inConnectedPhase_ || link_.busy() || !t || !t->rules().tcp)
        return;
    lastArrival = QString::fromLatin1(t->takeAll());
    if (lastArrival.isEmpty()) {
        const int timeoutMs = link_.settings().fieldTimeoutMs;
        if (waitingSince_.isValid() && waitingSince_.elapsed() >= timeoutMs)
            endAttempt(noDataMessage(timeoutMs));
        return;
    }
    showStatus(ArrivalPreview::firstLine(lastArrival.mid(2)));
    connectedPhase();
}

void InternetWindow::connectedPhase()
{
    inConnectedPhase_ = true;
    stopRequested_ = false;
    retryAction->setEnabled(true);
    showStatus(QStringLiteral("LV210 CONNECTED VIA INTERNET"));
    save();
    pollTimer->stop();
    // The rest of a greeting that arrived in pieces must not be taken for a reply.
    link_.discardUntilQuiet(200, 2000);
    const bool read = !stopRequested_ && readParameters();
    if (read && !stopRequested_) {
        console_->handOver(this, RowColour);
        dialogs_.inform(establishedMessage(), QStringLiteral("WARNING"), Dialogs::Icon::Warning);
    }
    if (stopRequested_) {
        link_.abandonExchanges(false);
        showStatus(QStringLiteral("Internet connection closed"));
    }
    inConnectedPhase_ = false;
}

// The name, the model and the acquisition status; everything else is read by the
// operator with the console's Read buttons. A command that cannot be sent shows "Error"
// and ends the phase; so does a datalogger that does not answer.
bool InternetWindow::readParameters()
{
    ConsoleDoor* f = console_;
    bool sendFailed = false;
    const QList<Step> steps = {
        {[f] { f->read(ConsoleDoor::Read::Name); }, QStringLiteral("Datalogger Name"), 0},
        {[this, f, &sendFailed] {
             const ReadSequence::ModelCode read = ReadSequence::readModelCode(link_, datalogger_);
             tellRefusedModelCode(dialogs_, read);
             if (read.code == 0)
                 f->presentAnalogModel(QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                       QStringLiteral("Acquire Data"));
             sendFailed = !read.sent;
         },
         QStringLiteral("Modello Datalogger"), 0},
        {[this, f, &sendFailed] {
             const Protocol::Reply acquisition = ReadSequence::readAcquisition(link_, false);
             sendFailed = acquisition.fields.isEmpty();
             if (!sendFailed)
                 f->showAcquisitionField(acquisition.fields[0]);
         },
         QStringLiteral("Acquisition status"), 0},
    };
    const auto show = [this, &sendFailed](const QString& text) {
        if (!stopRequested_)
            showStatus(sendFailed ? QStringLiteral("Error") : text);
    };
    for (const Step& step : steps) {
        const ReadSequence::End end = ReadSequence::run(link_, {step}, show);
        if (stopRequested_ || sendFailed)
            return false;
        if (end == ReadSequence::End::Silent) {
            showStatus(ReadSequence::silentDataloggerMessage());
            return false;
        }
    }
    f->read(ConsoleDoor::Read::InternetSwitch);
    return true;
}
