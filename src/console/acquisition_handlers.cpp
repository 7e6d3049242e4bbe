// The console's read of the internal voltages.
#include "console/console_window.h"

#include "widgets/switch_box.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/settings.h"

#include <QLineEdit>

using Numbers::formatted;

void ConsoleWindow::readInternalParameters()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList fields = Health::readInternalParameters(link_).fields;
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i]->setText(formatted(fields[qsizetype(i)], QStringLiteral("00.00")));
}
