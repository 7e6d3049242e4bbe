// Identity, clock, schedule, switches and reset: V D N O o U u z d Q q G g Y y C c E e ^ W T.
#include "datalogger.h"
#include "wire_text.h"

#include <optional>

using namespace wire;

namespace {

// " dd, mm, yy, hh, nn": the fixed-position date of "D" alone, "N" and "G" alone.
QByteArray fixedDate(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    return ' ' + padded(d.day(), 2) + ", " + padded(d.month(), 2) + ", " + padded(d.year() % 100, 2)
        + ", " + padded(h.hour(), 2) + ", " + padded(h.minute(), 2);
}

// day, month, year less 1900, hour, minute, as "g" and "y" send them.
std::optional<QDateTime> dateFromValues(const Command& c)
{
    for (int i = 0; i < 5; ++i)
        if (!isNumber(c.value(i)))
            return std::nullopt;
    const QDate date(integer(c.value(2)) + 1900, integer(c.value(1)), integer(c.value(0)));
    const QTime time(integer(c.value(3)), integer(c.value(4)));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::UTC);
}

QByteArray nextConversion(Datalogger& d)
{
    const QDateTime next = d.nextAcquisition();
    return fixedDate(next.isValid() ? next : d.settings().start) + ',';
}

QByteArray flag(bool on)
{
    return on ? "1," : "0,";
}

QByteArray readD(Datalogger& d, const Command& c)
{
    return c.bare() ? nextConversion(d) : field(QByteArray::number(d.settings().model));
}

QByteArray readClock(Datalogger& d, const Command& c)
{
    const QDateTime t = d.clock().now();
    if (c.bare())
        return fixedDate(t);   // 19 bytes: five 3-character fields
    return field(padded(t.date().day(), 2)) + field(padded(t.date().month(), 2))
        + field(QByteArray::number(t.date().year())) + field(padded(t.time().hour(), 2))
        + field(padded(t.time().minute(), 2));
}

QByteArray writeClock(Datalogger& d, const Command& c)
{
    if (const auto t = dateFromValues(c)) {
        d.clock().set(*t);
        d.reschedule();
    }
    return {};
}

QByteArray readStart(Datalogger& d, const Command& c)
{
    if (c.bare())
        return flag(d.settings().email);
    const QDateTime t = d.settings().start;
    return field(padded(t.date().day(), 2)) + field(padded(t.date().month(), 2))
        + field(QByteArray::number(t.date().year())) + field(padded(t.time().hour(), 2))
        + field(padded(t.time().minute(), 2)) + field(padded(t.time().second(), 2));
}

QByteArray writeStart(Datalogger& d, const Command& c)
{
    if (c.values.size() == 1) {
        d.settings().email = integer(c.value(0)) != 0;
        return {};
    }
    const auto t = dateFromValues(c);
    if (!t)
        return {};
    const QDateTime now = d.clock().now();
    if (*t <= now) {
        // A START time already past means "acquire now"; the schedule restarts from here.
        d.recordNow();
        d.settings().start = QDateTime(now.date(), QTime(now.time().hour(), now.time().minute()), Qt::UTC);
    } else {
        d.settings().start = *t;
    }
    d.reschedule();
    return {};
}

QByteArray readTimer(Datalogger& d, const Command&)
{
    const int s = d.settings().timerSeconds;
    return field(padded(s / 3600, 3)) + field(padded(s / 60 % 60, 3)) + field(padded(s % 60, 3));
}

QByteArray writeTimer(Datalogger& d, const Command& c)
{
    const int total = integer(c.value(0)) * 3600 + integer(c.value(1)) * 60 + integer(c.value(2));
    if (total >= 1 && total < 86400) {
        d.settings().timerSeconds = total;
        d.reschedule();
    }
    return {};
}

QByteArray readVersion(Datalogger&, const Command&)
{
    return "SIM FW 2.14,";
}

QByteArray writeAcquisition(Datalogger& d, const Command& c)
{
    d.settings().acquisition = integer(c.value(0)) != 0;
    d.reschedule();
    return {};
}

QByteArray writeEvents(Datalogger& d, const Command& c)
{
    d.settings().eventsCounter = integer(c.value(0)) != 0;
    return {};
}

QByteArray reset(Datalogger& d, const Command&)
{
    d.factoryReset();
    return {};
}

QByteArray immediateConversion(Datalogger& d, const Command& c)
{
    d.settings().lastD = c.values.join(',') + ',';
    return {};
}

QByteArray readName(Datalogger& d, const Command&)
{
    // At least five characters: the remote read waits for five.
    return field(d.settings().name.leftJustified(5, ' '));
}

QByteArray writeName(Datalogger& d, const Command& c)
{
    d.settings().name = c.value(0).trimmed().left(16);
    return {};
}

QByteArray readPreheat(Datalogger& d, const Command&)
{
    return field(padded(d.settings().preheatMs, 5));
}

QByteArray writePreheat(Datalogger& d, const Command& c)
{
    d.settings().preheatMs = qBound(0, integer(c.value(0)), 99999);
    return {};
}

QByteArray standalone(Datalogger& d, const Command&)
{
    d.settings().standalone = true;
    d.settings().acquisition = true;
    d.reschedule();
    return {};
}

QByteArray internalVoltages(Datalogger& d, const Command&)
{
    const QDateTime t = d.clock().now();
    QByteArray r;
    for (int i = 0; i < 3; ++i)
        r += field(fixed(d.sensors().internalVoltage(i, t), 2));
    return r;
}

QByteArray readT(Datalogger& d, const Command&)
{
    const auto& t = d.settings().t;
    QByteArray r = field(padded(int(t[0]), 3));   // the remote read takes three characters
    for (int i = 1; i < 6; ++i)
        r += field(QByteArray::number(t[i]));
    return r;
}

} // namespace

void addIdentityHandlers(HandlerTable& t)
{
    t["V"] = readVersion;
    t["D"] = readD;
    t["N"] = [](Datalogger& d, const Command&) { return nextConversion(d); };
    t["O"] = [](Datalogger& d, const Command&) { return flag(d.settings().acquisition); };
    t["o"] = writeAcquisition;
    t["U"] = [](Datalogger& d, const Command&) { return flag(d.settings().eventsCounter); };
    t["u"] = writeEvents;
    t["z"] = reset;
    t["d"] = immediateConversion;
    t["Q"] = readName;
    t["q"] = writeName;
    t["G"] = readClock;
    t["g"] = writeClock;
    t["Y"] = readStart;
    t["y"] = writeStart;
    t["C"] = readTimer;
    t["c"] = writeTimer;
    t["E"] = readPreheat;
    t["e"] = writePreheat;
    t["^"] = standalone;
    t["W"] = internalVoltages;
    t["T"] = readT;
}
