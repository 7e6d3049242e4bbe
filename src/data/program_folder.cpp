// Where the program keeps its settings and data files.
#include "data/program_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// An installed program has its desktop entry in the share folder beside its bin folder.
// It keeps no files beside its executable even when whoever runs it may write there (an
// administrator): the system's folders are the package's, the files are the user's.
bool installed(const QString& exeDir)
{
    return QFileInfo::exists(exeDir + QStringLiteral("/../share/applications/quorvel.desktop"));
}

} // namespace

namespace ProgramFolder {

QString choose(const QString& exeDir, const QString& userFolder)
{
    const QFileInfo info(exeDir);
    if (!exeDir.isEmpty() && info.isDir() && info.isWritable() && !installed(exeDir))
        return exeDir;
    QDir().mkpath(userFolder);
    return userFolder;
}

QString chosen()
{
    return choose(QCoreApplication::applicationDirPath(),
                  QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
}

} // namespace ProgramFolder

QString joinPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(QLatin1Char('/')))
        return folder + name;
    return folder + QLatin1Char('/') + name;
}
