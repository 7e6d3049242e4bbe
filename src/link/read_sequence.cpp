// The runner of the reads after a connection.
#include "link/read_sequence.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/exchange.h"

namespace Exchange {

SequenceEnd runReadSequence(const QList<ReadStep>& steps,
                            const std::function<void(const QString&)>& status)
{
    for (const ReadStep& step : steps) {
        readTally() = ReadTally();
        {
            // The reads of the step after its first unanswered one end at once.
            EndAtFirstTimeout endEarly;
            step.read();
        }
        const ReadTally got = readTally();
        if (got.timeouts > 0) {
            status(step.name + (got.timeouts == got.reads ? QStringLiteral(": no answer")
                                                          : QStringLiteral(": incomplete answer")));
            return SequenceEnd::Silent;
        }
        status(step.name + QStringLiteral(": OK"));
        if (step.pauseAfter > 0)
            pause(step.pauseAfter);
    }
    return SequenceEnd::Completed;
}

std::optional<qint16> readModelCode(bool* sent)
{
    const bool left = sendCommand(QStringLiteral("D"), QStringLiteral(","));
    if (sent)
        *sent = left;
    const QString field = readField();
    if (field == QLatin1String("%%"))
        return std::nullopt;
    const auto code = Numbers::toInt16(Numbers::leadingNumber(field));
    if (!code) {
        dialogs().inform(QStringLiteral("The datalogger sent a model code that cannot be valid: ")
                             + field.trimmed(),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
        return std::nullopt;
    }
    loggerModelCode = *code;
    return code;
}

QString silentDataloggerMessage()
{
    return QStringLiteral("The datalogger stopped answering during the connection.");
}

} // namespace Exchange
