// The names of the data files: the datalogger's ID, the date and what the file holds.
#pragma once

#include <QDate>
#include <QString>

// ID_dd_mm_yy + suffix + ".txt", from the date itself (not the locale). Path separators
// in the ID become "_": the name must stay one file in the chosen folder.
QString dataFileName(const QString& id, const QDate& date, const QString& suffix);
// The name the start window suggests after a connection: ID_dd_mm_yy_VW.txt.
QString suggestedDataFileName(const QString& id, const QDate& date);
