// The console's GSM settings: the SMS alert numbers and switch, the number to call and its
// switch, the e-mail switch, the GSM function switch and the alert window's button.
#include "console/console_window.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"
#include "widgets/unsendable.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QLabel>
#include <QLineEdit>

using namespace Exchange;
using Numbers::signedText;

namespace {

// A switch that repeats the box's current state travels with the blank of its sign
// position (" 0", " 1"); one that carries the state being changed travels as "0" or "1".
QString currentState(const SwitchBox* box) { return signedText(box->isChecked() ? 1 : 0); }
QString newState(const SwitchBox* box) { return box->isChecked() ? QStringLiteral("0") : QStringLiteral("1"); }

// The ten numbers, the count and the SMS switch of "i".
QString smsValues(const ConsoleWindow& f, const QString& smsSwitch)
{
    QStringList values;
    for (const QLineEdit* box : f.smsNumberBoxes)
        values << box->text().trimmed();
    values << f.smsCountBox->text().trimmed() << smsSwitch;
    return Numbers::valuesString(values);
}

// The number to call and the phone switch of "f".
QString callValues(const ConsoleWindow& f, const QString& phoneSwitch)
{
    return Numbers::valuesString({f.phoneNumberBox->text().trimmed(), phoneSwitch});
}

// The first GSM box whose text the wire cannot carry, with the reason; empty when all can go.
QString unsendableGsm(const ConsoleWindow& f)
{
    for (int i = 0; i < 10; ++i) {
        const QString reason = unsendableReason(f.alertNumberLabels[i]->text(), f.smsNumberBoxes[i]->text().trimmed());
        if (!reason.isEmpty())
            return reason;
    }
    QString reason = unsendableReason(QStringLiteral("SMS numbers in use"), f.smsCountBox->text().trimmed());
    if (reason.isEmpty())
        reason = unsendableReason(QStringLiteral("Phone number to call"), f.phoneNumberBox->text().trimmed());
    return reason;
}

bool refuseUnsendableGsm(const ConsoleWindow& f)
{
    const QString reason = unsendableGsm(f);
    if (reason.isEmpty())
        return false;
    dialogs().inform(refusalMessage(reason), QStringLiteral("Warning"));
    return true;
}

} // namespace

void ConsoleWindow::readGsm()
{
    if (linkBusy())
        return;
    CommandLock lock;
    sendCommand(QStringLiteral("I"), QString());
    for (QLineEdit* box : smsNumberBoxes)
        box->setText(readField().trimmed());
    smsCountBox->setText(readField().trimmed());
    smsAlertSwitch->showField(readField());

    sendCommand(QStringLiteral("F"), QString());
    phoneNumberBox->setText(readField().trimmed());
    phoneAlertSwitch->showField(readField());

    for (QLineEdit* box : smsNumberBoxes)
        setBoxColour(box, BoxColour::PaleYellow);
    setBoxColour(phoneNumberBox, BoxColour::PaleYellow);
    setBoxColour(smsCountBox, BoxColour::PaleYellow);
}

// The count is sent as typed: the datalogger, not the program, decides what it accepts.
void ConsoleWindow::writeGsm()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (refuseUnsendableGsm(*this))
        return;
    link().outgoingValues = smsValues(*this, currentState(smsAlertSwitch));
    sendCommand(QStringLiteral("i"), link().outgoingValues);
    link().outgoingValues = callValues(*this, currentState(phoneAlertSwitch));
    sendCommand(QStringLiteral("f"), link().outgoingValues);
    readGsm();
}

// The switches travel with the numbers, so the numbers typed go out with them.
void ConsoleWindow::toggleSmsAlert()
{
    if (linkBusy() || refuseUnsendableGsm(*this))
        return;
    link().outgoingValues = smsValues(*this, newState(smsAlertSwitch));
    sendCommand(QStringLiteral("i"), link().outgoingValues);
    link().outgoingValues = callValues(*this, currentState(phoneAlertSwitch));
    sendCommand(QStringLiteral("f"), link().outgoingValues);
    pause(50);
    readGsm();
}

void ConsoleWindow::togglePhoneAlert()
{
    if (linkBusy() || refuseUnsendableGsm(*this))
        return;
    link().outgoingValues = smsValues(*this, currentState(smsAlertSwitch));
    sendCommand(QStringLiteral("i"), link().outgoingValues);
    link().outgoingValues = callValues(*this, newState(phoneAlertSwitch));
    sendCommand(QStringLiteral("f"), link().outgoingValues);
    pause(50);
    readGsm();
}

// A plain click changes nothing more than the press already did.
void ConsoleWindow::phoneAlertClicked() {}

void ConsoleWindow::toggleEmail()
{
    if (linkBusy())
        return;
    link().outgoingValues = newState(emailSwitch) + QLatin1Char(',');
    sendCommand(QStringLiteral("y"), link().outgoingValues);
    pause(50);
    readEmail();
}

void ConsoleWindow::readEmail()
{
    if (linkBusy())
        return;
    CommandLock lock;
    flushInput();
    sendCommand(QStringLiteral("Y"), QString());
    emailSwitch->showField(readField());
}

// The datalogger has no read for its GSM function: the box shows what was sent, once it
// has gone out.
void ConsoleWindow::toggleGsm()
{
    if (linkBusy())
        return;
    const bool on = !gsmSwitch->isChecked();
    link().outgoingValues = newState(gsmSwitch) + QLatin1Char(',');
    if (sendCommand(QStringLiteral("j"), link().outgoingValues))
        gsmSwitch->setChecked(on);
    pause(50);
    readAcquisitionSwitch();
}
