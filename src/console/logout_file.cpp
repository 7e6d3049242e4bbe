// The logout file written when the console closes: seven labelled lines that record the
// datalogger's identity, memory, timer and pre-heating as the console last showed them.
#include "console/form1.h"

#include "link/dialogs.h"
#include "link/program_folder.h"

#include <QFile>
#include <QLineEdit>

void Form1::writeLogoutFile()
{
    const QString path = joinPath(dataFolder(), QStringLiteral("LOGOUT_") + Nome_File_Dati->text());
    const QList<QPair<QString, QLineEdit*>> lines = {
        {QStringLiteral("ID MICROLOGGER: "), Nome_Centralina},
        {QStringLiteral("PO ACQUISITION: "), Acq_possibili},
        {QStringLiteral("AV ACQUISITION: "), acq_disponibili},
        {QStringLiteral("ACQ HOURS     : "), conversione[0]},
        {QStringLiteral("ACQ MINUTES   : "), conversione[1]},
        {QStringLiteral("ACQ SECONDS   : "), conversione[2]},
        {QStringLiteral("PRE-HEATING   : "), preaccensione},
    };
    QByteArray text;
    for (const auto& [label, box] : lines)
        text += (label + box->text()).toLatin1() + "\r\n";

    QFile file(path);
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                         && file.write(text) == text.size();
    file.close();
    // The program ends all the same; the operator learns that the record is missing.
    if (!written)
        dialogs().inform(QStringLiteral("The logout file could not be written: ") + path,
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}
