// Readings and downloads: p t A a [ ], and modem command lines that reach the datalogger.
#include "datalogger.h"
#include "wire_text.h"

using namespace wire;

namespace {

QByteArray reading(const Datalogger& d, double v)
{
    return d.settings().model == 0 ? fixed(v, 4) : fixed(v, 1);
}

QByteArray stamp(const QDateTime& t)
{
    const QDate d = t.date();
    const QTime h = t.time();
    QByteArray r;
    r.reserve(24);
    r += field(padded(d.day(), 2));
    r += field(padded(d.month(), 2));
    r += field(QByteArray::number(d.year()));
    r += field(padded(h.hour(), 2));
    r += field(padded(h.minute(), 2));
    r += field(padded(h.second(), 2));
    return r;
}

// Live reading of one multiplexer: position and value (or temperature) per channel.
QByteArray readMux(Datalogger& d, const Command& c, bool temperature)
{
    const int mux = integer(c.value(0));
    if (mux < 0 || mux >= kMuxCount)
        return {};
    const QDateTime now = d.clock().now();
    QByteArray r;
    for (int p = 0; p < d.settings().channels[mux]; ++p) {
        const int ch = mux * kChannelsPerMux + p;
        r += field(QByteArray::number(p));
        if (temperature)
            r += field(fixed(d.sensors().temperature(ch, now), 1));
        else
            r += field(reading(d, d.settings().model == 0 ? d.sensors().volts(ch, now)
                                                           : d.sensors().frequency(ch, now)));
    }
    return r;
}

// "A" and "a": record count, values per record, then the records.
QByteArray download(Datalogger& d, bool temperatures)
{
    const RecordMemory& m = d.memory();
    const int k = int(m.layout().size());
    const int announced = d.claimedColumns() >= 0 ? d.claimedColumns() : k;
    const bool rain = !temperatures && d.settings().eventsCounter;
    QByteArray r;
    r.reserve(m.size() * (24 + k * 8) + 16);
    r += field(QByteArray::number(m.size()));
    r += field(QByteArray::number(announced));
    for (int i = 0; i < m.size(); ++i) {
        const Record& rec = m.at(i);
        r += stamp(rec.time);
        const std::vector<float>& values = temperatures ? rec.temperatures : rec.values;
        for (float v : values)
            r += field(temperatures ? fixed(v, 1) : reading(d, v));
        if (rain)
            r += field(QByteArray::number(rec.rain));
    }
    return r;
}

// The block of records not yet confirmed by "]", one line each, between the markers.
QByteArray remainingBlock(Datalogger& d, const Command&)
{
    RecordMemory& m = d.memory();
    QByteArray r = "***inizio***,";
    for (int i = m.fetched(); i < m.size(); ++i) {
        const Record& rec = m.at(i);
        r += rec.time.toString(QStringLiteral("dd/MM/yyyy hh:mm:ss")).toLatin1() + ',';
        for (float v : rec.values)
            r += field(reading(d, v));
        r += "\r\n";
    }
    m.offer();
    return r + "***fine***,";
}

QByteArray confirmBlock(Datalogger& d, const Command&)
{
    d.memory().confirm();
    return "OK,";
}

} // namespace

QJsonArray memoryToJson(const Datalogger& d)
{
    const RecordMemory& m = d.memory();
    QJsonArray records;
    for (int i = 0; i < m.size(); ++i) {
        const Record& rec = m.at(i);
        QJsonArray values;
        QJsonArray temperatures;
        for (float v : rec.values)
            values.append(QString::fromLatin1(reading(d, v)));
        for (float t : rec.temperatures)
            temperatures.append(QString::fromLatin1(fixed(t, 1)));
        records.append(QJsonObject{{"stamp", QString::fromLatin1(stamp(rec.time))},
                                   {"values", values},
                                   {"temperatures", temperatures},
                                   {"rain", rec.rain}});
    }
    return records;
}

void addMeasureHandlers(HandlerTable& t)
{
    t["p"] = [](Datalogger& d, const Command& c) { return readMux(d, c, false); };
    t["t"] = [](Datalogger& d, const Command& c) { return readMux(d, c, true); };
    t["A"] = [](Datalogger& d, const Command&) { return download(d, false); };
    t["a"] = [](Datalogger& d, const Command&) { return download(d, true); };
    t["["] = remainingBlock;
    t["]"] = confirmBlock;
    t["AT"] = [](Datalogger&, const Command&) { return QByteArray(); };
}
