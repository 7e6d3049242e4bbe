// Reading the yearly file in one pass: each line is cut into its fields once, and the
// numbers and the date are read from the fields while they are at hand.
#include "data/yearly_table.h"

#include <QFile>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

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
    const auto [stop, error] = std::from_chars(p, end, v, std::chars_format::general);
    if (p == end || error != std::errc() || stop != end || !std::isfinite(v))
        return std::numeric_limits<double>::quiet_NaN();
    return v;
}

// The offsets are kept in 32 bits and the rows counted in an int.
constexpr qint64 largestFile = std::numeric_limits<qint32>::max();

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

qsizetype YearlyTable::estimatedRows() const
{
    // From the length of the lines at the start; the vectors grow past it if needed.
    const qsizetype sample = std::min<qsizetype>(bytes_.size(), 1 << 16);
    const qsizetype lines = std::count(bytes_.constData(), bytes_.constData() + sample, '\n');
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

    const char* nl = static_cast<const char*>(std::memchr(data, '\n', size));
    const qsizetype titleEnd = nl ? nl - data : size;
    const int commas = int(std::count(data, data + titleEnd, ','));
    columns_ = commas + 1;
    series_ = std::max(0, commas - 1);

    const qsizetype rows = estimatedRows();
    begin_.reserve(rows * columns_);
    rowEnd_.reserve(rows);
    stamp_.reserve(rows);
    values_.resize(series_);
    for (auto& v : values_)
        v.reserve(rows);
    scratch_.assign(columns_, 0);

    for (qsizetype at = 0; at < size;) {
        const char* lineEnd = static_cast<const char*>(std::memchr(data + at, '\n', size - at));
        const qsizetype next = lineEnd ? lineEnd - data : size;
        qsizetype end = next;
        if (end > at && data[end - 1] == '\r')
            --end;
        addRow(at, end);
        at = next + 1;
    }
    scratch_.clear();
    scratch_.shrink_to_fit();
}

void YearlyTable::addRow(qsizetype from, qsizetype to)
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
    while (p < end && fields < columns_) {
        const char* comma = static_cast<const char*>(std::memchr(p, ',', end - p));
        begins[fields] = quint32(p - data);
        scratch_[fields] = quint32((comma ? comma : end) - data);
        ++fields;
        if (!comma)
            break;
        p = comma + 1;
    }
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
        return;
    }
    const auto [dateBegin, dateEnd] = fieldText(0);
    stamp_.push_back(YearlyDates::parseStamp(dateBegin, dateEnd).value_or(noStamp));
    for (int k = 0; k < series_; ++k) {
        const auto [b, e] = fieldText(k + 1);
        values_[k].push_back(numberOf(b, e));
    }
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
