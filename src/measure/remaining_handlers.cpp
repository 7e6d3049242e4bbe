// The console's "Scarica nuovi dati": the window of new-data downloads.
#include "console/form1.h"

#include "link/modulo1.h"
#include "measure/dati_rimanenti.h"

#include <QPushButton>

void Form1::cmdScaricaRimanenti_Click()
{
    if (Modulo1::linkBusy())
        return;
    // Loading takes the first DTR pause: the caption says so meanwhile.
    const QString caption = cmdScaricaRimanenti->text();
    cmdScaricaRimanenti->setText(QStringLiteral("Please wait..."));
    DatiRimanenti::open();
    cmdScaricaRimanenti->setText(caption);
}
