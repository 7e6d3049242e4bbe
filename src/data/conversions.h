// The conversions every window applies to reply fields and to values it sends.
#pragma once

#include <QString>

#include <optional>

namespace Numbers {

// Leading-number parse: blanks, tabs and line feeds anywhere are skipped; sign, digits,
// "." fraction, "E"/"D" exponent; "," ends the number; no number gives 0.
double leadingNumber(const QString& text);

// Rounds to a 16-bit integer, halves to the even neighbour. A value outside
// -32768..32767 gives nothing; callers report it as an error.
std::optional<qint16> toInt16(double value);
// Val() then toInt16(); out of range gives 0 and the error's text in rangeError, or on
// stderr when the caller gives no place for it.
qint16 roundedInt16(const QString& text, QString* rangeError = nullptr);
// Rounds to a 32-bit integer, halves to even; out of range gives 0 and reports the same way.
qint32 roundedInt32(double value, QString* rangeError = nullptr);

// The sign-position text of a number: a non-negative number gets one leading blank
// (" 2", " 115"), a negative one its minus sign ("-3"). Shortest round-trip digits.
QString signedText(double value);
QString signedText(qint64 value);
inline QString signedText(int value) { return signedText(qint64(value)); }

// A number as plain text: the shortest general form (up to 15 significant digits, "."
// as the decimal point), no blank in front, whatever the locale.
QString plainNumber(double value);

// A number as the operator sees it: shortest ASCII digits, no leading blank; the
// decimal separator of the system's number format.
QString shownNumber(double value);

// Formats text with a display pattern ("00", "000", "00000", "00.00", "000.0",
// "0000.00", "######0.0##"): "0" is a digit always shown, "#" a digit shown only when
// significant. A text that is not a number stays as it is.
QString formatted(const QString& text, const QString& pattern);
QString formatted(double value, const QString& pattern);

// A values string for a write command: every value followed by ",".
QString valuesString(const QStringList& values);

// True when every character of text travels as one byte on the wire as text: a
// printable character of the Latin-1 set, no control character.
bool fitsTheWire(const QString& text);

// True when the whole text (blanks aside) reads as a number.
bool isNumeric(const QString& text);

} // namespace Numbers
