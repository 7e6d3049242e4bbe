// comports.ini: which device each of COM 1..8 names. Created with defaults when missing.
#pragma once

#include <QString>
#include <QStringList>

namespace ComPorts {

// The eight device paths, line n for COM n; missing lines get the defaults.
QStringList devices();
// The device for COM n (1..8), or an empty text outside that range.
QString device(int n);

} // namespace ComPorts
