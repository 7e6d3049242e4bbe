// The console's channels per multiplexer, events counter and rain millimetres, and the
// "T" read of the datalogger's six stored constants.
#include "console/form1.h"

#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"

#include <QLineEdit>

#include <cmath>

using namespace Modulo1;
using Conversioni::Str;
using Conversioni::Val;

namespace {

bool countInRange(const QString& text)
{
    const double count = Val(text);
    return count >= 0 && count <= 16 && count == std::floor(count);
}

// A channel count as the datalogger reports it: a whole number 0..16.
bool validCount(const QString& text) { return Conversioni::IsNumeric(text) && countInRange(text); }

// What a write may send: a box left empty or holding no number goes out as 0 channels,
// but a number outside 0..16 and the time-out mark of a read that got no answer would
// overwrite the datalogger's real count.
bool writableCount(const QString& text)
{
    if (text.trimmed() == QLatin1String("%%"))
        return false;
    return !Conversioni::IsNumeric(text) || countInRange(text);
}

QString countName(int m) { return QStringLiteral("MUX%1").arg(m); }

} // namespace

int Form1::channelCount(int m) const
{
    if (m < 0 || m >= int(MUX.size()) || !validCount(MUX[m]->text()))
        return 0;
    return int(Val(MUX[m]->text()));
}

// The counts are shown as received; one that cannot be a count is marked and named, so
// that nobody writes it back unnoticed. A time-out is not the datalogger's answer and is
// left to the caller.
void Form1::leggicanali_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    QStringList invalid;
    for (int m = 0; m < 4; ++m) {
        Invia_Comando(QStringLiteral("H"), Conversioni::Values({Str(m)}));
        const QString field = Leggi_Campo();
        MUX[m]->setText(field);
        const bool bad = field != QLatin1String("%%") && !validCount(field);
        setBoxColour(MUX[m], bad ? BoxColour::Red : BoxColour::Yellow);
        if (bad)
            invalid << countName(m) + QStringLiteral(" = ") + field;
        Pausa(20);
    }
    Pausa(200);
    if (!invalid.isEmpty())
        dialogs().inform(QStringLiteral("The datalogger reported channel counts that cannot be valid "
                                        "(0 to 16): ")
                             + invalid.join(QStringLiteral(", ")),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}

// A channel count typed outside 0..16 is wiped at once; text that is no number is left
// for the write to refuse.
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
// question says so and "b" always goes first. A box that does not hold a count would be
// written as 0 channels over the datalogger's real count: nothing is sent then.
void Form1::Scrivicanali_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    for (int m = 0; m < 4; ++m) {
        if (!writableCount(MUX[m]->text())) {
            dialogs().inform(countName(m) + QStringLiteral(" does not hold a channel count (0 to 16): \"")
                                 + MUX[m]->text() + QStringLiteral("\". Nothing was written."),
                             QStringLiteral("Warning"), Dialogs::Icon::Warning);
            return;
        }
    }
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
    CommandLock lock;
    setBoxColour(mmpioggia, BoxColour::PaleYellow);
}

void Form1::mmpioggiatastoscrivi_Click()
{
    CommandLock lock;
    link().OutgoingValues.clear();
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
