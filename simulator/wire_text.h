// Number <-> text on the datalogger's side of the wire (always "." as decimal point).
#pragma once

#include <QByteArray>

namespace wire {

// Leading-number parse: blanks skipped, then sign, digits, point, exponent; 0 if none.
double number(const QByteArray& text);
bool isNumber(const QByteArray& text);
int integer(const QByteArray& text);   // number() rounded to the nearest integer
QByteArray fixed(double v, int decimals);
QByteArray general(double v);          // shortest form: 2.5, 100, -0.125
QByteArray padded(int v, int width);   // zero-padded: 007
QByteArray rightAligned(int v, int width);   // blank-padded: "  8"
QByteArray field(const QByteArray& text);    // text followed by its comma

} // namespace wire
