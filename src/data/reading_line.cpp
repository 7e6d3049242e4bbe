// The rule of a reading, byte by byte: the download runs it on every block and the chart
// on every line of a year, so it stays a plain pass over the bytes.
#include "data/reading_line.h"

namespace ReadingLine {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
// The blanks trimmed around a line and its fields.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
// Around a number also the two Latin-1 blanks, no-break space and next-line.
bool isNumberSpace(char c) { return isSpace(c) || c == '\xa0' || c == '\x85'; }

template <typename Blank>
QByteArrayView trimmed(QByteArrayView v, Blank blank)
{
    qsizetype from = 0, to = v.size();
    while (from < to && blank(v[from]))
        ++from;
    while (to > from && blank(v[to - 1]))
        --to;
    return v.sliced(from, to - from);
}

bool isNumber(QByteArrayView v)
{
    const qsizetype n = v.size();
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && isDigit(v[i]))
            ++i;
        return i - from;
    };
    if (i < n && (v[i] == '+' || v[i] == '-'))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && v[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && (v[i] == 'e' || v[i] == 'E' || v[i] == 'd' || v[i] == 'D')) {
        ++i;
        if (i < n && (v[i] == '+' || v[i] == '-'))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

} // namespace

bool isReadingTime(QByteArrayView field)
{
    const QByteArrayView t = trimmed(field, isSpace);
    if (t.isEmpty() || !isDigit(t[0]))
        return false;
    for (char c : t) {
        if (!isDigit(c) && c != ' ' && c != '/' && c != ':' && c != '.' && c != '-')
            return false;
    }
    return true;
}

bool isNumberOrBlank(QByteArrayView field)
{
    return trimmed(field, isSpace).isEmpty() || isNumber(trimmed(field, isNumberSpace));
}

bool isBlank(QByteArrayView line) { return trimmed(line, isSpace).isEmpty(); }

bool isReading(QByteArrayView line)
{
    qsizetype comma = line.indexOf(',');
    if (!isReadingTime(comma < 0 ? line : line.first(comma)))
        return false;
    while (comma >= 0) {
        const qsizetype from = comma + 1;
        comma = line.indexOf(',', from);
        if (!isNumberOrBlank(line.sliced(from, (comma < 0 ? line.size() : comma) - from)))
            return false;
    }
    return true;
}

} // namespace ReadingLine
