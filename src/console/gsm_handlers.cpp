// The console's GSM settings: the SMS alert numbers and switch, the number to call and its
// switch, the e-mail switch, the GSM function switch and the alert window's button.
#include "console/console_window.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/settings.h"
#include "widgets/unsendable.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QLabel>
#include <QLineEdit>

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

bool refuseUnsendableGsm(Dialogs& dialogs, const ConsoleWindow& f)
{
    const QString reason = unsendableGsm(f);
    if (reason.isEmpty())
        return false;
    dialogs.inform(refusalMessage(reason), QStringLiteral("Warning"));
    return true;
}

} // namespace

void ConsoleWindow::readGsm()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.sendCommand(QStringLiteral("I"), QString());
    for (QLineEdit* box : smsNumberBoxes)
        box->setText(link_.readField().trimmed());
    smsCountBox->setText(link_.readField().trimmed());
    smsAlertSwitch->showField(link_.readField());

    link_.sendCommand(QStringLiteral("F"), QString());
    phoneNumberBox->setText(link_.readField().trimmed());
    phoneAlertSwitch->showField(link_.readField());

    for (QLineEdit* box : smsNumberBoxes)
        setBoxColour(box, BoxColour::PaleYellow);
    setBoxColour(phoneNumberBox, BoxColour::PaleYellow);
    setBoxColour(smsCountBox, BoxColour::PaleYellow);
}

// The count is sent as typed: the datalogger, not the program, decides what it accepts.
void ConsoleWindow::writeGsm()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (refuseUnsendableGsm(dialogs_, *this))
        return;
    link_.sendCommand(QStringLiteral("i"), smsValues(*this, currentState(smsAlertSwitch)));
    link_.sendCommand(QStringLiteral("f"), callValues(*this, currentState(phoneAlertSwitch)));
    readGsm();
}

// The switches travel with the numbers, so the numbers typed go out with them.
void ConsoleWindow::toggleSmsAlert()
{
    if (link_.busy() || refuseUnsendableGsm(dialogs_, *this))
        return;
    link_.sendCommand(QStringLiteral("i"), smsValues(*this, newState(smsAlertSwitch)));
    link_.sendCommand(QStringLiteral("f"), callValues(*this, currentState(phoneAlertSwitch)));
    link_.pause(50);
    readGsm();
}

void ConsoleWindow::togglePhoneAlert()
{
    if (link_.busy() || refuseUnsendableGsm(dialogs_, *this))
        return;
    link_.sendCommand(QStringLiteral("i"), smsValues(*this, currentState(smsAlertSwitch)));
    link_.sendCommand(QStringLiteral("f"), callValues(*this, newState(phoneAlertSwitch)));
    link_.pause(50);
    readGsm();
}

// A plain click changes nothing more than the press already did.
void ConsoleWindow::phoneAlertClicked() {}

void ConsoleWindow::toggleEmail()
{
    if (link_.busy())
        return;
    Settings::setEmail(link_, !emailSwitch->isChecked());
    readEmail();
}

void ConsoleWindow::readEmail()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    emailSwitch->showField(Settings::readEmailSwitch(link_).fields[0]);
}

