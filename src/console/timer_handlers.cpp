// The console's acquisition timer, pre-heating time, acquisition switch and internal
// voltages.
#include "console/console_window.h"

#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/health.h"

#include <QLineEdit>

using Numbers::formatted;
using Numbers::leadingNumber;

namespace {
// The shortest interval the datalogger is allowed to record at, in seconds: a GSM
// datalogger needs time between acquisitions for its modem.
int shortestTimer(bool gsm) { return gsm ? 600 : 60; }

void warnTimer(Dialogs& dialogs)
{
    dialogs.inform(
        QStringLiteral("Please check acquisition timer ( hours <=23, minutes and seconds <=59; "
                       "timer > 1 min if not GSM version; timer > 10 min if GSM version)! "),
        QStringLiteral("Warning!!"));
    dialogs.beep();
}
} // namespace

void ConsoleWindow::readTimer()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.sendCommand(QStringLiteral("C"), QStringLiteral(","));
    for (QLineEdit* box : timerBoxes) {
        box->setText(link_.readField());
        setBoxColour(box, BoxColour::Yellow);
    }
}

void ConsoleWindow::writeTimer()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const double hours = leadingNumber(timerBoxes[0]->text());
    const double minutes = leadingNumber(timerBoxes[1]->text());
    const double seconds = leadingNumber(timerBoxes[2]->text());
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        warnTimer(dialogs_);
        return;
    }
    // The boxes show the three-digit form from here on, even when the total is refused.
    // The value is formatted, not the text, so that a box holding no number goes out as
    // 000 rather than as whatever was typed.
    for (QLineEdit* box : timerBoxes)
        box->setText(formatted(leadingNumber(box->text()), QStringLiteral("000")));
    const double total = leadingNumber(timerBoxes[0]->text()) * 3600 + leadingNumber(timerBoxes[1]->text()) * 60
                         + leadingNumber(timerBoxes[2]->text());
    if (total < shortestTimer(datalogger_.gsm())) {
        warnTimer(dialogs_);
        return;
    }
    QStringList values;
    for (QLineEdit* box : timerBoxes) {
        setBoxColour(box, BoxColour::Yellow);
        values << box->text();
    }
    link_.sendCommand(QStringLiteral("c"), Numbers::valuesString(values));
}

void ConsoleWindow::readPreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.sendCommand(QStringLiteral("E"), QStringLiteral(","));
    preheatingBox->setText(link_.readField());
    setBoxColour(preheatingBox, BoxColour::Yellow);
}

void ConsoleWindow::writePreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (leadingNumber(preheatingBox->text()) > 30000) {
        dialogs_.inform(QStringLiteral("Pre-heating time is too high "), QStringLiteral("Warning"));
        preheatingBox->setText(QStringLiteral("0"));
        return;
    }
    preheatingBox->setText(formatted(leadingNumber(preheatingBox->text()), QStringLiteral("00000")));
    setBoxColour(preheatingBox, BoxColour::Yellow);
    link_.sendCommand(QStringLiteral("e"), Numbers::valuesString({preheatingBox->text()}));
}

// The box asks the datalogger for the opposite state and then shows what it holds.
void ConsoleWindow::toggleAcquisition()
{
    if (link_.busy())
        return;
    link_.sendCommand(QStringLiteral("o"), acquisitionSwitch->isChecked() ? QStringLiteral("0,") : QStringLiteral("1,"));
    link_.pause(50);
    readAcquisitionSwitch();
}

void ConsoleWindow::readAcquisitionSwitch()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.flushInput();
    link_.sendCommand(QStringLiteral("O"), QString());
    acquisitionSwitch->showField(link_.readField());
}

void ConsoleWindow::readInternalParameters()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList fields = Health::readInternalParameters(link_).fields;
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i]->setText(formatted(fields[qsizetype(i)], QStringLiteral("00.00")));
}
