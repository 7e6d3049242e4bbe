// The health reads and the clock write on the link.
#include "protocol/health.h"

#include "data/conversions.h"
#include "link/link.h"
#include "link/link_transport.h"

#include <cmath>

namespace Health {

namespace {

const QString timeoutMark = QStringLiteral("%%");

bool answered(const QString& field) { return field != timeoutMark; }

QStringList readFields(Link& link, int count)
{
    QStringList fields;
    for (int i = 0; i < count; ++i)
        fields << link.readField();
    return fields;
}

Outcome outcomeOf(Link& link, bool sent, const QStringList& fields)
{
    const auto got = std::count_if(fields.cbegin(), fields.cend(), answered);
    if (got == fields.size())
        return Outcome::Answered;
    LinkTransport* t = link.transport();
    if (!sent || !t || t->lost())
        return Outcome::Lost;
    return got == 0 ? Outcome::Silent : Outcome::Incomplete;
}

// A field that reads as a number (blanks aside); nothing for "%%" or garbage.
std::optional<double> number(const QString& field)
{
    if (!answered(field) || !Numbers::isNumeric(field))
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

QDateTime clockTime(const QStringList& fields)
{
    std::optional<int> parts[5];
    for (int i = 0; i < 5; ++i)
        if (!(parts[i] = wholeNumber(fields.value(i))))
            return QDateTime();
    int year = *parts[2];
    if (year < 100)
        year += 2000;  // a two-digit year
    const QDate date(year, *parts[1], *parts[0]);
    const QTime time(*parts[3], *parts[4]);
    if (!date.isValid() || !time.isValid())
        return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

} // namespace

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

ClockRead readClock(Link& link)
{
    ClockRead r;
    link.flushInput();
    const bool sent = link.sendCommand(QStringLiteral("G"), QStringLiteral(","));
    r.fields = readFields(link, 5);
    r.outcome = outcomeOf(link, sent, r.fields);
    if (r.outcome == Outcome::Answered)
        r.time = clockTime(r.fields);
    return r;
}

QString dateValues(const QString& day, const QString& month, double year, const QString& hour,
                   const QString& minute)
{
    return Numbers::valuesString({day, month, Numbers::signedText(year - 1900), hour, minute});
}

bool writeClock(Link& link, const QString& day, const QString& month, double year, const QString& hour,
                const QString& minute)
{
    return link.sendCommand(QStringLiteral("g"), dateValues(day, month, year, hour, minute));
}

bool writeClock(Link& link, const QDateTime& time)
{
    const QDate d = time.date();
    const QTime t = time.time();
    return writeClock(link, QString::number(d.day()), QString::number(d.month()), d.year(),
                      QStringLiteral("%1").arg(t.hour(), 2, 10, QLatin1Char('0')),
                      QStringLiteral("%1").arg(t.minute(), 2, 10, QLatin1Char('0')));
}

InternalParameters readInternalParameters(Link& link)
{
    InternalParameters r;
    const bool sent = link.sendCommand(QStringLiteral("W"), QString());
    r.fields = readFields(link, 3);
    r.outcome = outcomeOf(link, sent, r.fields);
    r.fiveVolt = number(r.fields[0]);
    r.vint = number(r.fields[1]);
    r.battery = number(r.fields[2]);
    return r;
}

MemoryState readMemoryState(Link& link)
{
    MemoryState r;
    const bool sent = link.sendCommand(QStringLiteral("M"), QStringLiteral(","));
    r.fields = readFields(link, 2);
    r.outcome = outcomeOf(link, sent, r.fields);
    r.total = wholeNumber(r.fields[0]);
    r.free = wholeNumber(r.fields[1]);
    return r;
}

} // namespace Health
