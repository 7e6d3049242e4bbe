// The console's acquisition timer, pre-heating time, acquisition switch and internal
// voltages.
#include "console/console_window.h"

#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"

#include <QLineEdit>

using namespace Exchange;
using Numbers::formatted;
using Numbers::leadingNumber;

namespace {
// The shortest interval the datalogger is allowed to record at, in seconds: a GSM
// datalogger needs time between acquisitions for its modem.
int shortestTimer() { return link().gsmSelected ? 600 : 60; }

void warnTimer()
{
    dialogs().inform(
        QStringLiteral("Please check acquisition timer ( hours <=23, minutes and seconds <=59; "
                       "timer > 1 min if not GSM version; timer > 10 min if GSM version)! "),
        QStringLiteral("Warning!!"));
    dialogs().beep();
}
} // namespace

void ConsoleWindow::readTimer()
{
    if (linkBusy())
        return;
    CommandLock lock;
    sendCommand(QStringLiteral("C"), QStringLiteral(","));
    for (QLineEdit* box : timerBoxes) {
        box->setText(readField());
        setBoxColour(box, BoxColour::Yellow);
    }
}

void ConsoleWindow::writeTimer()
{
    if (linkBusy())
        return;
    CommandLock lock;
    const double hours = leadingNumber(timerBoxes[0]->text());
    const double minutes = leadingNumber(timerBoxes[1]->text());
    const double seconds = leadingNumber(timerBoxes[2]->text());
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        warnTimer();
        return;
    }
    // The boxes show the three-digit form from here on, even when the total is refused.
    // The value is formatted, not the text, so that a box holding no number goes out as
    // 000 rather than as whatever was typed.
    for (QLineEdit* box : timerBoxes)
        box->setText(formatted(leadingNumber(box->text()), QStringLiteral("000")));
    const double total = leadingNumber(timerBoxes[0]->text()) * 3600 + leadingNumber(timerBoxes[1]->text()) * 60
                         + leadingNumber(timerBoxes[2]->text());
    if (total < shortestTimer()) {
        warnTimer();
        return;
    }
    QStringList values;
    for (QLineEdit* box : timerBoxes) {
        setBoxColour(box, BoxColour::Yellow);
        values << box->text();
    }
    link().outgoingValues = Numbers::valuesString(values);
    sendCommand(QStringLiteral("c"), link().outgoingValues);
}

void ConsoleWindow::readPreheating()
{
    if (linkBusy())
        return;
    CommandLock lock;
    sendCommand(QStringLiteral("E"), QStringLiteral(","));
    preheatingBox->setText(readField());
    setBoxColour(preheatingBox, BoxColour::Yellow);
}

void ConsoleWindow::writePreheating()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (leadingNumber(preheatingBox->text()) > 30000) {
        dialogs().inform(QStringLiteral("Pre-heating time is too high "), QStringLiteral("Warning"));
        preheatingBox->setText(QStringLiteral("0"));
        return;
    }
    preheatingBox->setText(formatted(leadingNumber(preheatingBox->text()), QStringLiteral("00000")));
    setBoxColour(preheatingBox, BoxColour::Yellow);
    link().outgoingValues = Numbers::valuesString({preheatingBox->text()});
    sendCommand(QStringLiteral("e"), link().outgoingValues);
}

// The box asks the datalogger for the opposite state and then shows what it holds.
void ConsoleWindow::toggleAcquisition()
{
    if (linkBusy())
        return;
    link().outgoingValues = acquisitionSwitch->isChecked() ? QStringLiteral("0,") : QStringLiteral("1,");
    sendCommand(QStringLiteral("o"), link().outgoingValues);
    pause(50);
    readAcquisitionSwitch();
}

void ConsoleWindow::readAcquisitionSwitch()
{
    if (linkBusy())
        return;
    CommandLock lock;
    flushInput();
    sendCommand(QStringLiteral("O"), QString());
    acquisitionSwitch->showField(readField());
}

void ConsoleWindow::readInternalParameters()
{
    if (linkBusy())
        return;
    CommandLock lock;
    sendCommand(QStringLiteral("W"), QString());
    for (QLineEdit* box : parameters)
        box->setText(formatted(readField(), QStringLiteral("00.00")));
}
