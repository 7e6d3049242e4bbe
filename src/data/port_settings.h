// rk550.ini: the COM port last used to reach the datalogger.
#pragma once

#include <QString>

namespace PortSettings {

// Full path of the settings file in the program's folder.
QString iniPath(const QString& folder);
// The last number in the file, 0 when there is none. A file that holds something other
// than numbers stops the reading there: ok is set to false and 0 returned.
int load(const QString& path, bool* ok = nullptr);
// Writes " n " CR LF. Returns false when the file cannot be written; callers go on.
bool save(const QString& path, int port);

} // namespace PortSettings
