// The internet window's poll and connected phase: the datalogger's first data shows that
// the connection is up; a few parameters are read into the console, which takes over.
#include "modem/modem_tcp.h"

#include "console/form1.h"
#include "link/arrival_preview.h"
#include "link/dialogs.h"
#include "link/link_transport.h"
#include "link/modulo1.h"
#include "link/read_sequence.h"
#include "modem/console_hand_over.h"
#include "widgets/switch_box.h"

#include <QAction>

using Modulo1::ReadStep;

// Any data counts as the connection being up; the first two characters (a modem's
// CR LF) are not shown, and of the rest only the start of its first line: a peer may
// send anything, and a status box given megabytes on one line freezes the window. A
// datalogger that sends nothing within the field time-out ends the attempt.
void ModemTCP::Timer1_Timer()
{
    LinkTransport* t = Modulo1::transport();
    if (inConnectedPhase_ || Modulo1::linkBusy() || !t || !t->rules().tcp)
        return;
    fittizio = QString::fromLatin1(t->takeAll());
    if (fittizio.isEmpty()) {
        const int timeoutMs = Modulo1::link().fieldTimeoutMs;
        if (waitingSince_.isValid() && waitingSince_.elapsed() >= timeoutMs)
            endAttempt(noDataMessage(timeoutMs));
        return;
    }
    showStatus(ArrivalPreview::firstLine(fittizio.mid(2)));
    connectedPhase();
}

void ModemTCP::connectedPhase()
{
    inConnectedPhase_ = true;
    stopRequested_ = false;
    Riprova->setEnabled(true);
    showStatus(QStringLiteral("LV210 CONNECTED VIA INTERNET"));
    Salva_Click();
    Timer1->stop();
    // The rest of a greeting that arrived in pieces must not be taken for a reply.
    Modulo1::discardUntilQuiet(200, 2000);
    const bool read = !stopRequested_ && readParameters();
    if (read && !stopRequested_) {
        handOverToConsole(this, console_);
        dialogs().inform(establishedMessage(), QStringLiteral("WARNING"), Dialogs::Icon::Warning);
    }
    if (stopRequested_) {
        Modulo1::abandonExchanges(false);
        showStatus(QStringLiteral("Internet connection closed"));
    }
    inConnectedPhase_ = false;
}

// The name, the model and the acquisition status; everything else is read by the
// operator with the console's Read buttons. A command that cannot be sent shows "Error"
// and ends the phase; so does a datalogger that does not answer.
bool ModemTCP::readParameters()
{
    Form1* f = console_;
    bool sendFailed = false;
    const QList<ReadStep> steps = {
        {[f] { f->leggi_nome_Click(); }, QStringLiteral("Datalogger Name"), 0},
        {[f, &sendFailed] {
             bool sent = true;
             if (Modulo1::readModelCode(&sent) == 0)
                 presentAnalogModel(f, QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"),
                                    QStringLiteral("Acquire Data"));
             sendFailed = !sent;
         },
         QStringLiteral("Modello Datalogger"), 0},
        {[f, &sendFailed] {
             sendFailed = !Modulo1::Invia_Comando(QStringLiteral("O"), QString());
             if (!sendFailed)
                 f->data_logging->showField(Modulo1::Leggi_Campo());
         },
         QStringLiteral("Acquisition status"), 0},
    };
    const auto show = [this, &sendFailed](const QString& text) {
        if (!stopRequested_)
            showStatus(sendFailed ? QStringLiteral("Error") : text);
    };
    for (const ReadStep& step : steps) {
        const Modulo1::SequenceEnd end = Modulo1::runReadSequence({step}, show);
        if (stopRequested_ || sendFailed)
            return false;
        if (end == Modulo1::SequenceEnd::Silent) {
            showStatus(Modulo1::silentDataloggerMessage());
            return false;
        }
    }
    f->cmdWebLeggi_Click();
    return true;
}
