// The logout file: labelled lines recording what the console last showed of the
// datalogger when it closed.
#pragma once

#include <QList>
#include <QPair>
#include <QString>

namespace LogoutFile {

// "LOGOUT_" + the data-file name.
QString name(const QString& dataFileName);
// Writes each label followed by its value, one line each; false when the file could
// not be written (the file that was there stays as it was).
bool write(const QString& folder, const QString& dataFileName,
           const QList<QPair<QString, QString>>& lines);

} // namespace LogoutFile
