// The simulated datalogger: its settings, clock, memory, recording schedule and commands.
#pragma once

#include "command.h"
#include "record_memory.h"
#include "sensor_model.h"
#include "settings.h"
#include "sim_clock.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <functional>
#include <map>

struct Options;
class Datalogger;

using Handler = std::function<QByteArray(Datalogger&, const Command&)>;
using HandlerTable = std::map<QByteArray, Handler>;

class Datalogger : public QObject {
    Q_OBJECT
public:
    explicit Datalogger(const Options& options, QObject* parent = nullptr);

    // Runs one command and returns the reply bytes (empty when the command has no answer).
    QByteArray execute(const Command& cmd);

    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    RecordMemory& memory() { return m_memory; }
    const RecordMemory& memory() const { return m_memory; }
    const SensorModel& sensors() const { return m_sensors; }
    SimClock& clock() { return m_clock; }
    const SimClock& clock() const { return m_clock; }

    QDateTime nextAcquisition() const { return m_next; }
    // Call after any change of the clock, START time, timer or acquisition switch.
    void reschedule();
    void recordNow();
    void eraseMemory();
    void factoryReset();
    // Changes a multiplexer's channel count; a new layout cannot share memory with the old.
    void setChannels(int mux, int count);

    QJsonObject toJson() const;
    // Values per record that "A" and "a" announce (a fault may claim another count).
    int claimedColumns() const { return m_claimedColumns; }

private:
    void poll();
    void record(const QDateTime& t);
    void preload(int count);
    bool loadRecords(const QString& path);

    Settings m_settings;
    RecordMemory m_memory;
    SensorModel m_sensors;
    SimClock m_clock;
    QTimer m_poll;
    QDateTime m_next;            // next scheduled acquisition; invalid when none
    QDateTime m_lastRecord;
    HandlerTable m_handlers;
    QJsonArray m_commandLog;
    int m_commandCount = 0;
    int m_claimedColumns = -1;
};

// The recorded memory as the datalogger sends it: per record its time, and the texts of
// its values, temperatures and rain-gauge count, for the state dump.
QJsonArray memoryToJson(const Datalogger& d);

// Handler groups, one file each.
void addIdentityHandlers(HandlerTable& table);
void addChannelHandlers(HandlerTable& table);
void addMeasureHandlers(HandlerTable& table);
void addSensorHandlers(HandlerTable& table);
void addRemoteHandlers(HandlerTable& table);
