// The short, printable piece of a peer's data that a status line shows.
#include "link/arrival_preview.h"

namespace ArrivalPreview {

namespace {

bool isLineEnd(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

// C0 and C1 controls and DEL: a byte a box would draw as nothing, or as a box.
bool isControl(QChar c) { return c.unicode() < 0x20 || (c.unicode() >= 0x7F && c.unicode() < 0xA0); }

} // namespace

QString firstLine(const QString& text)
{
    QString shown;
    const qsizetype size = text.size();
    qsizetype i = 0;
    for (; i < size && i < MaxCharacters && !isLineEnd(text[i]); ++i)
        shown += isControl(text[i]) ? QLatin1Char('?') : text[i];
    if (i < size && isLineEnd(text[i])) {
        shown += text[i];
        if (text[i] == QLatin1Char('\r') && i + 1 < size && text[i + 1] == QLatin1Char('\n'))
            shown += QLatin1Char('\n');
    } else if (i < size) {
        shown += QLatin1String("...");
    }
    return shown;
}

} // namespace ArrivalPreview
