// The runner of the reads after a connection.
#include "protocol/read_sequence.h"

#include "data/conversions.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"

namespace ReadSequence {

End run(Link& link, const QList<Step>& steps, const std::function<void(const QString&)>& status)
{
    for (const Step& step : steps) {
        link.resetTally();
        {
            // The reads of the step after its first unanswered one end at once.
            Link::EndAtFirstTimeout endEarly(link);
            step.read();
        }
        const Link::ReadTally got = link.tally();
        if (got.timeouts > 0) {
            status(step.name + (got.timeouts == got.reads ? QStringLiteral(": no answer")
                                                          : QStringLiteral(": incomplete answer")));
            return End::Silent;
        }
        status(step.name + QStringLiteral(": OK"));
        if (step.pauseAfter > 0)
            link.pause(step.pauseAfter);
    }
    return End::Completed;
}

ModelCode readModelCode(Link& link, DataloggerModel& datalogger)
{
    ModelCode read;
    read.sent = link.sendCommand(QStringLiteral("D"), QStringLiteral(","));
    const QString field = link.readField();
    if (field == QLatin1String("%%"))
        return read;
    const auto code = Numbers::toInt16(Numbers::leadingNumber(field));
    if (!code) {
        read.refused = QStringLiteral("The datalogger sent a model code that cannot be valid: ") + field.trimmed();
        return read;
    }
    datalogger.setModelCode(*code);
    read.code = code;
    return read;
}

Protocol::Reply readEventsCounter(Link& link)
{
    return Protocol::exchange(link, QStringLiteral("U"), QString(), 1);
}

Protocol::Reply readAcquisition(Link& link, bool readUnsent)
{
    const bool sent = link.sendCommand(QStringLiteral("O"), QString());
    if (!sent && !readUnsent)
        return {Protocol::Outcome::Lost, {}};
    return Protocol::readReply(link, sent, 1);
}

QString silentDataloggerMessage()
{
    return QStringLiteral("The datalogger stopped answering during the connection.");
}

} // namespace ReadSequence
