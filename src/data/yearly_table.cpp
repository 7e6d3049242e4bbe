// Reading the yearly file in one pass: each line is cut into its fields once, and the
// numbers and the date are read from the fields while they are at hand.
#include "data/yearly_table.h"

#include "data/reading_line.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

// A plain decimal ("-712.25"), as the datalogger writes its values, read by hand: up to
// 15 digits make an integer that a double holds exactly, and one division by an exact
// power of ten rounds to the nearest double, as from_chars does. False for any other form.
bool plainDecimal(const char* p, const char* end, double& out)
{
    static constexpr double tens[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                      1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = p < end && *p == '-';
    if (negative)
        ++p;
    quint64 digits = 0;
    int count = 0, decimals = 0;
    bool point = false;
    for (; p < end; ++p) {
        if (*p >= '0' && *p <= '9') {
            if (++count > 15)
                return false;
            digits = digits * 10 + quint64(*p - '0');
            decimals += point;
        } else if (*p == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    if (count == 0)
        return false;
    const double v = double(digits) / tens[decimals];
    out = negative ? -v : v;
    return true;
}

// A field as a number, blanks around it allowed; anything else (a blank field, "%%",
// "Timeout", a number followed by text) is no number.
double numberOf(const char* p, const char* end)
{
    while (p < end && isBlank(*p))
        ++p;
    while (end > p && isBlank(end[-1]))
        --end;
    if (p < end && *p == '+' && end - p > 1 && *(p + 1) != '-')
        ++p;
    double v = 0;
    if (plainDecimal(p, end, v))
        return v;
    const auto [stop, error] = std::from_chars(p, end, v, std::chars_format::general);
    if (p == end || error != std::errc() || stop != end || !std::isfinite(v))
        return std::numeric_limits<double>::quiet_NaN();
    return v;
}

// The offsets are kept in 32 bits and the rows counted in an int.
constexpr qint64 largestFile = std::numeric_limits<qint32>::max();

// A control byte other than tab and CR: what a binary tail or NUL padding holds and no
// line of text does.
bool holdsControlBytes(QByteArrayView line)
{
    for (char c : line) {
        const auto u = uchar(c);
        if ((u < 0x20 && c != '\t' && c != '\r') || u == 0x7f)
            return true;
    }
    return false;
}

// Cuts the file into lines: at LF or CR LF, or, when the first line ends with a lone CR,
// also at a lone CR. The next LF and CR are each searched for once, so a file is read
// once whatever its line ends.
class LineCutter {
public:
    LineCutter(const char* data, qsizetype size) : data_(data), size_(size)
    {
        // Only the title is searched for a CR here: a file with LF line ends has none.
        const qsizetype lf = next('\n', 0, lf_);
        const void* cr = std::memchr(data, '\r', lf);
        crEnds_ = cr && static_cast<const char*>(cr) - data + 1 != lf;
    }
    // The line that starts at `at`: where its text ends and where the next one starts.
    std::pair<qsizetype, qsizetype> line(qsizetype at)
    {
        const qsizetype lf = next('\n', at, lf_);
        if (!crEnds_) {
            const qsizetype end = lf > at && data_[lf - 1] == '\r' ? lf - 1 : lf;
            return {end, lf + 1};
        }
        const qsizetype cr = next('\r', at, cr_);
        if (lf < cr)
            return {lf, lf + 1};
        return {cr, cr + 1 == lf ? lf + 1 : cr + 1};
    }
    char lineEnd() const { return crEnds_ ? '\r' : '\n'; }

private:
    // The first c at or after at (size_ when there is none), found from the last one.
    qsizetype next(char c, qsizetype at, qsizetype& found) const
    {
        if (found < at) {
            const void* p = at < size_ ? std::memchr(data_ + at, c, size_ - at) : nullptr;
            found = p ? static_cast<const char*>(p) - data_ : size_;
        }
        return found;
    }

    const char* data_;
    qsizetype size_;
    qsizetype lf_ = -1;
    qsizetype cr_ = -1;
    bool crEnds_ = false;
};

} // namespace

bool YearlyTable::load(const QString& path, QString* error)
{
    *this = YearlyTable();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    const qint64 size = file.size();
    if (size > largestFile) {
        if (error)
            *error = QStringLiteral("the file is larger than 2 GB");
        return false;
    }
    // Read into a buffer of the file's size: readAll() would grow one step by step and
    // hold twice the file for a moment.
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 got = 0;
    while (got < size) {
        const qint64 n = file.read(bytes.data() + got, size - got);
        if (n < 0) {
            if (error)
                *error = file.errorString();
            return false;
        }
        if (n == 0)
            break;  // the file got shorter since its size was taken
        got += n;
    }
    bytes.truncate(got);
    parse(std::move(bytes));
    return true;
}

qsizetype YearlyTable::estimatedRows(char lineEnd) const
{
    // From the length of the lines at the start; the vectors grow past it if needed.
    const qsizetype sample = std::min<qsizetype>(bytes_.size(), 1 << 16);
    const qsizetype lines = std::count(bytes_.constData(), bytes_.constData() + sample, lineEnd);
    if (lines < 2)
        return 16;
    return qsizetype(double(bytes_.size()) / sample * lines * 1.1) + 16;
}

void YearlyTable::parse(QByteArray bytes)
{
    *this = YearlyTable();
    if (bytes.size() > largestFile)
        bytes.truncate(largestFile);
    bytes_ = std::move(bytes);
    const char* data = bytes_.constData();
    const qsizetype size = bytes_.size();
    if (size == 0)
        return;

    LineCutter lines(data, size);
    const qsizetype titleEnd = lines.line(0).first;
    const int commas = int(std::count(data, data + titleEnd, ','));
    columns_ = commas + 1;
    series_ = std::max(0, commas - 1);

    const qsizetype rows = estimatedRows(lines.lineEnd());
    begin_.reserve(rows * columns_);
    rowEnd_.reserve(rows);
    stamp_.reserve(rows);
    values_.resize(series_);
    for (auto& v : values_)
        v.reserve(rows);
    scratch_.assign(columns_, 0);

    qint64 number = 0;
    for (qsizetype at = 0; at < size;) {
        const auto [end, next] = lines.line(at);
        ++number;
        if (!addRow(at, end))
            judge(at, end, number);
        at = next;
    }
    scratch_.clear();
    scratch_.shrink_to_fit();
}

// A line the row's own reading could not vouch for is judged by the rule as a whole.
void YearlyTable::judge(qsizetype from, qsizetype to, qint64 lineNumber)
{
    const QByteArrayView line(bytes_.constData() + from, to - from);
    if (ReadingLine::isBlank(line) || ReadingLine::isReading(line))
        return;
    ++notReadings_;
    if (firstNotReading_ == 0)
        firstNotReading_ = lineNumber;
    if (holdsControlBytes(line)) {
        dropLastRow();
        ++leftOut_;
    }
}

void YearlyTable::dropLastRow()
{
    begin_.resize(begin_.size() - columns_);
    rowEnd_.pop_back();
    stamp_.pop_back();
    for (auto& v : values_)
        v.pop_back();
}

// Adds the line as a row. True when the row itself shows the line to be a reading (the
// title, or a reading time and a number in every channel and nothing after them), which
// is what every line of a sound file shows; false leaves the line to judge().
bool YearlyTable::addRow(qsizetype from, qsizetype to)
{
    const char* data = bytes_.constData();
    const size_t base = begin_.size();
    begin_.resize(base + columns_, blank);
    quint32* begins = begin_.data() + base;

    // Each field is the text before the next comma; the text after the last comma, when
    // there is some, is a field too, so that a line cut short loses no value.
    int fields = 0;
    const char* p = data + from;
    const char* const end = data + to;
    bool afterComma = false;
    while (p < end && fields < columns_) {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
        begins[fields] = quint32(p - data);
        scratch_[fields] = quint32((comma ? comma : end) - data);
        ++fields;
        afterComma = comma != nullptr;
        if (!comma)
            break;
        p = comma + 1;
    }
    const bool textPastTheTable = afterComma && p < end;
    rowEnd_.push_back(fields > 0 ? scratch_[fields - 1] : quint32(from));

    const auto fieldText = [&](int f) -> std::pair<const char*, const char*> {
        if (f >= fields)
            return {end, end};
        return {data + begins[f], data + scratch_[f]};
    };
    if (rowEnd_.size() == 1) {
        // The title line: no date, no numbers.
        stamp_.push_back(noStamp);
        for (auto& v : values_)
            v.push_back(std::numeric_limits<double>::quiet_NaN());
        return true;
    }
    const auto [dateBegin, dateEnd] = fieldText(0);
    stamp_.push_back(YearlyDates::parseStamp(dateBegin, dateEnd).value_or(noStamp));
    // A finite value is a number by the rule too; a blank or odd one is left to it.
    bool reading = fields == series_ + 1 && !textPastTheTable
                   && ReadingLine::isReadingTime(QByteArrayView(dateBegin, dateEnd));
    for (int k = 0; k < series_; ++k) {
        const auto [b, e] = fieldText(k + 1);
        const double v = numberOf(b, e);
        reading = reading && !std::isnan(v);
        values_[k].push_back(v);
    }
    return reading;
}

QByteArrayView YearlyTable::field(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_)
        return {};
    const size_t at = size_t(row) * columns_ + column;
    const quint32 b = begin_[at];
    if (b == blank)
        return {};
    // A field ends at the comma before the next field, the last one where the row's
    // fields end.
    const bool hasNext = column + 1 < columns_ && begin_[at + 1] != blank;
    const quint32 e = hasNext ? begin_[at + 1] - 1 : rowEnd_[row];
    return QByteArrayView(bytes_.constData() + b, e - b);
}

double YearlyTable::value(int row, int channel) const
{
    if (row < 0 || row >= rowCount() || channel < 0 || channel >= series_)
        return std::numeric_limits<double>::quiet_NaN();
    return values_[channel][row];
}

qint64 YearlyTable::stamp(int row) const
{
    return row >= 0 && row < rowCount() ? stamp_[row] : noStamp;
}

qint64 YearlyTable::day(int row) const
{
    const qint64 s = stamp(row);
    return s == noStamp ? noStamp : s / YearlyDates::secondsPerDay;
}

YearlyTable::Range YearlyTable::rowsBetween(std::optional<qint64> from, std::optional<qint64> to) const
{
    Range r;
    r.start = 1;
    r.end = last();
    if (!from && !to)
        return r;
    // A row whose date is not a date is never where a range starts or ends.
    r.start = -1;
    for (int row = 1; row <= last() && r.start < 0; ++row) {
        const qint64 d = day(row);
        if (d != noStamp && (!from || d >= *from))
            r.start = row;
    }
    r.end = -1;
    for (int row = last(); row >= 1 && r.end < 0; --row) {
        const qint64 d = day(row);
        if (d != noStamp && (!to || d <= *to))
            r.end = row;
    }
    if (r.start < 0 || r.end < 0)
        return Range{};
    return r;
}
