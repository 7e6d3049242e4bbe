// The runner of the reads after a connection.
#include "link/read_sequence.h"

#include "link/modulo1.h"

namespace Modulo1 {

SequenceEnd runReadSequence(const QList<ReadStep>& steps,
                            const std::function<void(const QString&)>& status)
{
    for (const ReadStep& step : steps) {
        readTally() = ReadTally();
        step.read();
        const ReadTally got = readTally();
        const bool silent = got.reads > 0 && got.timeouts == got.reads;
        if (silent) {
            status(step.name + QStringLiteral(": no answer"));
            return SequenceEnd::Silent;
        }
        status(step.name + (got.timeouts > 0 ? QStringLiteral(": incomplete answer")
                                             : QStringLiteral(": OK")));
        if (step.pauseAfter > 0)
            Pausa(step.pauseAfter);
    }
    return SequenceEnd::Completed;
}

QString silentDataloggerMessage()
{
    return QStringLiteral("The datalogger stopped answering during the connection.");
}

} // namespace Modulo1
