// The comma-and-line fields of the small settings files (the phone books): how a value is
// read back, and how it is written so that it reads back unchanged.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace SettingsFields {

// Splits a file into its fields, in order. A field ends at a comma or at the line end
// (CR LF or LF); leading blanks are skipped; a field opened by a double quote runs to the
// next lone double quote, a doubled one ("") standing for one quote inside it, and what
// follows the closing quote up to the comma or line end is dropped. An empty line is
// one empty field. One byte is one character.
QStringList read(const QByteArray& content);

// A value as it goes on its line: as it is, unless it holds a comma or starts with a
// double quote or a blank (which the reader would skip); such a value goes between double
// quotes with its quotes doubled, so that read() gives it back whole. Files written by
// older versions hold only plain values and read as before.
QString write(const QString& value);

} // namespace SettingsFields
