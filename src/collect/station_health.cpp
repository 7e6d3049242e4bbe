// The health reads after a download, their warnings, and the clock write.
#include "collect/station_health.h"

#include "link/link.h"
#include "link/link_transport.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QJsonArray>

#include <cmath>

namespace {

// A datalogger needs a moment between one answer and the next command.
constexpr int pauseBetweenReads = 20;  // hundredths
// A line that has been quiet this long carries no greeting.
constexpr int quietLineMs = 150;

// The collector's wall time without a time zone, as the datalogger keeps its own.
QDateTime wallTime()
{
    const QDateTime local = QDateTime::currentDateTime();
    return QDateTime(local.date(), local.time(), Qt::UTC);
}

// One read with the link's own guard: a datalogger that does not answer its first field
// is not waited for again for each of the others.
template <class Read>
auto guarded(Link& link, Read read)
{
    link.resetTally();
    Link::EndAtFirstTimeout endEarly(link);
    return read();
}

bool gaveUp(Health::Outcome outcome)
{
    return outcome == Health::Outcome::Silent || outcome == Health::Outcome::Lost;
}

// The clock read, and the offset it shows: the datalogger's minute began somewhere in the
// minute before the moment it answered, so its clock is taken as half a minute past it.
struct TimedClock {
    Health::ClockRead read;
    std::optional<qint64> offsetSeconds;
};

TimedClock readTimedClock(Link& link)
{
    const QDateTime before = wallTime();
    TimedClock c;
    c.read = guarded(link, [&] { return Health::readClock(link); });
    const QDateTime after = wallTime();
    if (c.read.time.isValid()) {
        const QDateTime asked = before.addMSecs(before.msecsTo(after) / 2);
        const qint64 ms = asked.msecsTo(c.read.time.addSecs(smallestClockLimitSeconds));
        c.offsetSeconds = qint64(std::llround(double(ms) / 1000.0));
    }
    return c;
}

QString signedSeconds(qint64 s)
{
    return (s >= 0 ? QStringLiteral("+") : QString()) + QString::number(s) + QStringLiteral(" s");
}

QString volts(double v) { return QString::number(v, 'f', 2) + QStringLiteral(" V"); }

QString percent(double p) { return QString::number(p, 'f', 1) + QStringLiteral(" %"); }

// "no answer" or what the read got to.
QString unanswered(const QString& what, Health::Outcome outcome)
{
    switch (outcome) {
    case Health::Outcome::Incomplete:
        return what + QStringLiteral(": incomplete answer");
    case Health::Outcome::Lost:
        return what + QStringLiteral(": link lost");
    default:
        return what + QStringLiteral(": no answer");
    }
}

// Waits (servicing the link) until the collector's clock has just passed a minute: the
// clock write carries no seconds, and the datalogger starts its minute when it takes it.
void awaitMinuteBoundary(Link& link)
{
    const qint64 intoMinute = wallTime().time().msecsSinceStartOfDay() % 60000;
    const qint64 waitMs = 60000 - intoMinute + 20;
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < waitMs)
        link.serviceUi(int(qMin<qint64>(200, waitMs - waited.elapsed())));
}

void setClock(Link& link, StationHealth& h)
{
    awaitMinuteBoundary(link);
    h.clockWritten = Health::writeClock(link, wallTime());
    if (!h.clockWritten) {
        h.clockSetProblem = QStringLiteral("clock not set: the write could not be sent");
        return;
    }
    link.pause(pauseBetweenReads);
    const TimedClock again = readTimedClock(link);
    h.offsetAfterSetSeconds = again.offsetSeconds;
    if (!again.offsetSeconds)
        h.clockSetProblem = QStringLiteral("clock written, not confirmed: ")
                            + unanswered(QStringLiteral("read back"), again.read.outcome);
}

