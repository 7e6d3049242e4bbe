// What a reading looks like, as the datalogger writes its records into the yearly file:
// a reading time of digits and the separators / - . : and blanks, then fields that are
// numbers or blank. The new-data download judges each block it receives by it, and the
// historical chart each line of the file it reads.
#pragma once

#include <QByteArrayView>

namespace ReadingLine {

// The time field: after its blanks are trimmed, a digit, then digits, blanks and / - . :
// only. The datalogger's own date form is its to choose.
bool isReadingTime(QByteArrayView field);
// A value field: blank, or a number with an optional sign, digits with an optional
// decimal point, and an optional exponent (e, E, d or D), blanks around it.
bool isNumberOrBlank(QByteArrayView field);
// Nothing but blanks: neither a reading nor a fault.
bool isBlank(QByteArrayView line);
// A line (without its line end) that is a reading. A blank line is none.
bool isReading(QByteArrayView line);

} // namespace ReadingLine
