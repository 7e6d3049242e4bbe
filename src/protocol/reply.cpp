// Replies read off the link, and the values in their fields.
#include "protocol/reply.h"

#include "data/conversions.h"
#include "link/link.h"
#include "link/link_transport.h"

#include <algorithm>
#include <cmath>

namespace Protocol {

QString outcomeName(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Answered: return QStringLiteral("answered");
    case Outcome::Incomplete: return QStringLiteral("incomplete");
    case Outcome::Silent: return QStringLiteral("silent");
    case Outcome::Lost: return QStringLiteral("lost");
    }
    return QString();
}

bool isTimeoutMark(const QString& field) { return field == QLatin1String("%%"); }

Outcome outcomeOf(Link& link, bool sent, const QStringList& fields)
{
    const auto got = std::count_if(fields.cbegin(), fields.cend(), [](const QString& f) { return !isTimeoutMark(f); });
    LinkTransport* t = link.transport();
    if (got == fields.size())
        return Outcome::Answered;
    if (!sent || !t || t->lost())
        return Outcome::Lost;
    return got == 0 ? Outcome::Silent : Outcome::Incomplete;
}

Reply readReply(Link& link, bool sent, int count)
{
    Reply r;
    for (int i = 0; i < count; ++i)
        r.fields << link.readField();
    r.outcome = outcomeOf(link, sent, r.fields);
    return r;
}

Reply exchange(Link& link, const QString& command, const QString& values, int count, bool flushFirst)
{
    if (flushFirst)
        link.flushInput();
    const bool sent = link.sendCommand(command, values);
    return readReply(link, sent, count);
}

std::optional<double> number(const QString& field)
{
    if (isTimeoutMark(field) || !Numbers::isNumeric(field))
        return std::nullopt;
    const double v = Numbers::leadingNumber(field);
    return std::isfinite(v) ? std::optional<double>(v) : std::nullopt;
}

std::optional<int> wholeNumber(const QString& field)
{
    const std::optional<double> v = number(field);
    if (!v || *v < 0 || *v > 2147483647.0 || *v != std::floor(*v))
        return std::nullopt;
    return int(*v);
}

std::optional<bool> switchState(const QString& field)
{
    const std::optional<int> v = wholeNumber(field);
    if (!v || *v > 1)
        return std::nullopt;
    return *v == 1;
}

} // namespace Protocol
