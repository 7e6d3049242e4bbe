// The sensor and alert windows' rows, without widgets: each channel's name and
// coefficients ("R"/"r"), its alert switch and thresholds ("J"/"j"), and the five SMS
// texts ("X"/"x"). A channel goes as its number with the sign blank (" 17,").
#pragma once

#include "protocol/reply.h"

#include <QString>
#include <QStringList>

class Link;

namespace Sensors {

using Protocol::Reply;

// "R" with the channel: its name, zero and full scale in volts, zero and full scale in
// units (five fields), then the pause of 10.
Reply readCoefficients(Link& link, int channel);
// "r" with the channel and those five texts.
bool writeCoefficients(Link& link, int channel, const QStringList& texts);

// "J" with the channel: its alert switch, high and low thresholds (three fields), then
// the pause of 10.
Reply readAlert(Link& link, int channel);
// "j" with the channel and those three texts.
bool writeAlert(Link& link, int channel, const QStringList& texts);

// "X" alone: the five SMS lines, with the pause of 10 after each.
Reply readSmsTexts(Link& link);
// "x" alone, then each line as a command text of its own with its comma and the pause of
// 10, then "X" alone. The lines go as they are, untrimmed.
bool writeSmsTexts(Link& link, const QStringList& lines);

} // namespace Sensors
