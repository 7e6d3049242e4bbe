// Number <-> text on the wire.
#include "wire_text.h"

#include <cmath>
#include <cstdio>

namespace wire {

namespace {

// The numeric prefix of text with blanks removed.
QByteArray numericPrefix(const QByteArray& text)
{
    QByteArray s;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r')
            s += c;
    int i = 0;
    const int n = int(s.size());
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    int digits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && s[i] >= '0' && s[i] <= '9') { ++i; ++digits; }
    }
    if (digits == 0)
        return {};
    int end = i;
    if (i < n && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        int j = i + 1;
        if (j < n && (s[j] == '+' || s[j] == '-'))
            ++j;
        const int expStart = j;
        while (j < n && s[j] >= '0' && s[j] <= '9')
            ++j;
        if (j > expStart)
            end = j;
    }
    QByteArray p = s.left(end);
    for (char& c : p)
        if (c == 'D' || c == 'd')
            c = 'E';
    return p;
}

} // namespace

double number(const QByteArray& text)
{
    const QByteArray p = numericPrefix(text);
    return p.isEmpty() ? 0.0 : p.toDouble();
}

bool isNumber(const QByteArray& text)
{
    return !numericPrefix(text).isEmpty();
}

int integer(const QByteArray& text)
{
    const double v = number(text);
    if (!(v > -2e9 && v < 2e9))
        return 0;
    return int(std::lround(v));
}

QByteArray fixed(double v, int decimals)
{
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return QByteArray(buf);
}

QByteArray general(double v)
{
    return QByteArray::number(v, 'g', 10);
}

QByteArray padded(int v, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*d", width, v);
    return QByteArray(buf);
}

QByteArray rightAligned(int v, int width)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%*d", width, v);
    return QByteArray(buf);
}

QByteArray field(const QByteArray& text)
{
    return text + ',';
}

} // namespace wire
