// The internet window's poll and connected phase: the datalogger's first data shows that
// the connection is up; a few parameters are read into the console, which takes over.
#include "modem/internet_window.h"

#include "console/console_window.h"
#include "link/arrival_preview.h"
#include "link/dialogs.h"
#include "link/link_transport.h"
#include "link/exchange.h"
#include "link/read_sequence.h"
#include "modem/console_hand_over.h"
#include "widgets/switch_box.h"

#include <QAction>

using Exchange::ReadStep;

// Any data counts as the connection being up; the first two characters (a modem's
// CR LF) are not shown, and of the rest only the start of its first line: a peer may
// send anything, and a status box given megabytes on one line freezes the window. A
// datalogger that sends nothing within the field time-out ends the attempt.
void InternetWindow::poll()
{
    LinkTransport* t = Exchange::transport();
    if (inConnectedPhase_ || Exchange::linkBusy() || !t || !t->rules().tcp)
        return;
    lastArrival = QString::fromLatin1(t->takeAll());
    if (lastArrival.isEmpty()) {
        const int timeoutMs = Exchange::link().fieldTimeoutMs;
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
    Exchange::discardUntilQuiet(200, 2000);
    const bool read = !stopRequested_ && readParameters();
    if (read && !stopRequested_) {
        handOverToConsole(this, console_);
        dialogs().inform(establishedMessage(), QStringLiteral("WARNING"), Dialogs::Icon::Warning);
    }
    if (stopRequested_) {
        Exchange::abandonExchanges(false);
        showStatus(QStringLiteral("Internet connection closed"));
    }
    inConnectedPhase_ = false;
}

// The name, the model and the acquisition status; everything else is read by the
// operator with the console's Read buttons. A command that cannot be sent shows "Error"
// and ends the phase; so does a datalogger that does not answer.
bool InternetWindow::readParameters()
{
    ConsoleWindow* f = console_;
    bool sendFailed = false;
    const QList<ReadStep> steps = {
        {[f] { f->readName(); }, QStringLiteral("Datalogger Name"), 0},
        {[f, &sendFailed] {
             bool sent = true;
             if (Exchange::readModelCode(&sent) == 0)
                 presentAnalogModel(f, QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                    QStringLiteral("Acquire Data"));
             sendFailed = !sent;
         },
         QStringLiteral("Modello Datalogger"), 0},
        {[f, &sendFailed] {
             sendFailed = !Exchange::sendCommand(QStringLiteral("O"), QString());
             if (!sendFailed)
                 f->acquisitionSwitch->showField(Exchange::readField());
         },
         QStringLiteral("Acquisition status"), 0},
    };
    const auto show = [this, &sendFailed](const QString& text) {
        if (!stopRequested_)
            showStatus(sendFailed ? QStringLiteral("Error") : text);
    };
    for (const ReadStep& step : steps) {
        const Exchange::SequenceEnd end = Exchange::runReadSequence({step}, show);
        if (stopRequested_ || sendFailed)
            return false;
        if (end == Exchange::SequenceEnd::Silent) {
            showStatus(Exchange::silentDataloggerMessage());
            return false;
        }
    }
    f->readInternetSwitch();
    return true;
}
