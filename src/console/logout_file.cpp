// The logout file written when the console closes: seven labelled lines that record the
// datalogger's identity, memory, timer and pre-heating as the console last showed them.
#include "console/console_window.h"
#include "console/data_acquisition_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"

#include "data/logout_file.h"
#include "data/dialogs.h"
#include "data/program_folder.h"

#include <QLineEdit>

void ConsoleWindow::writeLogoutFile()
{
    const QList<QPair<QString, QString>> lines = {
        {QStringLiteral("ID MICROLOGGER: "), general->nameBox->text()},
        {QStringLiteral("PO ACQUISITION: "), general->memoryTotalBox->text()},
        {QStringLiteral("AV ACQUISITION: "), general->memoryFreeBox->text()},
        {QStringLiteral("ACQ HOURS     : "), timers->timerBoxes[0]->text()},
        {QStringLiteral("ACQ MINUTES   : "), timers->timerBoxes[1]->text()},
        {QStringLiteral("ACQ SECONDS   : "), timers->timerBoxes[2]->text()},
        {QStringLiteral("PRE-HEATING   : "), timers->preheatingBox->text()},
    };
    // The program ends all the same; the operator learns that the record is missing.
    if (!LogoutFile::write(dataFolder(), dataAcquisition->dataFileNameBox->text(), lines))
        dialogs_.inform(QStringLiteral("The logout file could not be written: ")
                             + joinPath(dataFolder(), LogoutFile::name(dataAcquisition->dataFileNameBox->text())),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}
