// Writing the logout file.
#include "data/logout_file.h"

#include "data/text_file.h"
#include "data/program_folder.h"

namespace LogoutFile {

QString name(const QString& dataFileName) { return QStringLiteral("LOGOUT_") + dataFileName; }

bool write(const QString& folder, const QString& dataFileName,
           const QList<QPair<QString, QString>>& lines)
{
    QStringList text;
    for (const auto& [label, value] : lines)
        text << label + value;
    return TextFile::replace(joinPath(folder, name(dataFileName)), TextFile::crlfLines(text));
}

} // namespace LogoutFile
