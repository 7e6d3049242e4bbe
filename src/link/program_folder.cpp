// Where the program keeps its settings and data files.
#include "link/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString overridden;

QString chooseFolder()
{
    const QString exeDir = QCoreApplication::applicationDirPath();
    QFileInfo info(exeDir);
    if (!exeDir.isEmpty() && info.isDir() && info.isWritable())
        return exeDir;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(data);
    return data;
}

} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overridden.isEmpty())
        return overridden;
    static const QString chosen = chooseFolder();
    return chosen;
}

QString file(const QString& name) { return joinPath(path(), name); }

void setOverride(const QString& folder) { overridden = folder; }

} // namespace ProgramFolder

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
