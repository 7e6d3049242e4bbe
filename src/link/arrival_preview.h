// What a status line shows of bytes a peer sent: their first line, short and printable.
#pragma once

#include <QString>

namespace ArrivalPreview {

// The longest piece of a line that is shown; a longer line is cut and ends with "...".
constexpr int MaxCharacters = 80;

// The first line of text with its line end (CR LF, CR or LF) if one comes within the
// first MaxCharacters characters; otherwise those characters and "...". A control
// character inside the line is shown as "?". Costs the length of the piece, not of text.
QString firstLine(const QString& text);

} // namespace ArrivalPreview
