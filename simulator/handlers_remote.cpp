// GSM, SMS, phone, GPRS and web settings: I i F f K k < >.
#include "datalogger.h"
#include "wire_text.h"

using namespace wire;

namespace {

QByteArray readSmsNumbers(Datalogger& d, const Command&)
{
    const Settings& s = d.settings();
    QByteArray r;
    for (const QByteArray& n : s.smsNumbers)
        r += field(n);
    return r + field(s.smsCount) + field(s.smsAlert ? "1" : "0");
}

QByteArray writeSmsNumbers(Datalogger& d, const Command& c)
{
    Settings& s = d.settings();
    for (int i = 0; i < 10; ++i)
        s.smsNumbers[size_t(i)] = c.value(i).trimmed();
    s.smsCount = c.value(10).trimmed();
    s.smsAlert = integer(c.value(11)) != 0;
    return {};
}

QByteArray readCall(Datalogger& d, const Command&)
{
    return field(d.settings().callNumber) + field(d.settings().phoneAlert ? "1" : "0");
}

QByteArray writeCall(Datalogger& d, const Command& c)
{
    d.settings().callNumber = c.value(0).trimmed();
    d.settings().phoneAlert = integer(c.value(1)) != 0;
    return {};
}

QByteArray readGprs(Datalogger& d, const Command&)
{
    QByteArray r;
    for (const QByteArray& g : d.settings().gprs)
        r += field(g);
    return r;
}

QByteArray writeGprs(Datalogger& d, const Command& c)
{
    for (int i = 0; i < 10; ++i)
        d.settings().gprs[size_t(i)] = c.value(i);
    return {};
}

} // namespace

void addRemoteHandlers(HandlerTable& t)
{
    t["I"] = readSmsNumbers;
    t["i"] = writeSmsNumbers;
    t["F"] = readCall;
    t["f"] = writeCall;
    t["K"] = readGprs;
    t["k"] = writeGprs;
    t["<"] = [](Datalogger& d, const Command& c) {
        d.settings().web = integer(c.value(0)) != 0;
        return QByteArray();
    };
    t[">"] = [](Datalogger& d, const Command&) { return QByteArray(d.settings().web ? "1," : "0,"); };
}
