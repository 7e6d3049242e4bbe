// Analog sensor properties, alerts and SMS lines: R r J j X x.
#include "datalogger.h"
#include "wire_text.h"

using namespace wire;

namespace {

int channelOf(const Command& c)
{
    if (!isNumber(c.value(0)))
        return -1;
    const int ch = integer(c.value(0));
    return ch >= 0 && ch < kChannelCount ? ch : -1;
}

QByteArray readSensor(Datalogger& d, const Command& c)
{
    const int ch = channelOf(c);
    if (ch < 0)
        return {};
    const AnalogSensor& s = d.settings().sensors[ch];
    QByteArray r = field(s.name);
    for (double v : s.coefficients)
        r += field(general(v));
    return r;
}

QByteArray writeSensor(Datalogger& d, const Command& c)
{
    const int ch = channelOf(c);
    if (ch < 0)
        return {};
    AnalogSensor& s = d.settings().sensors[ch];
    s.name = c.value(1).trimmed().left(16);
    for (int i = 0; i < 4; ++i)
        s.coefficients[i] = number(c.value(2 + i));   // the datalogger keeps numbers, not texts
    return {};
}

QByteArray readAlertOrFieldTest(Datalogger& d, const Command& c)
{
    if (c.bare()) {
        d.settings().fieldTest = true;
        return {};
    }
    const int ch = channelOf(c);
    if (ch < 0)
        return {};
    const Alert& a = d.settings().alerts[ch];
    return field(QByteArray::number(a.enabled)) + field(general(a.high)) + field(general(a.low));
}

QByteArray writeAlertOrGsm(Datalogger& d, const Command& c)
{
    if (c.values.size() == 1) {
        d.settings().gsm = integer(c.value(0)) != 0;
        return {};
    }
    const int ch = channelOf(c);
    if (ch < 0 || c.values.size() < 4)
        return {};
    Alert& a = d.settings().alerts[ch];
    a.enabled = integer(c.value(1));
    a.high = number(c.value(2));
    a.low = number(c.value(3));
    return {};
}

QByteArray readSms(Datalogger& d, const Command&)
{
    QByteArray r;
    for (const QByteArray& line : d.settings().smsLines)
        r += field(line);
    return r;
}

QByteArray writeSms(Datalogger& d, const Command& c)
{
    // A line holding a comma arrives as two: the lines after it shift, extra ones are lost.
    for (int i = 0; i < 5 && i < c.values.size(); ++i)
        d.settings().smsLines[size_t(i)] = c.values[i].left(25);
    return {};
}

} // namespace

void addSensorHandlers(HandlerTable& t)
{
    t["R"] = readSensor;
    t["r"] = writeSensor;
    t["J"] = readAlertOrFieldTest;
    t["j"] = writeAlertOrGsm;
    t["X"] = readSms;
    t["x"] = writeSms;
}
