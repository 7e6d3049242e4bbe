// Number parsing, rounding and display patterns shared by every window.
#include "link/conversions.h"

#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

namespace Conversioni {

namespace {

void printRangeError(const QString& message) { std::fprintf(stderr, "%s\n", qPrintable(message)); }

void (*rangeErrorHandler)(const QString&) = printRangeError;

bool isSkipped(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

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

// Length of the longest prefix of s that reads as a number, 0 when none.
int numberLength(const QString& s)
{
    int i = 0;
    const int n = int(s.size());
    if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        ++i;
    int digits = 0;
    while (i < n && isDigit(s[i]))
        ++i, ++digits;
    if (i < n && s[i] == QLatin1Char('.')) {
        int j = i + 1;
        int fraction = 0;
        while (j < n && isDigit(s[j]))
            ++j, ++fraction;
        if (digits + fraction > 0)
            i = j, digits += fraction;
    }
    if (digits == 0)
        return 0;
    if (i < n && QStringLiteral("EeDd").contains(s[i])) {
        int j = i + 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            ++j;
        const int expStart = j;
        while (j < n && isDigit(s[j]))
            ++j;
        if (j > expStart)
            i = j;
    }
    return i;
}

QString shortest(double value) { return QString::number(value, 'g', 15); }

} // namespace

double Val(const QString& text)
{
    QString s = compacted(text);
    const int len = numberLength(s);
    if (len == 0)
        return 0.0;
    s.truncate(len);
    s.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('E'));
    bool ok = false;
    const double v = s.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

std::optional<qint16> toInt16(double value)
{
    const double r = std::nearbyint(value);  // the default rounding mode: halves to even
    if (!std::isfinite(r) || r < -32768.0 || r > 32767.0)
        return std::nullopt;
    return qint16(r);
}

qint16 CInt(const QString& text)
{
    const double v = Val(text);
    if (auto r = toInt16(v))
        return *r;
    rangeErrorHandler(QStringLiteral("Overflow: %1 is not a 16-bit integer").arg(shortest(v)));
    return 0;
}

qint32 CLng(double value)
{
    const double r = std::nearbyint(value);
    if (!std::isfinite(r) || r < -2147483648.0 || r > 2147483647.0) {
        rangeErrorHandler(QStringLiteral("Overflow: %1 is not a 32-bit integer").arg(shortest(value)));
        return 0;
    }
    return qint32(r);
}

void setRangeErrorHandler(void (*handler)(const QString&))
{
    rangeErrorHandler = handler ? handler : printRangeError;
}

QString Str(double value)
{
    const QString digits = shortest(value);
    return value < 0 ? digits : QLatin1Char(' ') + digits;
}

QString Str(qint64 value)
{
    return value < 0 ? QString::number(value) : QLatin1Char(' ') + QString::number(value);
}

// Digits are always ASCII, so that a number read back from a box, sent or put into a
// name is the same number whatever the system's locale; only the decimal separator
// follows the locale, when it is one the wire could carry.
QString CStr(double value)
{
    QString text = shortest(value);
    const QString point = QLocale().decimalPoint();  // the system's unless the program set another
    if (point.size() == 1 && point != QLatin1String(".") && fitsTheWire(point))
        text.replace(QLatin1Char('.'), point);
    return text;
}

QString Values(const QStringList& values)
{
    QString out;
    for (const QString& v : values)
        out += v + QLatin1Char(',');
    return out;
}

bool fitsTheWire(const QString& text)
{
    for (QChar c : text)
        if (c.unicode() > 0xFF)
            return false;
    return true;
}

bool IsNumeric(const QString& text)
{
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eEdD][+-]?\\d+)?$"));
    return number.match(text.trimmed()).hasMatch();
}

QString Format(const QString& text, const QString& pattern)
{
    if (!IsNumeric(text))
        return text;
    return Format(Val(text), pattern);
}

QString Format(double value, const QString& pattern)
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

} // namespace Conversioni
