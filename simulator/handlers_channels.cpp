// Channels, memory and events counter: H h M b L.
#include "datalogger.h"
#include "wire_text.h"

using namespace wire;

namespace {

QByteArray readChannels(Datalogger& d, const Command& c)
{
    const Settings& s = d.settings();
    if (c.bare()) {
        // The count in three characters, then each active channel in three characters.
        const QList<int> active = s.activeChannelList();
        QByteArray r = field(rightAligned(int(active.size()), 3));
        for (int ch : active)
            r += field(rightAligned(ch, 3));
        return r;
    }
    const int mux = integer(c.value(0));
    return field(QByteArray::number(mux >= 0 && mux < kMuxCount ? s.channels[mux] : 0));
}

QByteArray writeChannels(Datalogger& d, const Command& c)
{
    d.setChannels(integer(c.value(0)), integer(c.value(1)));
    return {};
}

QByteArray readMemory(Datalogger& d, const Command&)
{
    const int total = d.settings().memoryTotal;
    const int free = qMax(0, total - d.memory().size());
    return field(padded(total, 5)) + field(padded(free, 5));   // 12 bytes, fixed positions
}

QByteArray eraseMemory(Datalogger& d, const Command&)
{
    d.eraseMemory();
    return {};
}

QByteArray pulses(Datalogger& d, const Command&)
{
    return field(QByteArray::number(d.memory().totalRain()));
}

} // namespace

void addChannelHandlers(HandlerTable& t)
{
    t["H"] = readChannels;
    t["h"] = writeChannels;
    t["M"] = readMemory;
    t["b"] = eraseMemory;
    t["L"] = pulses;
}
