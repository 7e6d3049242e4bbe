// The logout file written when the console closes: seven labelled lines that record the
// datalogger's identity, memory, timer and pre-heating as the console last showed them.
#include "console/form1.h"

#include "data/logout_file.h"
#include "link/dialogs.h"
#include "link/program_folder.h"

#include <QLineEdit>

void Form1::writeLogoutFile()
{
    const QList<QPair<QString, QString>> lines = {
        {QStringLiteral("ID MICROLOGGER: "), Nome_Centralina->text()},
        {QStringLiteral("PO ACQUISITION: "), Acq_possibili->text()},
        {QStringLiteral("AV ACQUISITION: "), acq_disponibili->text()},
        {QStringLiteral("ACQ HOURS     : "), conversione[0]->text()},
        {QStringLiteral("ACQ MINUTES   : "), conversione[1]->text()},
        {QStringLiteral("ACQ SECONDS   : "), conversione[2]->text()},
        {QStringLiteral("PRE-HEATING   : "), preaccensione->text()},
    };
    // The program ends all the same; the operator learns that the record is missing.
    if (!LogoutFile::write(dataFolder(), Nome_File_Dati->text(), lines))
        dialogs().inform(QStringLiteral("The logout file could not be written: ")
                             + joinPath(dataFolder(), LogoutFile::name(Nome_File_Dati->text())),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}
