// The console's GPRS and FTP settings and the internet-connection switch.
#include "console/form1.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "widgets/unsendable.h"
#include "widgets/box_colours.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

using namespace Modulo1;

namespace {
// How deep the internet switch's write-and-read rounds are nested (see chkWebAbilita_Click).
int webRounds = 0;
} // namespace

void Form1::LeggiGPRS_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("K"), QString());
    for (QLineEdit* box : GPRS)
        box->setText(Leggi_Campo());
    for (QLineEdit* box : GPRS)
        setBoxColour(box, BoxColour::Yellow);
}

// Each box is trimmed in place before its text goes out.
void Form1::ScriviGPRS_Click()
{
    if (linkBusy())
        return;
    for (int i = 0; i < 10; ++i) {
        const QString reason = unsendableReason(GPRSLABEL[i]->text(), GPRS[i]->text().trimmed());
        if (!reason.isEmpty()) {
            dialogs().inform(refusalMessage(reason), QStringLiteral("Warning"));
            return;
        }
    }
    QStringList values;
    for (QLineEdit* box : GPRS) {
        box->setText(box->text().trimmed());
        values << box->text();
    }
    link().OutgoingValues = Conversioni::Values(values);
    Invia_Comando(QStringLiteral("k"), link().OutgoingValues);
    for (QLineEdit* box : GPRS)
        setBoxColour(box, BoxColour::Yellow);
}

// Every change of the box is written, a change made by a read included: the read that
// follows then finds the box unchanged and the round ends. A datalogger that keeps
// answering the opposite of what it was sent would make the rounds endless, so a change
// made inside a nested round is shown and not written again.
void Form1::chkWebAbilita_Click()
{
    if (linkBusy()) {
        // An exchange is running: the box goes back to what the datalogger last said.
        const QSignalBlocker block(chkWebAbilita);
        chkWebAbilita->setChecked(!chkWebAbilita->isChecked());
        return;
    }
    if (webRounds >= 2)
        return;
    ++webRounds;
    Invia_Comando(chkWebAbilita->isChecked() ? QStringLiteral("<1,") : QStringLiteral("<0,"), QString());
    Pausa(50);
    cmdWebLeggi_Click();
    --webRounds;
}

// A read that got no answer leaves the box alone: taking it for 0 would write "<0," and
// close the datalogger to internet connections.
void Form1::cmdWebLeggi_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral(">"), QString());
    const QString field = Leggi_Campo();
    if (field == QLatin1String("%%"))
        return;
    chkWebAbilita->setChecked(Conversioni::Val(field) != 0);
}