void judge(StationHealth& h, const HealthOptions& o)
{
    if (!h.clock.time.isValid())
        h.warnings << (h.clock.outcome == Health::Outcome::Answered ? QStringLiteral("clock: not a date: ")
                                                                           + h.clock.fields.join(QLatin1Char(','))
                                                                     : unanswered(QStringLiteral("clock"), h.clock.outcome));
    const std::optional<qint64> offset = h.offsetAfterSetSeconds ? h.offsetAfterSetSeconds : h.clockOffsetSeconds;
    if (o.warnClockSeconds && offset && std::llabs(*offset) > *o.warnClockSeconds)
        h.warnings << QStringLiteral("clock off by %1, more than %2 s").arg(signedSeconds(*offset)).arg(*o.warnClockSeconds);
    // A datalogger that took the write and kept its time has not been set.
    if (o.setClockSeconds && h.offsetAfterSetSeconds && std::llabs(*h.offsetAfterSetSeconds) > *o.setClockSeconds)
        h.warnings << QStringLiteral("clock still off by %1 after the write").arg(signedSeconds(*h.offsetAfterSetSeconds));
    if (!h.clockSetProblem.isEmpty())
        h.warnings << h.clockSetProblem;

    if (h.voltagesRead && h.voltages.outcome != Health::Outcome::Answered)
        h.warnings << unanswered(QStringLiteral("internal parameters"), h.voltages.outcome);
    if (o.warnBatteryVolts && h.voltages.battery && *h.voltages.battery < *o.warnBatteryVolts)
        h.warnings << QStringLiteral("battery %1, below %2").arg(volts(*h.voltages.battery), volts(*o.warnBatteryVolts));

    if (h.memoryRead && h.memory.outcome != Health::Outcome::Answered)
        h.warnings << unanswered(QStringLiteral("memory"), h.memory.outcome);
    if (o.warnMemoryPercent && h.memoryUsedPercent && *h.memoryUsedPercent >= *o.warnMemoryPercent)
        h.warnings << QStringLiteral("memory %1 used, at or above %2 %").arg(percent(*h.memoryUsedPercent)).arg(*o.warnMemoryPercent);
}

// The datalogger is asked with DTR raised, as the console asks it, and the greeting a
// raise may bring is let run out first; the line is left as the download left it.
class RaisedDtr {
public:
    explicit RaisedDtr(Link& link) : link_(link)
    {
        if (LinkTransport* t = link_.transport(); t && t->rules().flushable) {
            t->setDtr(true);
            link_.discardUntilQuiet(quietLineMs, link_.settings().fieldTimeoutMs, QByteArrayLiteral("S2"));
        }
    }
    ~RaisedDtr()
    {
        if (LinkTransport* t = link_.transport(); t && t->rules().flushable)
            t->setDtr(false);
    }
    RaisedDtr(const RaisedDtr&) = delete;
    RaisedDtr& operator=(const RaisedDtr&) = delete;

private:
    Link& link_;
};

QJsonValue optionalNumber(const std::optional<double>& v) { return v ? QJsonValue(*v) : QJsonValue(); }
QJsonValue optionalNumber(const std::optional<int>& v) { return v ? QJsonValue(*v) : QJsonValue(); }
QJsonValue optionalNumber(const std::optional<qint64>& v) { return v ? QJsonValue(double(*v)) : QJsonValue(); }

QJsonArray fieldsJson(const QStringList& fields)
{
    QJsonArray a;
    for (const QString& f : fields)
        a.append(f);
    return a;
}

} // namespace

