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
#include "protocol/settings.h"

#include <QLineEdit>

using Numbers::formatted;
using Numbers::leadingNumber;

namespace {
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
    const QStringList fields = Settings::readTimer(link_).fields;
    for (size_t i = 0; i < timerBoxes.size(); ++i) {
        timerBoxes[i]->setText(fields[qsizetype(i)]);
        setBoxColour(timerBoxes[i], BoxColour::Yellow);
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
    const std::array<QString, 3> parts =
        Settings::timerParts({timerBoxes[0]->text(), timerBoxes[1]->text(), timerBoxes[2]->text()});
    for (size_t i = 0; i < timerBoxes.size(); ++i)
        timerBoxes[i]->setText(parts[i]);
    const double total = leadingNumber(parts[0]) * 3600 + leadingNumber(parts[1]) * 60 + leadingNumber(parts[2]);
    if (total < Settings::shortestTimer(datalogger_.gsm())) {
        warnTimer(dialogs_);
        return;
    }
    for (QLineEdit* box : timerBoxes)
        setBoxColour(box, BoxColour::Yellow);
    Settings::writeTimer(link_, parts);
}

void ConsoleWindow::readPreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    preheatingBox->setText(Settings::readPreheating(link_).fields[0]);
    setBoxColour(preheatingBox, BoxColour::Yellow);
}

void ConsoleWindow::writePreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (leadingNumber(preheatingBox->text()) > Settings::LongestPreheating) {
        dialogs_.inform(QStringLiteral("Pre-heating time is too high "), QStringLiteral("Warning"));
        preheatingBox->setText(QStringLiteral("0"));
        return;
    }
    preheatingBox->setText(Settings::preheatingText(preheatingBox->text()));
    setBoxColour(preheatingBox, BoxColour::Yellow);
    Settings::writePreheating(link_, preheatingBox->text());
}

// The box asks the datalogger for the opposite state and then shows what it holds.
void ConsoleWindow::toggleAcquisition()
{
    if (link_.busy())
        return;
    Settings::setAcquisition(link_, !acquisitionSwitch->isChecked());
    readAcquisitionSwitch();
}

void ConsoleWindow::readAcquisitionSwitch()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    acquisitionSwitch->showField(Settings::readAcquisitionSwitch(link_).fields[0]);
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
