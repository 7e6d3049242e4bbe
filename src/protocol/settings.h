// The console's reads and writes of the datalogger's settings, without widgets: one call
// per command, putting on the wire exactly what the console's buttons always have, and
// giving back the reply's fields and outcome (the console shows the fields as they came,
// the time-out mark included). Writes return whether the command left.
#pragma once

#include "protocol/reply.h"

#include <QString>
#include <QStringList>

#include <array>

class Link;

namespace Settings {

using Protocol::Reply;

// "Q": the datalogger's name (one field). "q": a new name, sent as one value.
Reply readName(Link& link);
bool writeName(Link& link, const QString& name);

// "Y" with ",", after emptying the input: the START time, day, month, year, hour,
// minute and a sixth field the console does not show.
Reply readStartTime(Link& link);
// "y" with the values of a date row (see Health::dateValues).
bool writeStartTime(Link& link, const QString& day, const QString& month, double year, const QString& hour,
                    const QString& minute);

// "C" with ",": the acquisition timer, hours, minutes, seconds.
Reply readTimer(Link& link);
// The timer's parts as they go out and as the console shows them after a write: each
// part's number in three digits (a part that holds no number goes as 000).
std::array<QString, 3> timerParts(const std::array<QString, 3>& typed);
// "c" with the three parts.
bool writeTimer(Link& link, const std::array<QString, 3>& parts);
// The shortest timer, in seconds, the datalogger may record at: a GSM datalogger needs
// time between acquisitions for its modem.
int shortestTimer(bool gsm);

// "E" with ",": the sensors' pre-heating time.
Reply readPreheating(Link& link);
// The pre-heating time as it goes out: its number in five digits.
QString preheatingText(const QString& typed);
// "e" with that text.
bool writePreheating(Link& link, const QString& text);
// The longest pre-heating time the datalogger takes.
constexpr double LongestPreheating = 30000;

// "H" with the multiplexer (0..3): its channel count (one field), then the pause of 20.
Reply readChannelCount(Link& link, int mux);
// "b" with "," and the pause of 20, then "h" with each multiplexer and its count: the
// memory is reset before the counts change.
bool writeChannelCounts(Link& link, const std::array<double, 4>& counts);

// "O" alone, after emptying the input: the acquisition switch (1 running).
Reply readAcquisitionSwitch(Link& link);
// "o" asking for on or off, then the pause of 50.
bool setAcquisition(Link& link, bool on);

// "u" asking for on or off, the pause of 50, then "U" with ",": the events counter's
// switch as it now is.
Reply setEventsCounter(Link& link, bool on);
// "U" with ",": the events counter's switch.
Reply readEventsCounterSwitch(Link& link);
// "L" with ",": the events counted.
Reply readEventsCount(Link& link);

// "Y" alone, after emptying the input: the e-mail switch. "y" asking for on or off, then
// the pause of 50.
Reply readEmailSwitch(Link& link);
bool setEmail(Link& link, bool on);
// "j" asking for the GSM function on or off, then the pause of 50. There is no read.
bool setGsmFunction(Link& link, bool on);

// "I" alone: the ten SMS alert numbers, how many are in use and the SMS switch (twelve
// fields). "F" alone: the number to call and the phone switch.
Reply readSmsAlerts(Link& link);
Reply readPhoneAlert(Link& link);
// A switch sent with the numbers: one that repeats the state it has goes with the blank
// of its sign position (" 1"), one being changed as "1" or "0".
QString keptSwitch(bool on);
QString changedSwitch(bool on);
// "i" with the ten numbers, the count and the SMS switch; "f" with the number to call and
// the phone switch.
bool writeSmsAlerts(Link& link, const QStringList& numbers, const QString& count, const QString& smsSwitch);
bool writePhoneAlert(Link& link, const QString& number, const QString& phoneSwitch);

// "K" alone, after emptying the input: the ten GPRS, e-mail and FTP settings. "k" with
// the ten values.
Reply readGprs(Link& link);
bool writeGprs(Link& link, const QStringList& values);

// ">" alone, after emptying the input: the internet-connection switch. "<1," or "<0,",
// then the pause of 50.
Reply readInternetSwitch(Link& link);
bool setInternetSwitch(Link& link, bool on);

// "y" with the START time 1/1/2000 00:00 ("1,1,100,00,00,"): the acquisition starts at once.
bool startAtOnce(Link& link);
// "d" with "0,0,0,0,0,": the datalogger goes on converting on its own once the console
// has gone.
bool leaveConverting(Link& link);

// "b" alone, then the pause of 20: the memory is erased.
bool eraseMemory(Link& link);
// "z" alone, then the pause of 20: the datalogger is reset, its memory and settings with it.
bool resetDatalogger(Link& link);
// "z" with ",", as the start window sends it before a connection.
bool resetBeforeConnecting(Link& link);

} // namespace Settings