StationHealth readStationHealth(Link& link, const HealthOptions& options)
{
    StationHealth h;
    RaisedDtr dtr(link);
    const TimedClock clock = readTimedClock(link);
    h.clock = clock.read;
    h.clockOffsetSeconds = clock.offsetSeconds;
    // A datalogger that did not answer the clock, or a link that went, is not asked more.
    if (!gaveUp(h.clock.outcome)) {
        link.pause(pauseBetweenReads);
        h.voltages = guarded(link, [&] { return Health::readInternalParameters(link); });
        h.voltagesRead = true;
    }
    if (h.voltagesRead && !gaveUp(h.voltages.outcome)) {
        link.pause(pauseBetweenReads);
        h.memory = guarded(link, [&] { return Health::readMemoryState(link); });
        h.memoryRead = true;
        if (h.memory.total && h.memory.free && *h.memory.total > 0 && *h.memory.free <= *h.memory.total)
            h.memoryUsedPercent = 100.0 * double(*h.memory.total - *h.memory.free) / double(*h.memory.total);
    }
    if (options.setClockSeconds && h.clockOffsetSeconds && std::llabs(*h.clockOffsetSeconds) > *options.setClockSeconds
        && h.memory.outcome != Health::Outcome::Lost && h.voltages.outcome != Health::Outcome::Lost) {
        link.pause(pauseBetweenReads);
        setClock(link, h);
    }
    judge(h, options);
    return h;
}

QString healthText(const StationHealth& h)
{
    QStringList parts;
    if (h.clockOffsetSeconds)
        parts << QStringLiteral("clock %1").arg(signedSeconds(*h.clockOffsetSeconds));
    else
        parts << QStringLiteral("clock -");
    if (h.clockWritten)
        parts.last() += h.offsetAfterSetSeconds
                            ? QStringLiteral(", set, now %1").arg(signedSeconds(*h.offsetAfterSetSeconds))
                            : QStringLiteral(", set");
    const auto voltage = [](const std::optional<double>& v) { return v ? volts(*v) : QStringLiteral("-"); };
    if (h.voltagesRead)
        parts << QStringLiteral("battery ") + voltage(h.voltages.battery)
              << QStringLiteral("5 Volt ") + voltage(h.voltages.fiveVolt)
              << QStringLiteral("3 V Vint ") + voltage(h.voltages.vint);
    if (h.memoryUsedPercent)
        parts << QStringLiteral("memory %1 used (%2 of %3 free)")
                     .arg(percent(*h.memoryUsedPercent))
                     .arg(*h.memory.free)
                     .arg(*h.memory.total);
    else if (h.memoryRead)
        parts << QStringLiteral("memory -");
    return parts.join(QStringLiteral(", "));
}

QJsonObject healthJson(const StationHealth& h)
{
    QJsonObject clock{{"outcome", Health::outcomeName(h.clock.outcome)},
                      {"fields", fieldsJson(h.clock.fields)},
                      {"time", h.clock.time.isValid() ? QJsonValue(h.clock.time.toString(QStringLiteral("yyyy-MM-ddTHH:mm")))
                                                      : QJsonValue()},
                      {"offset_s", optionalNumber(h.clockOffsetSeconds)},
                      {"resolution_s", clockResolutionSeconds},
                      {"written", h.clockWritten}};
    if (h.clockWritten)
        clock.insert(QStringLiteral("offset_after_set_s"), optionalNumber(h.offsetAfterSetSeconds));
    QJsonObject o{{"clock", clock}};
    if (h.voltagesRead)
        o.insert(QStringLiteral("internal_parameters"),
                 QJsonObject{{"outcome", Health::outcomeName(h.voltages.outcome)},
                             {"fields", fieldsJson(h.voltages.fields)},
                             {"five_volt_v", optionalNumber(h.voltages.fiveVolt)},
                             {"vint_v", optionalNumber(h.voltages.vint)},
                             {"battery_v", optionalNumber(h.voltages.battery)}});
    if (h.memoryRead)
        o.insert(QStringLiteral("memory"), QJsonObject{{"outcome", Health::outcomeName(h.memory.outcome)},
                                                       {"fields", fieldsJson(h.memory.fields)},
                                                       {"total", optionalNumber(h.memory.total)},
                                                       {"free", optionalNumber(h.memory.free)},
                                                       {"used_percent", optionalNumber(h.memoryUsedPercent)}});
    return o;
}
