// Dates of the yearly file and of the chart's date boxes, read without the locale: the
// datalogger writes them day first, whatever the system's conventions.
#include "data/yearly_table.h"

#include <QDate>

namespace YearlyDates {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// minDigits..maxDigits digits at p; p moves past them.
bool number(const char*& p, const char* end, int minDigits, int maxDigits, int& out)
{
    int n = 0, v = 0;
    while (p < end && n < maxDigits && isDigit(*p)) {
        v = v * 10 + (*p - '0');
        ++p, ++n;
    }
    out = v;
    return n >= minDigits && (p == end || !isDigit(*p));
}

bool dateSeparator(const char*& p, const char* end)
{
    if (p < end && (*p == '/' || *p == '-' || *p == '.')) {
        ++p;
        return true;
    }
    return false;
}

bool timeSeparator(const char*& p, const char* end)
{
    if (p < end && *p == ':') {
        ++p;
        return true;
    }
    return false;
}

// Julian day of a date; the last one asked for is remembered, since a file's lines come
// by the hundreds per day.
std::optional<qint64> julianDay(int y, int m, int d)
{
    thread_local int lastY = 0, lastM = 0, lastD = 0;
    thread_local qint64 lastDay = 0;
    if (y == lastY && m == lastM && d == lastD)
        return lastDay;
    if (!QDate::isValid(y, m, d))
        return std::nullopt;
    lastY = y, lastM = m, lastD = d;
    lastDay = QDate(y, m, d).toJulianDay();
    return lastDay;
}

} // namespace

std::optional<qint64> parseStamp(const char* p, const char* end)
{
    while (p < end && isBlank(*p))
        ++p;
    while (end > p && isBlank(end[-1]))
        --end;
    int d = 0, m = 0, y = 0;
    if (!number(p, end, 1, 2, d) || !dateSeparator(p, end) || !number(p, end, 1, 2, m)
        || !dateSeparator(p, end) || !number(p, end, 4, 4, y))
        return std::nullopt;
    const std::optional<qint64> day = julianDay(y, m, d);
    if (!day)
        return std::nullopt;
    int seconds = 0;
    if (p < end) {
        const char* before = p;
        while (p < end && isBlank(*p))
            ++p;
        int h = 0, mi = 0, s = 0;
        if (p == before || !number(p, end, 1, 2, h) || !timeSeparator(p, end)
            || !number(p, end, 1, 2, mi))
            return std::nullopt;
        if (timeSeparator(p, end) && !number(p, end, 1, 2, s))
            return std::nullopt;
        if (p != end || h > 23 || mi > 59 || s > 59)
            return std::nullopt;
        seconds = h * 3600 + mi * 60 + s;
    }
    return *day * secondsPerDay + seconds;
}

std::optional<qint64> parseDay(const QString& text)
{
    const QByteArray latin = text.toLatin1();
    const std::optional<qint64> stamp = parseStamp(latin.constData(), latin.constData() + latin.size());
    if (!stamp)
        return std::nullopt;
    return *stamp / secondsPerDay;
}

} // namespace YearlyDates
