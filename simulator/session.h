// One line to the program: transport, optional telnet or modem, framing, datalogger, faults.
#pragma once

#include "command_parser.h"
#include "faults.h"
#include "hayes_modem.h"
#include "telnet_filter.h"

#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <deque>
#include <memory>

class Datalogger;
class Transport;
class WireLog;
struct Options;

class Session : public QObject {
    Q_OBJECT
public:
    Session(Transport* transport, Datalogger* logger, WireLog* log, const Options& options,
            QObject* parent = nullptr);

    QJsonObject toJson() const;

private:
    struct Pending { qint64 dueMs; QByteArray bytes; bool dropAfter; };

    void onReceived(const QByteArray& bytes);
    void onConnected();
    void onCommand(const Command& cmd);
    void queueReply(const QByteArray& bytes, int delayMs, bool dropAfter);
    void releaseDue();
    // Paced, counted and logged; with dropAfter the link drops once these bytes are out.
    void toLine(const QByteArray& bytes, bool dropAfter = false);
    void pump();
    void write(const QByteArray& bytes);
    void dropLink();
    void checkIdle();

    Transport* m_transport;
    Datalogger* m_logger;
    WireLog* m_log;
    Faults m_faults;
    CommandParser m_parser;
    std::unique_ptr<HayesModem> m_modem;
    std::unique_ptr<TelnetFilter> m_telnet;
    QByteArray m_telnetOffer;
    int m_baud;
    int m_wakeIdleMs;

    QElapsedTimer m_clock;
    qint64 m_lastActivityMs = 0;
    std::deque<Pending> m_delayed;
    QTimer m_delayTimer;
    QByteArray m_paced;           // waiting for the emulated line rate
    qint64 m_pacedSinceMs = 0;
    qint64 m_pacedSent = 0;
    QTimer m_paceTimer;
    QTimer m_idleTimer;
    qint64 m_rxBytes = 0;
    qint64 m_txBytes = 0;
    qint64 m_lineBytes = 0;       // bytes handed to the line, sent or waiting for the pace
    qint64 m_dropAt = -1;         // a field fault drops the link when m_txBytes reaches this
    bool m_dropped = false;
    bool m_dropFired = false;
    int m_wakeUps = 0;
    bool m_awaitingConfirmation = false;  // a block was sent and "]" has not come yet
    int m_connections = 0;
};
