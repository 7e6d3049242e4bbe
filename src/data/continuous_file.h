// The continuous-reading file ("mc_" file): created empty, then only ever appended to,
// one line at a time, each line on disk before the next reading starts, so the file is
// complete up to the last finished reading at every moment.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace ContinuousFile {

// "mc_" + dd-mm-yyyy_hh.m.ss + ".txt" (the minute without a leading zero).
QString name(const QDateTime& when);
// The date and time text of a reading: dd/mm/yyyy hh:mm:ss, whatever the locale.
QString readingTime(const QDateTime& when);

inline const QString startMarker = QStringLiteral("[INIZIO DATI]");
inline const QString endMarker = QStringLiteral("[FINE DATI]");
inline const QString brokenMarker = QStringLiteral("[FILE TERMINATO INASPETTATAMENTE]");

// Creates path empty (an existing file is emptied). False with errorText when it fails.
bool create(const QString& path, QString* errorText = nullptr);
// Appends the line and CR LF, on disk when this returns. False with errorText when the
// line could not be written whole; the file then holds no part of it.
bool appendLine(const QString& path, const QString& line, QString* errorText = nullptr);
// A row of texts joined with ",".
QString joinRow(const QStringList& cells);

} // namespace ContinuousFile
