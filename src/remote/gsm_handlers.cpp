// The console's GSM settings: the SMS alert numbers and switch, the number to call and its
// switch, the e-mail switch, the GSM function switch and the alert window's button.
#include "console/form1.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "widgets/unsendable.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QLabel>
#include <QLineEdit>

using namespace Modulo1;
using Conversioni::Str;

namespace {

// A switch that repeats the box's current state travels with the blank of its sign
// position (" 0", " 1"); one that carries the state being changed travels as "0" or "1".
QString currentState(const SwitchBox* box) { return Str(box->isChecked() ? 1 : 0); }
QString newState(const SwitchBox* box) { return box->isChecked() ? QStringLiteral("0") : QStringLiteral("1"); }

// The ten numbers, the count and the SMS switch of "i".
QString smsValues(const Form1& f, const QString& smsSwitch)
{
    QStringList values;
    for (const QLineEdit* box : f.NUMERO_ALLARME_SMS)
        values << box->text().trimmed();
    values << f.NUMERO_ALLARMI_SMS->text().trimmed() << smsSwitch;
    return Conversioni::Values(values);
}

// The number to call and the phone switch of "f".
QString callValues(const Form1& f, const QString& phoneSwitch)
{
    return Conversioni::Values({f.NUMERO_ALLARME_TELEFONO->text().trimmed(), phoneSwitch});
}

// The first GSM box whose text the wire cannot carry, with the reason; empty when all can go.
QString unsendableGsm(const Form1& f)
{
    for (int i = 0; i < 10; ++i) {
        const QString reason = unsendableReason(f.Label6[i]->text(), f.NUMERO_ALLARME_SMS[i]->text().trimmed());
        if (!reason.isEmpty())
            return reason;
    }
    QString reason = unsendableReason(QStringLiteral("SMS numbers in use"), f.NUMERO_ALLARMI_SMS->text().trimmed());
    if (reason.isEmpty())
        reason = unsendableReason(QStringLiteral("Phone number to call"), f.NUMERO_ALLARME_TELEFONO->text().trimmed());
    return reason;
}

bool refuseUnsendableGsm(const Form1& f)
{
    const QString reason = unsendableGsm(f);
    if (reason.isEmpty())
        return false;
    dialogs().inform(refusalMessage(reason), QStringLiteral("Warning"));
    return true;
}

} // namespace

void Form1::LEGGI_GSM_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("I"), QString());
    for (QLineEdit* box : NUMERO_ALLARME_SMS)
        box->setText(Leggi_Campo().trimmed());
    NUMERO_ALLARMI_SMS->setText(Leggi_Campo().trimmed());
    Abilita_SMS->showField(Leggi_Campo());

    Invia_Comando(QStringLiteral("F"), QString());
    NUMERO_ALLARME_TELEFONO->setText(Leggi_Campo().trimmed());
    Abilita_Telefono->showField(Leggi_Campo());

    for (QLineEdit* box : NUMERO_ALLARME_SMS)
        setBoxColour(box, BoxColour::PaleYellow);
    setBoxColour(NUMERO_ALLARME_TELEFONO, BoxColour::PaleYellow);
    setBoxColour(NUMERO_ALLARMI_SMS, BoxColour::PaleYellow);
}

// The count is sent as typed: the datalogger, not the program, decides what it accepts.
void Form1::SCRIVI_GSM_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (refuseUnsendableGsm(*this))
        return;
    link().OutgoingValues = smsValues(*this, currentState(Abilita_SMS));
    Invia_Comando(QStringLiteral("i"), link().OutgoingValues);
    link().OutgoingValues = callValues(*this, currentState(Abilita_Telefono));
    Invia_Comando(QStringLiteral("f"), link().OutgoingValues);
    LEGGI_GSM_Click();
}

// The switches travel with the numbers, so the numbers typed go out with them.
void Form1::Abilita_SMS_MouseDown()
{
    if (linkBusy() || refuseUnsendableGsm(*this))
        return;
    link().OutgoingValues = smsValues(*this, newState(Abilita_SMS));
    Invia_Comando(QStringLiteral("i"), link().OutgoingValues);
    link().OutgoingValues = callValues(*this, currentState(Abilita_Telefono));
    Invia_Comando(QStringLiteral("f"), link().OutgoingValues);
    Pausa(50);
    LEGGI_GSM_Click();
}

void Form1::Abilita_Telefono_MouseDown()
{
    if (linkBusy() || refuseUnsendableGsm(*this))
        return;
    link().OutgoingValues = smsValues(*this, currentState(Abilita_SMS));
    Invia_Comando(QStringLiteral("i"), link().OutgoingValues);
    link().OutgoingValues = callValues(*this, newState(Abilita_Telefono));
    Invia_Comando(QStringLiteral("f"), link().OutgoingValues);
    Pausa(50);
    LEGGI_GSM_Click();
}

// A plain click changes nothing more than the press already did.
void Form1::Abilita_Telefono_Click() {}

void Form1::EMAIL_MouseDown()
{
    if (linkBusy())
        return;
    link().OutgoingValues = newState(EMAIL) + QLatin1Char(',');
    Invia_Comando(QStringLiteral("y"), link().OutgoingValues);
    Pausa(50);
    Leggi_Email_Click();
}

void Form1::Leggi_Email_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("Y"), QString());
    EMAIL->showField(Leggi_Campo());
}

// The datalogger has no read for its GSM function: the box shows what was sent, once it
// has gone out.
void Form1::Telefono_MouseDown()
{
    if (linkBusy())
        return;
    const bool on = !Telefono->isChecked();
    link().OutgoingValues = newState(Telefono) + QLatin1Char(',');
    if (Invia_Comando(QStringLiteral("j"), link().OutgoingValues))
        Telefono->setChecked(on);
    Pausa(50);
    ReadSt_Click();
}
