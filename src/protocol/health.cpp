// The health reads and the clock write on the link.
#include "protocol/health.h"

#include "data/conversions.h"
#include "link/link.h"
#include "link/link_transport.h"

#include <cmath>

namespace Health {

namespace {

using Protocol::number;
using Protocol::wholeNumber;

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

ClockRead readClock(Link& link)
{
    ClockRead r;
    const Protocol::Reply reply = Protocol::exchange(link, QStringLiteral("G"), QStringLiteral(","), 5, true);
    r.fields = reply.fields;
    r.outcome = reply.outcome;
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
    const Protocol::Reply reply = Protocol::exchange(link, QStringLiteral("W"), QString(), 3);
    r.fields = reply.fields;
    r.outcome = reply.outcome;
    r.fiveVolt = number(r.fields[0]);
    r.vint = number(r.fields[1]);
    r.battery = number(r.fields[2]);
    return r;
}

MemoryState readMemoryState(Link& link)
{
    MemoryState r;
    const Protocol::Reply reply = Protocol::exchange(link, QStringLiteral("M"), QStringLiteral(","), 2);
    r.fields = reply.fields;
    r.outcome = reply.outcome;
    r.total = wholeNumber(r.fields[0]);
    r.free = wholeNumber(r.fields[1]);
    return r;
}

Protocol::Reply readMemoryChannelCount(Link& link)
{
    return Protocol::exchange(link, QStringLiteral("H"), QStringLiteral("0,"), 1);
}

} // namespace Health
