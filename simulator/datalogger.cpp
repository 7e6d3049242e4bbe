// The simulated datalogger's schedule, memory upkeep and command dispatch.
#include "datalogger.h"

#include "options.h"

#include <QFile>

namespace {

constexpr int kPollMs = 100;
constexpr int kMaxRecordsPerPoll = 2000;   // keeps a high speed-up from stalling the replies
constexpr int kCommandLogLimit = 5000;

QJsonArray valuesToJson(const QList<QByteArray>& values)
{
    QJsonArray a;
    for (const QByteArray& v : values)
        a.append(QString::fromLatin1(v));
    return a;
}

} // namespace

Datalogger::Datalogger(const Options& options, QObject* parent)
    : QObject(parent)
    , m_settings(startSettings(options))
    , m_sensors(options.seed, options.battery)
    , m_clock(options.speed, options.clockOffsetSeconds)
{
    addIdentityHandlers(m_handlers);
    addChannelHandlers(m_handlers);
    addMeasureHandlers(m_handlers);
    addSensorHandlers(m_handlers);
    addRemoteHandlers(m_handlers);
    m_memory.setLayout(m_settings.activeChannelList());
    m_claimedColumns = options.faults.claimedColumns;
    if (options.recordsFile.isEmpty() || !loadRecords(options.recordsFile))
        preload(options.preload);
    reschedule();
    connect(&m_poll, &QTimer::timeout, this, &Datalogger::poll);
    m_poll.start(kPollMs);
}

QByteArray Datalogger::execute(const Command& cmd)
{
    ++m_commandCount;
    if (m_commandLog.size() < kCommandLogLimit)
        m_commandLog.append(QJsonObject{{"cmd", QString::fromLatin1(cmd.letter)},
                                        {"values", valuesToJson(cmd.values)}});
    const auto it = m_handlers.find(cmd.letter);
    return it == m_handlers.end() ? QByteArray() : it->second(*this, cmd);
}

void Datalogger::preload(int count)
{
    // Records on the timer's grid, ending just before now, as if it had been running.
    const QDateTime now = m_clock.now();
    const QDateTime midnight(now.date(), QTime(0, 0), Qt::UTC);
    const qint64 step = m_settings.timerSeconds;
    const qint64 sinceMidnight = midnight.secsTo(now);
    const QDateTime next = midnight.addSecs((sinceMidnight / step + 1) * step);
    m_settings.start = next.addSecs(-step * count);
    for (int i = 0; i < count; ++i)
        record(m_settings.start.addSecs(step * i));
}

// Known records for tests: "yyyy-mm-ddThh:mm:ss;v v v;t t t;rain" per line. Missing
// values are 0; the memory keeps the layout of the active channels.
bool Datalogger::loadRecords(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const qsizetype k = m_memory.layout().size();
    const auto numbers = [k](const QString& text) {
        std::vector<float> out(size_t(k), 0.0f);
        const QStringList parts = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        for (qsizetype i = 0; i < k && i < parts.size(); ++i)
            out[size_t(i)] = parts[i].toFloat();
        return out;
    };
    while (!file.atEnd()) {
        const QStringList parts = QString::fromLatin1(file.readLine()).trimmed().split(QLatin1Char(';'));
        if (parts.size() < 3)
            continue;
        Record r;
        r.time = QDateTime::fromString(parts[0], Qt::ISODate);
        r.time.setTimeSpec(Qt::UTC);
        r.values = numbers(parts[1]);
        r.temperatures = numbers(parts[2]);
        r.rain = parts.value(3).toInt();
        m_lastRecord = r.time;
        m_memory.append(std::move(r));
    }
    if (m_memory.size() > 0)
        m_settings.start = m_lastRecord.addSecs(m_settings.timerSeconds);
    return true;
}

void Datalogger::record(const QDateTime& t)
{
    if (m_memory.full(m_settings.memoryTotal))
        return;
    Record r;
    r.time = t;
    const QList<int>& layout = m_memory.layout();
    r.values.reserve(size_t(layout.size()));
    r.temperatures.reserve(size_t(layout.size()));
    for (int ch : layout) {
        r.values.push_back(float(m_settings.model == 0 ? m_sensors.volts(ch, t) : m_sensors.frequency(ch, t)));
        r.temperatures.push_back(float(m_sensors.temperature(ch, t)));
    }
    if (m_settings.eventsCounter && m_lastRecord.isValid())
        r.rain = m_sensors.rainPulses(m_lastRecord, t);
    m_lastRecord = t;
    m_memory.append(std::move(r));
}

void Datalogger::recordNow()
{
    record(m_clock.now());
}

void Datalogger::reschedule()
{
    m_next = QDateTime();
    if (!m_settings.acquisition)
        return;
    const QDateTime now = m_clock.now();
    const qint64 step = qMax(1, m_settings.timerSeconds);
    if (m_settings.start > now) {
        m_next = m_settings.start;
        return;
    }
    const qint64 elapsed = m_settings.start.secsTo(now);
    m_next = m_settings.start.addSecs((elapsed / step + 1) * step);
}

void Datalogger::poll()
{
    if (!m_next.isValid())
        return;
    const QDateTime now = m_clock.now();
    const qint64 step = qMax(1, m_settings.timerSeconds);
    int n = 0;
    while (m_next <= now && n < kMaxRecordsPerPoll) {
        record(m_next);
        m_next = m_next.addSecs(step);
        ++n;
    }
}

void Datalogger::eraseMemory()
{
    m_memory.clear();
    m_memory.setLayout(m_settings.activeChannelList());
    m_lastRecord = QDateTime();
}

void Datalogger::factoryReset()
{
    m_settings = factorySettings(m_settings.model, m_settings.memoryTotal);
    eraseMemory();
    reschedule();
}

void Datalogger::setChannels(int mux, int count)
{
    if (mux < 0 || mux >= kMuxCount)
        return;
    const int c = qBound(0, count, kChannelsPerMux);
    if (m_settings.channels[mux] == c)
        return;
    m_settings.channels[mux] = c;
    eraseMemory();
}

QJsonObject Datalogger::toJson() const
{
    QJsonObject o = settingsToJson(m_settings);
    o["clock"] = m_clock.now().toString(Qt::ISODate);
    o["clock_offset_ms"] = double(m_clock.offsetMs());
    o["next_acquisition"] = m_next.isValid() ? m_next.toString(Qt::ISODate) : QString();
    o["records"] = m_memory.size();
    o["memory_free"] = qMax(0, m_settings.memoryTotal - m_memory.size());
    o["fetched"] = m_memory.fetched();
    o["offered"] = m_memory.offered();
    o["pulses"] = m_memory.totalRain();
    o["command_count"] = m_commandCount;
    o["commands"] = m_commandLog;
    if (m_memory.size() <= 2000)
        o["memory"] = memoryToJson(*this);
    return o;
}
