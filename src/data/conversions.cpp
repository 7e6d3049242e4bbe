// Number parsing, rounding and display patterns shared by every window.
#include "data/conversions.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace Numbers {

namespace {

void reportRangeError(const QString& message, QString* rangeError)
{
    if (rangeError)
        *rangeError = message;
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

// The characters of text that the parse looks at: skipped characters removed.
QString compacted(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text)
        if (!isSkipped(c))
            out.append(c);
    return out;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of s that reads as a number, 0 when none.
int numberLength(const char* s, int n)
{
    int i = 0;
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    int digits = 0;
    while (i < n && isDigit(s[i]))
        ++i, ++digits;
    if (i < n && s[i] == '.') {
        int j = i + 1;
        int fraction = 0;
        while (j < n && isDigit(s[j]))
            ++j, ++fraction;
        if (digits + fraction > 0)
            i = j, digits += fraction;
    }
    if (digits == 0)
        return 0;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        int j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        const int expStart = j;
        while (j < n && isDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

// printf's %.15g: the shortest general form up to 15 significant digits, "." always.
// Most values read from the wire have few digits and a plain magnitude: their shortest
// round-trip digits in fixed notation are exactly what %.15g prints, and far cheaper.
QString shortest(double value)
{
    char buf[48];
    if (value == 0.0)
        value = 0.0;  // a negative zero is written as 0
    const double magnitude = std::fabs(value);
    if (magnitude == 0.0 || (magnitude >= 1e-4 && magnitude < 1e15)) {
        const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed);
        if (r.ec == std::errc()) {
            int significant = 0;
            bool leading = true;
            for (const char* p = buf; p < r.ptr; ++p) {
                if (*p < '0' || *p > '9')
                    continue;
                leading = leading && *p == '0';
                significant += leading ? 0 : 1;
            }
            if (significant <= 15)
                return QString::fromLatin1(buf, r.ptr - buf);
        }
    }
    const auto r = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    return QString::fromLatin1(buf, r.ptr - buf);
}

// The number that starts s (skipped characters already removed), or 0.
double parsePrefix(const char* s, int n)
{
    const int len = numberLength(s, n);
    if (len == 0)
        return 0.0;
    const char* first = s;
    const char* last = s + len;
    if (*first == '+')
        ++first;
    char exp[4096 + 1];
    if (std::find_if(first, last, [](char c) { return c == 'D' || c == 'd'; }) != last) {
        const int m = int(last - first);
        std::transform(first, last, exp, [](char c) { return c == 'D' || c == 'd' ? 'E' : c; });
        first = exp;
        last = exp + m;
    }
    double v = 0.0;
    const auto r = std::from_chars(first, last, v, std::chars_format::general);
    return r.ec == std::errc() && std::isfinite(v) ? v : 0.0;
}

} // namespace

double leadingNumber(const QString& text)
{
    // Fields are short: they are parsed from bytes without a copy of the whole text.
    char buf[128];
    int n = 0;
    bool fast = true;
    for (QChar c : text) {
        if (isSkipped(c))
            continue;
        if (c.unicode() > 0x7F || n == int(sizeof buf)) {
            fast = false;
            break;
        }
        buf[n++] = char(c.unicode());
    }
    if (fast)
        return parsePrefix(buf, n);
    // A long or unusual text: a number can only be made of ASCII characters.
    QByteArray ascii;
    for (QChar c : compacted(text)) {
        if (c.unicode() > 0x7F || ascii.size() == 4096)
            break;
        ascii.append(char(c.unicode()));
    }
    return parsePrefix(ascii.constData(), int(ascii.size()));
}

std::optional<qint16> toInt16(double value)
{
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!std::isfinite(r) || r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return qint16(r);
}

qint16 roundedInt16(const QString& text, QString* rangeError)
{
    const double v = leadingNumber(text);
    if (auto r = toInt16(v))
        return *r;
    reportRangeError(QStringLiteral("Overflow: %1 is not a 16-bit integer").arg(shortest(v)), rangeError);
    return 0;
}

qint32 roundedInt32(double value, QString* rangeError)
{
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) {
        reportRangeError(QStringLiteral("Overflow: %1 is not a 32-bit integer").arg(shortest(value)), rangeError);
        return 0;
    }
    return qint32(r);
}

QString plainNumber(double value) { return shortest(value); }

QString signedText(double value)
{
    const QString digits = shortest(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString signedText(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

// Digits are always ASCII, so that a number read back from a box, sent or put into a
// name is the same number whatever the system's locale; only the decimal separator
// follows the locale, when it is one the wire could carry.
QString shownNumber(double value)
{
    QString text = shortest(value);
    const QString point = QLocale().decimalPoint();  // the system's unless the program set another
    if (point.size() == 1 && point != QLatin1String(".") && fitsTheWire(point))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString valuesString(const QStringList& values)
{
    QString out;
    for (const QString& v : values)
        out += v + QLatin1Char(',');
    return out;
}

bool fitsTheWire(const QString& text)
{
    // Control characters would reach the datalogger as line ends and the like, inside a
    // value it stores and gives back in names.
    for (QChar c : text)
        if (c.unicode() > 0xFF || c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0))
            return false;
    return true;
}

// By hand rather than with a pattern: a download checks every value it receives.
bool isNumeric(const QString& text)
{
    const QStringView v = QStringView(text).trimmed();
    const qsizetype n = v.size();
    qsizetype i = 0;
    const auto digits = [&] {
        const qsizetype from = i;
        while (i < n && v[i] >= QLatin1Char('0') && v[i] <= QLatin1Char('9'))
            ++i;
        return i - from;
    };
    if (i < n && (v[i] == QLatin1Char('+') || v[i] == QLatin1Char('-')))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && v[i] == QLatin1Char('.')) {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return false;
    if (i < n && QStringLiteral("eEdD").contains(v[i])) {
        ++i;
        if (i < n && (v[i] == QLatin1Char('+') || v[i] == QLatin1Char('-')))
            ++i;
        if (digits() == 0)
            return false;
    }
    return i == n;
}

QString formatted(const QString& text, const QString& pattern)
{
    if (!isNumeric(text))
        return text;
    return formatted(leadingNumber(text), pattern);
}

QString formatted(double value, const QString& pattern)
{
    const int dot = int(pattern.indexOf(QLatin1Char('.')));
    const QString intPart = dot < 0 ? pattern : pattern.left(dot);
    const QString fracPart = dot < 0 ? QString() : pattern.mid(dot + 1);
    const int minInt = int(intPart.count(QLatin1Char('0')));
    const int minFrac = int(fracPart.count(QLatin1Char('0')));
    const int maxFrac = int(fracPart.size());

    // Halves round away from zero, as display patterns do.
    const double scale = std::pow(10.0, maxFrac);
    const double rounded = std::round(std::fabs(value) * scale) / scale;
    QString digits = QString::number(rounded, 'f', maxFrac);
    if (maxFrac > minFrac) {
        int keep = int(digits.size());
        const int minKeep = int(digits.size()) - (maxFrac - minFrac);
        while (keep > minKeep && digits[keep - 1] == QLatin1Char('0'))
            --keep;
        digits.truncate(keep);
        if (digits.endsWith(QLatin1Char('.')))
            digits.chop(1);
    }
    const int point = int(digits.indexOf(QLatin1Char('.')));
    QString whole = point < 0 ? digits : digits.left(point);
    const QString fraction = point < 0 ? QString() : digits.mid(point);
    if (whole == QLatin1String("0") && minInt == 0)
        whole.clear();
    while (whole.size() < minInt)
        whole.prepend(QLatin1Char('0'));
    const bool negative = value < 0 && rounded != 0.0;
    return (negative ? QStringLiteral("-") : QString()) + whole + fraction;
}

} // namespace Numbers
