// The values the wire cannot carry, named with the box that holds them.
#pragma once

#include <QString>

// Why text cannot go out as the value of the box called boxName ("SMS number 3 cannot
// contain a comma."), or an empty text when it can. A comma would end the value early and
// shift every later field on the datalogger; a character outside Latin-1 would arrive as
// "?", and a control character as a line end or worse.
QString unsendableReason(const QString& boxName, const QString& text);

// The text of the message that refuses a write, from the reason above.
QString refusalMessage(const QString& reason);
