// The data-file name the start window suggests after a connection.
#pragma once

#include <QDate>
#include <QString>

// ID_dd_mm_yy_VW.txt, from the datalogger's ID and the date itself (not the locale).
// Path separators in the ID become "_": the name must stay one file in the chosen folder.
QString suggestedDataFileName(const QString& id, const QDate& date);

