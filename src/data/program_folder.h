// The program's folder, where settings and data files live, and the paths built in it.
#pragma once

#include <QString>

namespace ProgramFolder {

// The executable's folder when writable and not an installed program's, else the
// per-user application data folder. The program chooses it once, at start.
QString chosen();
// The rule path() applies: exeDir when it is writable and not an installed program's
// (its desktop entry in ../share/applications), else userFolder, created if missing.
QString choose(const QString& exeDir, const QString& userFolder);

} // namespace ProgramFolder

// Joins a folder and a file name with one "/" ("/" + "x" gives "/x", never "//x").
QString joinPath(const QString& folder, const QString& name);
