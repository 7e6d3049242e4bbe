// The console's memory capacity read, memory erase and datalogger reset.
#include "console/form1.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"

#include <QLineEdit>

using namespace Modulo1;

void Form1::Aggiorna_acq_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("H"), QStringLiteral("0,"));
    const QString channels = Leggi_Campo();
    // A datalogger that did not answer has not said that it has no channels.
    if (channels == QLatin1String("%%"))
        return;
    if (Conversioni::Val(channels) == 0) {
        dialogs().inform(QStringLiteral("Please enable at least one channel!"),
                         QStringLiteral("Warning"));
    } else {
        Pausa(50);
        Invia_Comando(QStringLiteral("M"), QStringLiteral(","));
        Acq_possibili->setText(Leggi_Campo());
        acq_disponibili->setText(Leggi_Campo());
    }
}

void Form1::Azzera_memoria_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (dialogs().confirm(
            QStringLiteral("Are you sure you want to delete all data?\r\nAll data will be lost."),
            QStringLiteral("Warning"))) {
        Invia_Comando(QStringLiteral("b"), QString());
        Pausa(20);
        Aggiorna_acq_Click();
    }
}

// After "z" the datalogger is given 0.4 s before the console re-reads what the reset
// changed.
void Form1::Resetta_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (dialogs().confirm(
            QStringLiteral("Are you sure you wanto to reset datalogger?\r\nAll data will be lost"),
            QStringLiteral("Warning"))) {
        Invia_Comando(QStringLiteral("z"), QString());
        Pausa(20);
        Pausa(20);
        Aggiorna_acq_Click();
        Pausa(20);
        leggicanali_Click();
        Pausa(20);
        command2_Click();
        Pausa(20);
        leggi_nome_Click();
        Pausa(20);
        ReadSt_Click();
    }
}
