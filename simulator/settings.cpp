// Factory and start-up settings of the datalogger, and their JSON form for the state dump.
#include "settings.h"

#include "options.h"

#include <QJsonArray>

int Settings::activeChannels() const
{
    int n = 0;
    for (int c : channels)
        n += c;
    return n;
}

QList<int> Settings::activeChannelList() const
{
    QList<int> list;
    for (int m = 0; m < kMuxCount; ++m)
        for (int p = 0; p < channels[m]; ++p)
            list << m * kChannelsPerMux + p;
    return list;
}

Settings factorySettings(int model, int memoryTotal)
{
    Settings s;
    s.name = "LOGGER";
    s.model = model;
    s.start = QDateTime(QDate(2000, 1, 1), QTime(0, 0), Qt::UTC);
    s.timerSeconds = 3600;
    s.preheatMs = 1000;
    s.channels = {1, 0, 0, 0};
    s.memoryTotal = memoryTotal;
    for (int ch = 0; ch < kChannelCount; ++ch)
        s.sensors[ch].name = "CH" + QByteArray::number(ch).rightJustified(2, '0');
    s.smsCount = "0";
    s.gprs = {"", "", "", "", "", "", "", "21", "0", "0"};
    s.t = {100, 250, 1000000, 2000000, 500000, 1500000};
    return s;
}

Settings startSettings(const Options& o)
{
    Settings s = factorySettings(o.model, o.memoryTotal);
    s.name = o.name.toLatin1();
    s.timerSeconds = o.timerSeconds;
    s.acquisition = o.acquisition;
    s.eventsCounter = o.eventsCounter;
    for (int m = 0; m < kMuxCount; ++m)
        s.channels[m] = o.channels[m];
    s.preheatMs = o.model == 0 ? 1500 : 0;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        if (o.model == 0)
            s.sensors[ch].coefficients = {0, 2.5, 0, 100};
        s.alerts[ch] = {0, 100, -100};
    }
    s.smsLines = {"ALERT FROM " + s.name, "CHECK SENSORS", "", "", ""};
    s.smsNumbers[0] = "+393331234567";
    s.smsCount = "1";
    s.callNumber = "+393331234567";
    s.gprs = {"user", "pass", "internet.apn", "ftp.example.net", "ftpuser", "ftppass",
              "data", "21", "1", "0"};
    return s;
}

namespace {

QJsonArray texts(const auto& list)
{
    QJsonArray a;
    for (const QByteArray& t : list)
        a.append(QString::fromLatin1(t));
    return a;
}

} // namespace

QJsonObject settingsToJson(const Settings& s)
{
    QJsonObject o;
    o["name"] = QString::fromLatin1(s.name);
    o["model"] = s.model;
    o["start"] = s.start.toString(Qt::ISODate);
    o["timer_seconds"] = s.timerSeconds;
    o["preheat_ms"] = s.preheatMs;
    o["acquisition"] = s.acquisition;
    o["events_counter"] = s.eventsCounter;
    o["sms_alert"] = s.smsAlert;
    o["phone_alert"] = s.phoneAlert;
    o["email"] = s.email;
    o["gsm"] = s.gsm;
    o["web"] = s.web;
    o["field_test"] = s.fieldTest;
    o["standalone"] = s.standalone;
    QJsonArray channels;
    for (int c : s.channels)
        channels.append(c);
    o["channels"] = channels;
    o["memory_total"] = s.memoryTotal;
    QJsonArray sensors, alerts;
    for (int ch = 0; ch < kChannelCount; ++ch) {
        QJsonArray coeff;
        for (double c : s.sensors[ch].coefficients)
            coeff.append(c);
        sensors.append(QJsonObject{{"name", QString::fromLatin1(s.sensors[ch].name)}, {"coefficients", coeff}});
        alerts.append(QJsonObject{{"enabled", s.alerts[ch].enabled}, {"high", s.alerts[ch].high},
                                  {"low", s.alerts[ch].low}});
    }
    o["sensors"] = sensors;
    o["alerts"] = alerts;
    o["sms_lines"] = texts(s.smsLines);
    o["sms_numbers"] = texts(s.smsNumbers);
    o["sms_count"] = QString::fromLatin1(s.smsCount);
    o["call_number"] = QString::fromLatin1(s.callNumber);
    o["gprs"] = texts(s.gprs);
    QJsonArray t;
    for (qint64 v : s.t)
        t.append(double(v));
    o["t"] = t;
    o["last_d"] = QString::fromLatin1(s.lastD);
    return o;
}
