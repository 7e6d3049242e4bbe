// Settings-file text: line ends, text or not, and printable excerpts for messages.
#include "data/settings_text.h"

#include <QChar>
#include <QStringView>

namespace SettingsText {

namespace {

// The character at text[at]: its length in bytes and whether it is printable. A byte that
// starts no valid UTF-8 sequence is one unprintable character.
std::pair<qsizetype, bool> characterAt(QByteArrayView text, qsizetype at)
{
    const auto b = uchar(text[at]);
    if (b < 0x80)
        return {1, b >= 0x20 && b != 0x7f};
    const qsizetype length = b >= 0xf0 ? 4 : b >= 0xe0 ? 3 : b >= 0xc0 ? 2 : 0;
    if (length == 0 || at + length > text.size() || !text.sliced(at, length).isValidUtf8())
        return {1, false};
    const QString decoded = QString::fromUtf8(text.sliced(at, length));
    const char32_t c = QStringView(decoded).toUcs4().value(0);
    return {length, QChar::isPrint(c)};
}

} // namespace

QList<QByteArrayView> lines(QByteArrayView text)
{
    QList<QByteArrayView> out;
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        out << text.sliced(from, i - from);
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        from = i + 1;
    }
    if (from < text.size())
        out << text.sliced(from);
    return out;
}

bool isText(QByteArrayView line)
{
    for (qsizetype at = 0; at < line.size();) {
        const auto [length, printable] = characterAt(line, at);
        if (!printable && line[at] != '\t')
            return false;
        at += length;
    }
    return true;
}

QString printable(QByteArrayView text, int shown)
{
    QString out;
    int characters = 0;
    qsizetype at = 0;
    for (; at < text.size() && characters < shown; ++characters) {
        const auto [length, printable] = characterAt(text, at);
        if (printable)
            out += QString::fromUtf8(text.sliced(at, length));
        else
            out += QStringLiteral("\\x%1").arg(uint(uchar(text[at])), 2, 16, QLatin1Char('0'));
        at += printable ? length : 1;
    }
    if (at < text.size())
        out += QStringLiteral("...");
    return out;
}

QString printable(const QString& text, int shown)
{
    return printable(QByteArrayView(text.toUtf8()), shown);
}

} // namespace SettingsText
