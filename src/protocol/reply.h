// What an exchange with the datalogger brought back: its fields as they came (the
// time-out mark "%%" where none came) and how it ended. Every protocol call returns one,
// or a value built on one.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Link;

namespace Protocol {

enum class Outcome {
    Answered,    // every field came
    Incomplete,  // some fields came, then the datalogger fell silent
    Silent,      // no field came
    Lost,        // the link went (or the command could not leave)
};

// "answered", "incomplete", "silent", "lost".
QString outcomeName(Outcome outcome);

struct Reply {
    Outcome outcome = Outcome::Silent;
    QStringList fields;
    bool answered() const { return outcome == Outcome::Answered; }
};

// The mark a field read that timed out gives.
bool isTimeoutMark(const QString& field);

// Sends command with values, then reads count fields one after the other, each with the
// field time-out (a silent datalogger costs count time-outs, as the console has always
// waited). flushFirst empties the input before the command.
Reply exchange(Link& link, const QString& command, const QString& values, int count, bool flushFirst = false);
// How an exchange that brought these fields ended (sent: whether its command left).
Outcome outcomeOf(Link& link, bool sent, const QStringList& fields);
// Reads count more fields after a command that was sent (sent: whether it left).
Reply readReply(Link& link, bool sent, int count);

// A field that reads as a number (blanks aside); nothing for "%%" or garbage.
std::optional<double> number(const QString& field);
// A field that reads as a whole number 0..2^31-1.
std::optional<int> wholeNumber(const QString& field);
// A switch's field: 1 on, 0 off; nothing for anything else.
std::optional<bool> switchState(const QString& field);

} // namespace Protocol
