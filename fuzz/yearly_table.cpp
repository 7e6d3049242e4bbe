// Fuzzes the historical chart's reading of a yearly file, as a spreadsheet or a cut
// transfer may leave it: the table loaded from the file in one pass must agree with a
// plain reading of the same bytes (lines, comma-separated fields cut to the title's
// shape, simple numbers, day-first dates, the lines that are not readings judged as the
// new-data download judges a block), and its date ranges and export must stay within
// the rows it has.
#include "data/yearly_export.h"
#include "data/yearly_file.h"
#include "data/yearly_table.h"
#include "support/fuzz_support.h"

#include <QBuffer>
#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using Fuzz::check;

namespace {

struct PlainRows {
    QList<QByteArray> rows;
    qint64 notReadings = 0;
    qint64 first = 0;
    qint64 leftOut = 0;
};

// The rows of the file: its lines, without the line end (LF, or CR LF; and a lone CR
// when the title line ends with one), less the lines that are not readings and hold a
// control byte.
PlainRows plainRows(QByteArray bytes)
{
    const qsizetype lf = bytes.indexOf('\n');
    const QByteArray title = lf < 0 ? bytes : bytes.left(lf);
    const qsizetype cr = title.indexOf('\r');
    if (cr >= 0 && cr != title.size() - 1)
        bytes.replace("\r\n", "\n").replace('\r', '\n');
    QList<QByteArray> lines = bytes.split('\n');
    if (bytes.isEmpty() || bytes.endsWith('\n'))
        lines.removeLast();
    PlainRows plain;
    for (qsizetype n = 0; n < lines.size(); ++n) {
        QByteArray& line = lines[n];
        if (line.endsWith('\r'))
            line.chop(1);
        if (n > 0 && !YearlyFile::garbledLine(line).isEmpty()) {
            ++plain.notReadings;
            if (plain.first == 0)
                plain.first = n + 1;
            if (std::any_of(line.begin(), line.end(), [](char c) {
                    return (uchar(c) < 0x20 && c != '\t' && c != '\r') || c == '\x7f';
                })) {
                ++plain.leftOut;
                continue;
            }
        }
        plain.rows << line;
    }
    return plain;
}

// A row's fields: the texts between commas, the empty text after a last comma not
// counting, at most columns of them.
QList<QByteArray> plainFields(const QByteArray& row, int columns)
{
    QList<QByteArray> fields = row.split(',');
    if (fields.last().isEmpty())
        fields.removeLast();
    return fields.mid(0, columns);
}

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

QByteArray trimmedBlanks(QByteArray text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// Plain decimal numbers only; other forms are checked for sense, not value.
void checkValue(const QByteArray& text, double value)
{
    static const QRegularExpression simple(QStringLiteral("^-?[0-9]{1,15}(\\.[0-9]{0,6})?$"));
    const QByteArray t = trimmedBlanks(text);
    if (simple.match(QString::fromLatin1(t)).hasMatch())
        check(value == t.toDouble(), "a plain number read as another value");
    else if (!std::isnan(value))
        check(std::isfinite(value) && std::any_of(t.begin(), t.end(), [](char c) { return c >= '0' && c <= '9'; }),
              "a text without digits read as a number");
}

// Day first; the time optional.
qint64 plainStamp(const QByteArray& text)
{
    static const QRegularExpression date(QStringLiteral(
        "^[ \\t\\r]*([0-9]{1,2})[/.-]([0-9]{1,2})[/.-]([0-9]{4})"
        "(?:[ \\t\\r]+([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2}))?)?[ \\t\\r]*$"));
    const auto m = date.match(QString::fromLatin1(text));
    if (!m.hasMatch())
        return YearlyTable::noStamp;
    const QDate day(m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt());
    const int h = m.captured(4).toInt(), mi = m.captured(5).toInt(), s = m.captured(6).toInt();
    if (!day.isValid() || h > 23 || mi > 59 || s > 59)
        return YearlyTable::noStamp;
    return day.toJulianDay() * 86400 + h * 3600 + mi * 60 + s;
}

void checkAgainstPlainReading(const YearlyTable& table, const QByteArray& bytes)
{
    const PlainRows plain = plainRows(bytes);
    const QList<QByteArray>& rows = plain.rows;
    check(table.notReadings() == plain.notReadings && table.firstNotReading() == plain.first,
          "the lines that are not readings are not those the download finds garbled");
    check(table.leftOut() == plain.leftOut, "another number of lines left out");
    check(table.rowCount() == rows.size(), "another number of rows than lines");
    if (rows.isEmpty())
        return;
    const int columns = int(rows[0].count(',')) + 1;
    check(table.columnCount() == columns && table.seriesCount() == std::max(0, columns - 2),
          "the title's commas do not give the table's shape");
    for (int r = 0; r < rows.size(); ++r) {
        const QList<QByteArray> fields = plainFields(rows[r], columns);
        for (int c = 0; c < columns; ++c)
            check(table.field(r, c).toByteArray() == fields.value(c), "a field differs from the line's text");
        check(table.field(r, columns).isEmpty() && table.field(r, -1).isEmpty(), "a field outside the table");
        if (r == 0) {
            check(table.stamp(0) == YearlyTable::noStamp, "the title line has a date");
            continue;
        }
        check(table.stamp(r) == plainStamp(fields.value(0)), "a date read differently");
        check(table.stamp(r) == YearlyTable::noStamp || table.day(r) == table.stamp(r) / 86400,
              "a row's day is not its date's");
        for (int k = 0; k < table.seriesCount(); ++k) {
            checkValue(fields.value(k + 1), table.value(r, k));
            const double v = table.value(r, k);
            check(std::isnan(v) ? std::isnan(table.values(k)[r]) : table.values(k)[r] == v,
                  "a column and its value disagree");
        }
    }
}

void checkRange(const YearlyTable& table, std::optional<qint64> from, std::optional<qint64> to)
{
    const YearlyTable::Range r = table.rowsBetween(from, to);
    if (r.isEmpty())
        return;
    check(r.start >= 1 && r.end <= table.last(), "a range outside the data rows");
    if (!from && !to)
        return;
    for (int row : {r.start, r.end}) {
        const qint64 d = table.day(row);
        check(d != YearlyTable::noStamp && (!from || d >= *from || row == r.end)
                  && (!to || d <= *to || row == r.start),
              "a range that starts or ends on a row out of it");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // two bounds (days from 2026-01-01, 0 for none), two channels, then the file
    Fuzz::Input in(data, size);
    const qint64 base = QDate(2026, 1, 1).toJulianDay();
    const int fromByte = in.byte(), toByte = in.byte();
    const int channelBytes[2] = {in.byte(), in.byte()};
    const QByteArray bytes = in.rest();

    const QString path = Fuzz::freshFile(QStringLiteral("yearly.txt"));
    Fuzz::writeBytes(path, bytes);
    YearlyTable table;
    QString error;
    check(table.load(path, &error), "a readable file did not load");
    check(table.fileSize() == bytes.size(), "the table holds another number of bytes than the file");
    checkAgainstPlainReading(table, bytes);

    const auto bound = [base](int b) { return b ? std::optional<qint64>(base + b - 128) : std::nullopt; };
    checkRange(table, bound(fromByte), bound(toByte));
    checkRange(table, std::nullopt, std::nullopt);

    QList<int> channels;
    for (int b : channelBytes)
        if (table.seriesCount() > 0)
            channels << b % table.seriesCount();
    const YearlyTable::Range r = table.rowsBetween(bound(fromByte), bound(toByte));
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    check(YearlyExport::write(out, table, r.start, r.end, channels), "the export failed");
    check(out.data().count("\r\n") == 1 + r.count(), "the export has another number of rows than the range");
    return 0;
}
