// Readings taken now, and the commands that make the datalogger take them on its own.
#include "protocol/readings.h"

#include "data/conversions.h"
#include "link/link.h"

#include <algorithm>

namespace Readings {

namespace {

// A multiplexer has at most this many channels: a larger count is not an answer.
constexpr int maxChannels = 16;

} // namespace

Outcome readMultiplexer(Link& link, int mux, bool temperatures, int count, ReadView& view)
{
    if (!temperatures)
        link.flushInput();
    const bool sent = link.sendCommand(temperatures ? QStringLiteral("t") : QStringLiteral("p"),
                                       Numbers::valuesString({Numbers::signedText(mux)}));
    QStringList fields;
    for (int i = 0; i < count; ++i) {
        view.reading(i);
        Channel c;
        c.position = link.readField();
        c.value = link.readField();
        fields << c.position << c.value;
        view.read(i, c);
    }
    // The outcome of the fields as they came, without reading more.
    return Protocol::outcomeOf(link, sent, fields);
}

std::optional<int> channelPosition(const QString& field)
{
    const double position = Numbers::leadingNumber(field);
    if (position >= 0 && position <= 15 && position == int(position))
        return int(position);
    return std::nullopt;
}

ChannelCount readChannelCount(Link& link)
{
    ChannelCount c;
    c.sent = link.sendCommand(QStringLiteral("H"), QStringLiteral(" 0,"));
    if (!c.sent)
        return c;
    const QString field = link.readField();
    c.answered = !Protocol::isTimeoutMark(field) && !field.trimmed().isEmpty();
    const std::optional<qint16> n = Numbers::toInt16(Numbers::leadingNumber(field));
    if (c.answered && n && *n >= 0 && *n <= maxChannels)
        c.count = *n;
    return c;
}

Row readRow(Link& link, int mux, int channels)
{
    Row row;
    row.sent = link.sendCommand(QStringLiteral("p"), QString::number(mux) + QLatin1Char(','));
    if (!row.sent)
        return row;
    QString value;
    for (int c = 0; c < channels; ++c) {
        if (!row.timedOut) {
            link.readField();  // the channel's position
            value = link.readField();
            row.timedOut = Protocol::isTimeoutMark(value);
        }
        row.values << value;
    }
    return row;
}

FullScale readFullScale(Link& link)
{
    const Protocol::Reply r = Protocol::exchange(link, QStringLiteral("T"), QString(), 6);
    FullScale fs;
    fs.outcome = r.outcome;
    for (int i = 0; i < 2; ++i)
        fs.whole[i] = Numbers::leadingNumber(r.fields[i]);
    for (int i = 0; i < 4; ++i)
        fs.scaled[i] = Numbers::leadingNumber(r.fields[2 + i]) / 1000000;
    return fs;
}

bool convertStandAlone(Link& link)
{
    link.flushInput();
    return link.sendCommand(QStringLiteral("^"), QString());
}

bool startFieldTest(Link& link) { return link.sendCommand(QStringLiteral("J"), QString()); }

} // namespace Readings
