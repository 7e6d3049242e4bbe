// The yearly file of new data ("data_" + year + ".txt" in the program's folder): a title
// line written when the file is created, then one block per download that brought data,
// only ever appended. A block is on disk, whole, before the datalogger is told it may
// forget it; a block that cannot be written leaves the file as it was.
#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace YearlyFile {

// "data_" + year + ".txt" in folder.
QString path(const QString& folder, int year);
// "Date," then " CH" i "," for each channel i (no line end).
QByteArray titleLine(int channels);
// The operator's year or interval text as a number: every ".", "," and "-" removed
// ("2.026" gives 2026, "-5" gives 5). nullopt when nothing numeric is left.
std::optional<int> cleanNumber(const QString& text);
// What of the datalogger's text between its markers goes into the file: the last two
// characters dropped when it is longer than 2, then the blanks at both ends trimmed.
// The datalogger's own line breaks stay. Empty when there is nothing to append.
QByteArray blockText(const QByteArray& received);

// The first line of a block that is not as the datalogger writes its records (a reading
// time of digits and separators, then fields that are numbers or blank): a block garbled
// on the line. Empty when every line is sound.
QByteArray garbledLine(const QByteArray& block);

// Creates the file with its title line and CR LF, on disk when this returns. An
// existing file is never touched (false with errorText, as for any failure).
bool create(const QString& path, int channels, QString* errorText = nullptr);
// Appends block and CR LF in one write and waits until it is on disk. On failure the
// file is cut back to the length it had, so it never holds part of a block.
bool appendBlock(const QString& path, const QByteArray& block, QString* errorText = nullptr);

} // namespace YearlyFile
