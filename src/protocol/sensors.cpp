// Coefficients, alerts and SMS texts on the wire.
#include "protocol/sensors.h"

#include "data/conversions.h"
#include "link/link.h"

namespace Sensors {

namespace {

QStringList withChannel(int channel, const QStringList& texts) { return QStringList{Numbers::signedText(channel)} + texts; }

Reply readRow(Link& link, const QString& command, int channel, int count)
{
    const Reply r = Protocol::exchange(link, command, Numbers::valuesString(withChannel(channel, {})), count);
    link.pause(10);
    return r;
}

} // namespace

Reply readCoefficients(Link& link, int channel) { return readRow(link, QStringLiteral("R"), channel, 5); }

bool writeCoefficients(Link& link, int channel, const QStringList& texts)
{
    return link.sendCommand(QStringLiteral("r"), Numbers::valuesString(withChannel(channel, texts)));
}

Reply readAlert(Link& link, int channel) { return readRow(link, QStringLiteral("J"), channel, 3); }

bool writeAlert(Link& link, int channel, const QStringList& texts)
{
    return link.sendCommand(QStringLiteral("j"), Numbers::valuesString(withChannel(channel, texts)));
}

Reply readSmsTexts(Link& link)
{
    const bool sent = link.sendCommand(QStringLiteral("X"), QString());
    QStringList fields;
    for (int i = 0; i < 5; ++i) {
        fields << link.readField();
        link.pause(10);
    }
    return {Protocol::outcomeOf(link, sent, fields), fields};
}

bool writeSmsTexts(Link& link, const QStringList& lines)
{
    bool sent = link.sendCommand(QStringLiteral("x"), QString());
    for (const QString& line : lines) {
        sent = link.sendCommand(line, QStringLiteral(",")) && sent;
        link.pause(10);
    }
    return link.sendCommand(QStringLiteral("X"), QString()) && sent;
}

} // namespace Sensors
