// Reading and writing the comma-and-line fields of the settings files.
#include "data/settings_fields.h"

namespace SettingsFields {

namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

// Moves past one line end (CR LF, CR or LF) at i.
qsizetype skipLineEnd(const QByteArray& s, qsizetype i)
{
    if (i < s.size() && s[i] == '\r')
        ++i;
    if (i < s.size() && s[i] == '\n')
        ++i;
    return i;
}

// A quoted field starting after its opening quote at i; returns the position after the
// closing quote (or the line end, when the quote is never closed).
qsizetype readQuoted(const QByteArray& s, qsizetype i, QByteArray& out)
{
    while (i < s.size() && !isLineEnd(s[i])) {
        if (s[i] != '"') {
            out += s[i++];
            continue;
        }
        if (i + 1 < s.size() && s[i + 1] == '"') {
            out += '"';
            i += 2;
            continue;
        }
        return i + 1;
    }
    return i;
}

} // namespace

QStringList read(const QByteArray& content)
{
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = content.size();
    while (i < n) {
        while (i < n && content[i] == ' ')
            ++i;
        QByteArray field;
        if (i < n && content[i] == '"') {
            i = readQuoted(content, i + 1, field);
            while (i < n && content[i] != ',' && !isLineEnd(content[i]))
                ++i;
        } else {
            while (i < n && content[i] != ',' && !isLineEnd(content[i]))
                field += content[i++];
        }
        fields << QString::fromLatin1(field);
        if (i < n && content[i] == ',') {
            ++i;
            // A comma at the very end of a line still ends a field: the empty one after it.
            if (i >= n || isLineEnd(content[i]))
                fields << QString();
        }
        i = skipLineEnd(content, i);
    }
    return fields;
}

QString write(const QString& typed)
{
    // A line break typed or pasted into a value would start a line of its own and shift
    // every value after it: it is written as a blank.
    QString value = typed;
    value.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool plain = !value.contains(QLatin1Char(',')) && !value.startsWith(QLatin1Char('"'))
                       && !value.startsWith(QLatin1Char(' '));
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

} // namespace SettingsFields
