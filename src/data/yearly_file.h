// The yearly file of new data ("data_" + year + ".txt" in the program's folder): a title
// line written when the file is created, then one block per download that brought data,
// only ever appended. A block is on disk, whole, before the datalogger is told it may
// forget it; a block that cannot be written leaves the file as it was; a block the file
// already holds (appended by a download that died before it confirmed) is not added again.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
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
// The datalogger's own line breaks stay. Empty when there is nothing to append. The
// text is cut in place, so a block of megabytes is not copied.
QByteArray blockText(QByteArray received);

// The first line of a block that is not as the datalogger writes its records (a reading
// time of digits and separators, then fields that are numbers or blank): a block garbled
// on the line. Empty when every line is sound.
QByteArray garbledLine(QByteArrayView block);

// Creates the file with its title line and CR LF in one step: the title is written to
// "path.new" and put in place only while path is absent, so the file never exists
// without its title. An existing file is never touched (false with errorText, as for
// any failure).
bool create(const QString& path, int channels, QString* errorText = nullptr);

// What an earlier download that died left beside the yearly file, put right before the
// next one writes: a "path.new" it did not put in place is removed, and a file that an
// older version's busy check left as "path.temp" (renamed aside and not back) is given
// its name again. When path and "path.temp" both exist neither is touched: the result
// says so, and nothing may be appended until the operator has joined them.
QString tidy(const QString& path);

struct Appended {
    qsizetype alreadyThere = 0;  // bytes of the block the file already ended with
    qint64 written = 0;          // bytes appended
};
// Appends block and CR LF in one write and waits until it is on disk, except the part
// of it that the file already ends with, so that a block sent again after a download
// died between writing it and confirming it is not appended twice (one torn by that
// death is completed). On failure the file is cut back to the length it had, so it
// never holds part of a block, and the result is nullopt with errorText.
std::optional<Appended> appendBlock(const QString& path, const QByteArray& block,
                                    QString* errorText = nullptr);

} // namespace YearlyFile
