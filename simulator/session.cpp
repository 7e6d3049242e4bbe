// One line to the program.
#include "session.h"

#include "datalogger.h"
#include "options.h"
#include "transport.h"
#include "wire_log.h"

namespace {

// What the datalogger sends when it wakes up; the program waits for "S2" with text before it.
const QByteArray kWakeUp = "READY\r\nS2";
constexpr int kPaceTickMs = 5;
constexpr int kIdleTickMs = 100;
// After sending a block, the datalogger waits for its confirmation this many idle
// periods before it wakes up again on its own.
constexpr int kBlockPatience = 10;

} // namespace

Session::Session(Transport* transport, Datalogger* logger, WireLog* log, const Options& o, QObject* parent)
    : QObject(parent)
    , m_transport(transport)
    , m_logger(logger)
    , m_log(log)
    , m_faults(o.faults)
    , m_parser(transport->isTcp() ? o.tcpGapMs : o.gapMs, [this](const Command& c) { onCommand(c); })
    , m_telnetOffer(o.telnetOffer)
    , m_baud(o.baud)
    , m_wakeIdleMs(o.wakeIdleMs)
{
    m_clock.start();
    if (o.modem && !transport->isTcp())
        m_modem = std::make_unique<HayesModem>(o, [this](const QByteArray& b) { toLine(b); });
    if (o.telnet && transport->isTcp())
        m_telnet = std::make_unique<TelnetFilter>();
    connect(transport, &Transport::received, this, &Session::onReceived);
    connect(transport, &Transport::peerConnected, this, &Session::onConnected);
    m_delayTimer.setSingleShot(true);
    connect(&m_delayTimer, &QTimer::timeout, this, &Session::releaseDue);
    connect(&m_paceTimer, &QTimer::timeout, this, &Session::pump);
    connect(&m_idleTimer, &QTimer::timeout, this, &Session::checkIdle);
    if (m_wakeIdleMs > 0)
        m_idleTimer.start(kIdleTickMs);
}

void Session::onReceived(const QByteArray& bytes)
{
    if (m_log)
        m_log->log("rx", bytes);
    m_rxBytes += bytes.size();
    m_lastActivityMs = m_clock.elapsed();
    QByteArray data = m_telnet ? m_telnet->strip(bytes) : bytes;
    if (m_modem)
        data = m_modem->input(data);
    if (!data.isEmpty())
        m_parser.feed(data);
}

void Session::onConnected()
{
    ++m_connections;
    m_delayed.clear();
    m_paced.clear();
    m_dropped = false;
    if (m_telnet)
        toLine(m_telnetOffer);
}

void Session::onCommand(const Command& cmd)
{
    if (cmd.letter == "[" || cmd.letter == "]")
        m_awaitingConfirmation = cmd.letter == "[";
    const Faults::Reply reply = m_faults.apply(cmd.letter, m_logger->execute(cmd));
    if (!reply.bytes.isEmpty() || reply.dropAfter)
        queueReply(reply.bytes, m_faults.delayMs(cmd.letter), reply.dropAfter);
}

void Session::queueReply(const QByteArray& bytes, int delayMs, bool dropAfter)
{
    if (delayMs <= 0 && m_delayed.empty()) {
        if (!m_modem || m_modem->online())
            toLine(bytes, dropAfter);
        return;
    }
    m_delayed.push_back({m_clock.elapsed() + delayMs, bytes, dropAfter});
    if (!m_delayTimer.isActive())
        m_delayTimer.start(int(qMax<qint64>(0, m_delayed.front().dueMs - m_clock.elapsed())));
}

void Session::releaseDue()
{
    // Replies leave in the order of their commands, each no earlier than its delay.
    while (!m_delayed.empty() && m_delayed.front().dueMs <= m_clock.elapsed()) {
        const Pending due = m_delayed.front();
        m_delayed.pop_front();
        if (!m_modem || m_modem->online())
            toLine(due.bytes, due.dropAfter);
    }
    if (!m_delayed.empty())
        m_delayTimer.start(int(qMax<qint64>(0, m_delayed.front().dueMs - m_clock.elapsed())));
}

void Session::toLine(const QByteArray& bytes, bool dropAfter)
{
    if (m_dropped)
        return;
    m_lineBytes += bytes.size();
    if (dropAfter)
        m_dropAt = m_lineBytes;
    if (bytes.isEmpty()) {
        if (dropAfter && m_txBytes >= m_dropAt)
            dropLink();
        return;
    }
    if (m_baud <= 0) {
        write(bytes);
        return;
    }
    if (m_paced.isEmpty()) {
        m_pacedSinceMs = m_clock.elapsed();
        m_pacedSent = 0;
    }
    m_paced += bytes;
    if (!m_paceTimer.isActive())
        m_paceTimer.start(kPaceTickMs);
    pump();
}

void Session::pump()
{
    // Ten bits per byte on the line: start, eight data bits, stop.
    const qint64 allowed = (m_clock.elapsed() - m_pacedSinceMs) * m_baud / 10000 + 1;
    const qint64 n = qMin<qint64>(allowed - m_pacedSent, m_paced.size());
    if (n > 0) {
        const QByteArray chunk = m_paced.left(int(n));
        m_paced.remove(0, int(n));
        m_pacedSent += n;
        write(chunk);
    }
    if (m_paced.isEmpty())
        m_paceTimer.stop();
}

void Session::write(const QByteArray& bytes)
{
    if (m_dropped)
        return;
    qint64 limit = m_dropFired ? -1 : m_faults.dropAfterBytes();
    if (m_dropAt >= 0 && (limit < 0 || m_dropAt < limit))
        limit = m_dropAt;
    QByteArray out = bytes;
    const bool drop = limit >= 0 && m_txBytes + out.size() >= limit;
    if (drop)
        out.truncate(int(limit - m_txBytes));
    if (!out.isEmpty()) {
        m_transport->send(out);
        if (m_log)
            m_log->log("tx", out);
        m_txBytes += out.size();
    }
    m_lastActivityMs = m_clock.elapsed();
    if (drop)
        dropLink();
}

void Session::dropLink()
{
    m_dropped = true;
    m_paced.clear();
    m_delayed.clear();
    m_lineBytes = m_txBytes;
    m_dropAt = -1;
    m_dropFired = true;   // each fault strikes once; a new TCP client is served again
    m_transport->drop();
}

void Session::checkIdle()
{
    if (m_dropped || (m_modem && !m_modem->online()) || m_transport->pendingBytes() > 0)
        return;
    const qint64 idle = m_clock.elapsed() - m_lastActivityMs;
    if (idle < m_wakeIdleMs || (m_awaitingConfirmation && idle < qint64(kBlockPatience) * m_wakeIdleMs))
        return;
    m_awaitingConfirmation = false;
    ++m_wakeUps;
    // One wake-up per idle period, as one DTR raise gives one: the next comes only after
    // the line has been idle that long again.
    m_lastActivityMs = m_clock.elapsed();
    toLine(kWakeUp);
}

QJsonObject Session::toJson() const
{
    QJsonObject o{{"transport", m_transport->isTcp() ? "tcp" : "pty"},
                  {"rx_bytes", double(m_rxBytes)},
                  {"tx_bytes", double(m_txBytes)},
                  {"connections", m_connections},
                  {"dropped", m_dropped},
                  {"wake_ups", m_wakeUps},
                  {"ignored_bytes", m_parser.ignoredBytes()},
                  {"dropped_commands", m_parser.droppedCommands()}};
    if (m_modem)
        o["modem"] = m_modem->toJson();
    if (m_telnet)
        o["telnet_answers"] = m_telnet->answers();
    return o;
}
