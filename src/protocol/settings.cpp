// The settings' commands on the link.
#include "protocol/settings.h"

#include "data/conversions.h"
#include "link/link.h"
#include "protocol/health.h"

namespace Settings {

namespace {

const QString comma = QStringLiteral(",");

// A switch command's value: "1," on, "0," off.
QString switchValue(bool on) { return on ? QStringLiteral("1,") : QStringLiteral("0,"); }

bool setSwitch(Link& link, const QString& command, bool on)
{
    const bool sent = link.sendCommand(command, switchValue(on));
    link.pause(50);
    return sent;
}

} // namespace

Reply readName(Link& link) { return Protocol::exchange(link, QStringLiteral("Q"), QString(), 1); }

bool writeName(Link& link, const QString& name)
{
    return link.sendCommand(QStringLiteral("q"), Numbers::valuesString({name}));
}

Reply readStartTime(Link& link) { return Protocol::exchange(link, QStringLiteral("Y"), comma, 6, true); }

bool writeStartTime(Link& link, const QString& day, const QString& month, double year, const QString& hour,
                    const QString& minute)
{
    return link.sendCommand(QStringLiteral("y"), Health::dateValues(day, month, year, hour, minute));
}

Reply readTimer(Link& link) { return Protocol::exchange(link, QStringLiteral("C"), comma, 3); }

std::array<QString, 3> timerParts(const std::array<QString, 3>& typed)
{
    std::array<QString, 3> parts;
    for (size_t i = 0; i < parts.size(); ++i)
        parts[i] = Numbers::formatted(Numbers::leadingNumber(typed[i]), QStringLiteral("000"));
    return parts;
}

bool writeTimer(Link& link, const std::array<QString, 3>& parts)
{
    return link.sendCommand(QStringLiteral("c"), Numbers::valuesString({parts[0], parts[1], parts[2]}));
}

int shortestTimer(bool gsm) { return gsm ? 600 : 60; }

Reply readPreheating(Link& link) { return Protocol::exchange(link, QStringLiteral("E"), comma, 1); }

QString preheatingText(const QString& typed)
{
    return Numbers::formatted(Numbers::leadingNumber(typed), QStringLiteral("00000"));
}

bool writePreheating(Link& link, const QString& text)
{
    return link.sendCommand(QStringLiteral("e"), Numbers::valuesString({text}));
}

Reply readChannelCount(Link& link, int mux)
{
    Reply r = Protocol::exchange(link, QStringLiteral("H"), Numbers::valuesString({Numbers::signedText(mux)}), 1);
    link.pause(20);
    return r;
}

bool writeChannelCounts(Link& link, const std::array<double, 4>& counts)
{
    bool sent = link.sendCommand(QStringLiteral("b"), comma);
    link.pause(20);
    for (int m = 0; m < 4; ++m)
        sent = link.sendCommand(QStringLiteral("h"), Numbers::valuesString({Numbers::signedText(m),
                                                                           Numbers::signedText(counts[size_t(m)])}))
               && sent;
    return sent;
}

Reply readAcquisitionSwitch(Link& link) { return Protocol::exchange(link, QStringLiteral("O"), QString(), 1, true); }

bool setAcquisition(Link& link, bool on) { return setSwitch(link, QStringLiteral("o"), on); }

Reply setEventsCounter(Link& link, bool on)
{
    setSwitch(link, QStringLiteral("u"), on);
    return readEventsCounterSwitch(link);
}

Reply readEventsCounterSwitch(Link& link) { return Protocol::exchange(link, QStringLiteral("U"), comma, 1); }

Reply readEventsCount(Link& link) { return Protocol::exchange(link, QStringLiteral("L"), comma, 1); }

Reply readEmailSwitch(Link& link) { return Protocol::exchange(link, QStringLiteral("Y"), QString(), 1, true); }

bool setEmail(Link& link, bool on) { return setSwitch(link, QStringLiteral("y"), on); }

bool setGsmFunction(Link& link, bool on) { return setSwitch(link, QStringLiteral("j"), on); }

Reply readSmsAlerts(Link& link) { return Protocol::exchange(link, QStringLiteral("I"), QString(), 12); }

Reply readPhoneAlert(Link& link) { return Protocol::exchange(link, QStringLiteral("F"), QString(), 2); }

QString keptSwitch(bool on) { return Numbers::signedText(on ? 1 : 0); }

QString changedSwitch(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }

bool writeSmsAlerts(Link& link, const QStringList& numbers, const QString& count, const QString& smsSwitch)
{
    return link.sendCommand(QStringLiteral("i"), Numbers::valuesString(QStringList(numbers) << count << smsSwitch));
}

bool writePhoneAlert(Link& link, const QString& number, const QString& phoneSwitch)
{
    return link.sendCommand(QStringLiteral("f"), Numbers::valuesString({number, phoneSwitch}));
}

Reply readGprs(Link& link) { return Protocol::exchange(link, QStringLiteral("K"), QString(), 10, true); }

bool writeGprs(Link& link, const QStringList& values)
{
    return link.sendCommand(QStringLiteral("k"), Numbers::valuesString(values));
}

Reply readInternetSwitch(Link& link) { return Protocol::exchange(link, QStringLiteral(">"), QString(), 1, true); }

bool setInternetSwitch(Link& link, bool on)
{
    const bool sent = link.sendCommand(on ? QStringLiteral("<1,") : QStringLiteral("<0,"), QString());
    link.pause(50);
    return sent;
}

bool startAtOnce(Link& link) { return link.sendCommand(QStringLiteral("y"), QStringLiteral("1,1,100,00,00,")); }

bool leaveConverting(Link& link) { return link.sendCommand(QStringLiteral("d"), QStringLiteral("0,0,0,0,0,")); }

bool eraseMemory(Link& link)
{
    const bool sent = link.sendCommand(QStringLiteral("b"), QString());
    link.pause(20);
    return sent;
}

bool resetDatalogger(Link& link)
{
    const bool sent = link.sendCommand(QStringLiteral("z"), QString());
    link.pause(20);
    return sent;
}

bool resetBeforeConnecting(Link& link)
{
    return link.sendCommand(QStringLiteral("z"), QStringLiteral(","));
}

} // namespace Settings
