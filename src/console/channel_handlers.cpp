// The console's channels per multiplexer, events counter and rain millimetres, and the
// "T" read of the datalogger's six stored constants.
#include "console/form1.h"

#include "console/box_colours.h"
#include "console/switch_box.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"

#include <QLineEdit>

using namespace Modulo1;
using Conversioni::Str;
using Conversioni::Val;

void Form1::leggicanali_Click()
{
    if (linkBusy())
        return;
    Disabilita_Comandi();
    for (int m = 0; m < 4; ++m) {
        Invia_Comando(QStringLiteral("H"), Conversioni::Values({Str(m)}));
        MUX[m]->setText(Leggi_Campo());
        setBoxColour(MUX[m], BoxColour::Yellow);
        Pausa(20);
    }
    Pausa(200);
    Abilita_Comandi();
}

// A channel count outside 0..16 is wiped at once; text that is no number is left to
// be written as 0.
void Form1::MUX_Change(int index)
{
    if (index < 0 || index >= int(MUX.size()))
        return;
    QLineEdit* box = MUX[index];
    setBoxColour(box, BoxColour::Red);
    const double count = Val(box->text());
    if (count > 16 || count < 0)
        box->setText(QStringLiteral("0"));
}

// The datalogger cannot change its channel layout without erasing its memory, so the
// question says so and "b" always goes first.
void Form1::Scrivicanali_Click()
{
    if (linkBusy())
        return;
    Disabilita_Comandi();
    const bool yes = dialogs().confirm(
        QStringLiteral("This operation will reset memory. Continue?\r\nAll data will be lost."),
        QStringLiteral("Warning"));
    if (yes) {
        Invia_Comando(QStringLiteral("b"), QStringLiteral(","));
        Pausa(20);
        for (int m = 0; m < 4; ++m)
            Invia_Comando(QStringLiteral("h"), Conversioni::Values({Str(m), Str(Val(MUX[m]->text()))}));
        leggicanali_Click();
        Pausa(20);
        Aggiorna_acq_Click();
        Pausa(20);
    }
    Pausa(200);
    Abilita_Comandi();
}

void Form1::PLUVIOMETRO_MouseDown()
{
    if (linkBusy())
        return;
    link().OutgoingValues = PLUVIOMETRO->isChecked() ? QStringLiteral("0,") : QStringLiteral("1,");
    Invia_Comando(QStringLiteral("u"), link().OutgoingValues);
    Pausa(50);
    Invia_Comando(QStringLiteral("U"), QStringLiteral(","));
    PLUVIOMETRO->showField(Leggi_Campo());
}

void Form1::CONTAIMP_Click()
{
    if (linkBusy())
        return;
    Invia_Comando(QStringLiteral("L"), QStringLiteral(","));
    Text2->setText(Leggi_Campo());
}

// The rain millimetres per pulse have no command: the buttons only mark the box.
void Form1::mmpioggialeggi_Click()
{
    Disabilita_Comandi();
    setBoxColour(mmpioggia, BoxColour::PaleYellow);
    Abilita_Comandi();
}

void Form1::mmpioggiatastoscrivi_Click()
{
    Disabilita_Comandi();
    link().OutgoingValues.clear();
    Abilita_Comandi();
}

void Form1::leggifs_Click()
{
    if (linkBusy())
        return;
    Invia_Comando(QStringLiteral("T"), QString());
    for (qint32& whole : fsWhole)
        whole = Conversioni::CLng(Val(Leggi_Campo()));
    for (double& scaled : fsScaled)
        scaled = Val(Leggi_Campo()) / 1000000;
}
