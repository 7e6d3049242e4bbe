// The console's acquisition switch and internal voltages.
#include "console/console_window.h"

#include "widgets/switch_box.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/settings.h"

#include <QLineEdit>

using Numbers::formatted;

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
