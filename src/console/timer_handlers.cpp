// The console's acquisition timer, pre-heating time, acquisition switch and internal
// voltages.
#include "console/form1.h"

#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"

#include <QLineEdit>

using namespace Modulo1;
using Conversioni::Format;
using Conversioni::Val;

namespace {
// The shortest interval the datalogger is allowed to record at, in seconds: a GSM
// datalogger needs time between acquisitions for its modem.
int shortestTimer() { return link().GsmSelected ? 600 : 60; }

void warnTimer()
{
    dialogs().inform(
        QStringLiteral("Please check acquisition timer ( hours <=23, minutes and seconds <=59; "
                       "timer > 1 min if not GSM version; timer > 10 min if GSM version)! "),
        QStringLiteral("Warning!!"));
    dialogs().beep();
}
} // namespace

void Form1::command2_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("C"), QStringLiteral(","));
    for (QLineEdit* box : conversione) {
        box->setText(Leggi_Campo());
        setBoxColour(box, BoxColour::Yellow);
    }
}

void Form1::Command1_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    const double hours = Val(conversione[0]->text());
    const double minutes = Val(conversione[1]->text());
    const double seconds = Val(conversione[2]->text());
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        warnTimer();
        return;
    }
    // The boxes show the three-digit form from here on, even when the total is refused.
    // The value is formatted, not the text, so that a box holding no number goes out as
    // 000 rather than as whatever was typed.
    for (QLineEdit* box : conversione)
        box->setText(Format(Val(box->text()), QStringLiteral("000")));
    const double total = Val(conversione[0]->text()) * 3600 + Val(conversione[1]->text()) * 60
                         + Val(conversione[2]->text());
    if (total < shortestTimer()) {
        warnTimer();
        return;
    }
    QStringList values;
    for (QLineEdit* box : conversione) {
        setBoxColour(box, BoxColour::Yellow);
        values << box->text();
    }
    link().OutgoingValues = Conversioni::Values(values);
    Invia_Comando(QStringLiteral("c"), link().OutgoingValues);
}

void Form1::Preacc_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("E"), QStringLiteral(","));
    preaccensione->setText(Leggi_Campo());
    setBoxColour(preaccensione, BoxColour::Yellow);
}

void Form1::impostapreacc_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (Val(preaccensione->text()) > 30000) {
        dialogs().inform(QStringLiteral("Pre-heating time is too high "), QStringLiteral("Warning"));
        preaccensione->setText(QStringLiteral("0"));
        return;
    }
    preaccensione->setText(Format(Val(preaccensione->text()), QStringLiteral("00000")));
    setBoxColour(preaccensione, BoxColour::Yellow);
    link().OutgoingValues = Conversioni::Values({preaccensione->text()});
    Invia_Comando(QStringLiteral("e"), link().OutgoingValues);
}

// The box asks the datalogger for the opposite state and then shows what it holds.
void Form1::data_logging_MouseDown()
{
    if (linkBusy())
        return;
    link().OutgoingValues = data_logging->isChecked() ? QStringLiteral("0,") : QStringLiteral("1,");
    Invia_Comando(QStringLiteral("o"), link().OutgoingValues);
    Pausa(50);
    ReadSt_Click();
}

void Form1::ReadSt_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("O"), QString());
    data_logging->showField(Leggi_Campo());
}

void Form1::Status_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("W"), QString());
    for (QLineEdit* box : parameters)
        box->setText(Format(Leggi_Campo(), QStringLiteral("00.00")));
}
