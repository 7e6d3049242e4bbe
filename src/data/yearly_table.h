// The yearly file of the remaining-data download, read for the historical chart: the
// file's bytes kept once with the place of every field in them, every channel as a
// column of numbers and every line's date and time, all built in one pass over the file.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <limits>
#include <optional>
#include <vector>

// Row 0 is the title line and rows 1..last the data lines; column 0 is the date text and
// column k + 1 channel k. The title's commas c fix the shape: c + 1 columns, c - 1
// channels. A line is cut into comma-terminated fields, at most c + 1; a last text with
// no comma after it is taken as one more field; a line with fewer fields is padded with
// blanks; fields past the c + 1-th are left out.
//
// Lines end with LF or CR LF, and a lone CR stays in the text; in a file whose first line
// ends with a lone CR, as some editors leave it, a lone CR ends a line too. Every line
// after the title is judged as a reading (data/reading_line.h): one that is not is
// counted, and when it holds control bytes (a binary tail, NUL bytes) it is no row.
class YearlyTable {
public:
    // Reads the file at path; false with *error set when it cannot be read, in which case
    // the table is empty.
    bool load(const QString& path, QString* error = nullptr);
    // The same from the file's bytes.
    void parse(QByteArray bytes);

    // Lines of the file, the title line included; 0 for an empty file.
    int rowCount() const { return int(rowEnd_.size()); }
    int last() const { return rowCount() - 1; }
    int columnCount() const { return columns_; }
    int seriesCount() const { return series_; }

    // A field's text exactly as in the file; empty for a padded field or outside the table.
    QByteArrayView field(int row, int column) const;
    QString text(int row, int column) const { return QString::fromLatin1(field(row, column)); }

    // Channel k's value on each row (row 0 included), NaN where the field is no number.
    const double* values(int channel) const { return values_.at(channel).data(); }
    double value(int row, int channel) const;

    // A row's date and time as seconds from the start of Julian day 0, and its day as a
    // Julian day; noStamp when its date text is not a date.
    static constexpr qint64 noStamp = std::numeric_limits<qint64>::min();
    qint64 stamp(int row) const;
    qint64 day(int row) const;

    // Rows of a date range (days as Julian days): with neither bound every data row;
    // otherwise from the first row dated on or after `from` to the last dated on or
    // before `to`, a missing bound taking any date. Empty when no row qualifies.
    struct Range {
        int start = 1;
        int end = 0;
        bool isEmpty() const { return end < start; }
        int count() const { return isEmpty() ? 0 : end - start + 1; }
    };
    Range rowsBetween(std::optional<qint64> from, std::optional<qint64> to) const;

    qsizetype fileSize() const { return bytes_.size(); }

    // The lines that are not readings (blank ones are not counted), the line number of
    // the first (the title is line 1; 0 when there is none), and how many of them held
    // control bytes and so are not rows of the table.
    qint64 notReadings() const { return notReadings_; }
    qint64 firstNotReading() const { return firstNotReading_; }
    qint64 leftOut() const { return leftOut_; }

private:
    bool addRow(qsizetype begin, qsizetype end);
    void judge(qsizetype begin, qsizetype end, qint64 lineNumber);
    void dropLastRow();
    qsizetype estimatedRows(char lineEnd) const;

    static constexpr quint32 blank = std::numeric_limits<quint32>::max();

    QByteArray bytes_;
    int columns_ = 0;
    int series_ = 0;
    std::vector<quint32> begin_;     // columns_ per row: where each field starts, or blank
    std::vector<quint32> rowEnd_;    // per row: where its last field ends
    std::vector<qint64> stamp_;      // per row
    std::vector<std::vector<double>> values_;  // per channel, per row
    std::vector<quint32> scratch_;   // the field ends of the row being added
    qint64 notReadings_ = 0;
    qint64 firstNotReading_ = 0;
    qint64 leftOut_ = 0;
};

namespace YearlyDates {

// A date as the datalogger writes it, "dd/MM/yyyy hh:mm:ss" (one-digit day, month, hour,
// minute or second accepted, "-" or "." also taken between the date's parts, the time of
// day optional), with blanks around it. Seconds from the start of Julian day 0.
std::optional<qint64> parseStamp(const char* begin, const char* end);
// A date typed in a box, read the same way; its day as a Julian day.
std::optional<qint64> parseDay(const QString& text);

constexpr qint64 secondsPerDay = 86400;

} // namespace YearlyDates
