// ReadSequence: the reads after a connection, a table of steps (a read, the status text
// that names it, the pause after it) run in order by one runner, so that every window
// that connects shows the same progress and stops the same way on a silent datalogger.
#pragma once

#include "protocol/reply.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class DataloggerModel;
class Link;

namespace ReadSequence {

struct Step {
    std::function<void()> read;
    QString name;        // "Date and time": the status says "Date and time: OK"
    int pauseAfter = 0;  // hundredths of a second, by pause
};

enum class End {
    Completed,
    Silent,  // a read got no answer; the reads and steps after it did not run
};

// Runs the steps; status receives each step's text as it ends: "NAME: OK" when every
// read of the step got its field, "NAME: incomplete answer" when one timed out after
// others had answered, and "NAME: no answer" when its first read timed out. The
// sequence stops at the first read that times out: the reads after it in the same step
// end at once, and no later step runs, since a datalogger that stopped answering would
// only make each of them wait its field time-out. A step that reads nothing is OK.
End run(Link& link, const QList<Step>& steps, const std::function<void(const QString&)>& status);

// "D": the model code. The code decides the console's layout, so one that cannot be a
// model code is refused (the reason in refused, for the operator) and leaves the model
// as it was; a read that timed out gives nothing.
struct ModelCode {
    std::optional<qint16> code;
    bool sent = false;  // the command left
    QString refused;
};
ModelCode readModelCode(Link& link, DataloggerModel& datalogger);

// The switches the connection reads, each one field, the input kept: "U" alone, the
// events counter; "O" alone, the acquisition. The field is read even when the command
// did not leave (the step then counts its time-out), unless readUnsent is false.
Protocol::Reply readEventsCounter(Link& link);
Protocol::Reply readAcquisition(Link& link, bool readUnsent = true);

// What the sequence says when it has stopped on a silent datalogger.
QString silentDataloggerMessage();

} // namespace ReadSequence
