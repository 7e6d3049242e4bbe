// Link: the one path for every exchange with the datalogger, over the serial port or the
// telnet client. One object, made by the program (or the collector, or a test) and handed
// to whoever talks to the datalogger: it owns the transport in use, the received bytes,
// the exchange guard, the console's command lock and the time-outs.
#pragma once

#include "link/receive_buffer.h"

#include <QByteArray>
#include <QPointer>
#include <QString>

#include <functional>

class LinkTransport;
class QElapsedTimer;
class SerialPort;
class TelnetClient;
class TelnetLink;

// What went wrong on the link that the operator must hear of. The link shows nothing
// itself: whoever made it decides (a message box, a report line).
struct LinkProblem {
    enum class Kind {
        Lost,        // the port or the peer went; reported once per loss
        SendFailed,  // a command could not be written
        PortFailed,  // the serial port could not be opened for the probe
    };
    Kind kind;
    QString text;
};

class Link {
public:
    // The time-outs and pacing; tests lower them.
    struct Settings {
        int fieldTimeoutMs = 60000;       // a field read gives "%%" after this
        int fixedWaitTimeoutMs = 60000;   // bound of the fixed-count waits
        int probeSettleMs = 3000;         // probe: wait after opening the port
        int probeWindowMs = 2000;         // probe: how long an answer to "V" is awaited
        int probeTotalMs = 1000;          // probe: returns no earlier than this after "V"
        int maxFieldBytes = 1 << 20;      // a field longer than this ends as a time-out
        int pausePercent = 100;           // pause waits this share of its length
        quint16 dataloggerTcpPort = 1024; // where connectTcp finds the datalogger
    };

    enum class Kind { Serial, Tcp };

    // How many reads ended and how many of them with the time-out mark, since the last
    // reset; a sequence of exchanges uses it to tell a silent datalogger.
    struct ReadTally {
        int reads = 0;
        int timeouts = 0;
    };

    // A long text up to a terminator (a block of records): see readBlock.
    struct BlockRead {
        enum class End {
            Complete,  // the terminator came; text holds what was before it
            Silent,    // nothing came for the field time-out
            TooLarge,  // more than maxBytes without the terminator
            Lost,      // the link went (or the exchange was abandoned)
        };
        End end = End::Silent;
        QByteArray text;
        qint64 received = 0;  // bytes that came before the read ended
    };

    Link();
    explicit Link(Settings settings);
    ~Link();
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    const Settings& settings() const { return settings_; }
    void setSettings(const Settings& settings) { settings_ = settings; }

    // Who hears of the link's problems (nobody until set).
    void setProblemHandler(std::function<void(const LinkProblem&)> handler);

    // The program's two link components (not owned). Until something takes the link
    // over, the exchanges go over the cable.
    void setTransports(SerialPort* serial, TelnetClient* telnet);
    SerialPort* serial() const;
    TelnetClient* telnet() const;

    // Taking over the link: from now on every exchange goes through the given transport.
    // What belonged to the one before is reset: its port closed or its connection
    // dropped, the receive buffer emptied, the port held open or not as heldOpen says.
    void takeOver(Kind kind, bool heldOpen);
    void takeOver(LinkTransport* transport, bool heldOpen);  // any transport (tests)
    // The transport in use (the serial port until something else takes over), or nullptr.
    LinkTransport* transport();
    // The exchanges go over the internet.
    bool isTcp();
    // The serial port stays open between exchanges (after a probe or a modem's call).
    bool portHeldOpen() const { return portHeldOpen_; }
    void setPortHeldOpen(bool held) { portHeldOpen_ = held; }

    ReadTally tally() const { return tally_; }
    // What the last read gave, and the received bytes no read has taken yet (tests look).
    QString lastReply() const { return lastReply_; }
    QByteArray unread() const { return receive_.peekAll(); }
    void resetTally() { tally_ = {}; }

    // The routines of the exchange path.
    // Opens COM port (at 9600 baud for a GSM datalogger, else 57600) and asks "V": 1
    // when the datalogger answered, 0 otherwise.
    int probeSerialPort(int port, bool gsm);
    bool sendCommand(const QString& command, const QString& values);
    QString readField();
    QString readUntil(const QString& terminator);
    // Unlike readUntil, waits as long as bytes keep coming, and gives up only when none
    // has come for the field time-out, or when more than maxBytes have come without the
    // terminator.
    BlockRead readBlock(const QByteArray& terminator, qint64 maxBytes);
    QString sendAndCollect(const QString& text, int count);
    QString sendAndCollectOnPort(const QString& text, int count);
    void openPort();
    void closePort();
    void pause(int hundredths);
    void flushInput();
    // Discards what arrives until the line has been quiet for quietMs, at most maxMs: the
    // rest of a reply that was abandoned. Text that ends with settled (when given) shows
    // the peer at rest as well as quiet would. False when the line was still busy at the end.
    bool discardUntilQuiet(int quietMs, int maxMs, const QByteArray& settled = {});
    void connectTcp(const QString& host);
    void disconnectTcp();

    // The console's command lock. It nests: only the release that matches the outermost
    // lockCommands enables the controls again. The console says how its controls are
    // switched (true = enabled).
    void setCommandControls(std::function<void(bool enabled)> switcher);
    void lockCommands();
    void unlockCommands();
    // How many command locks are held (0: the controls are enabled).
    int commandLockDepth() const { return lockDepth_; }
    // Drops every lock held and enables the controls: the operator's way out when an
    // interrupted exchange left the console locked.
    void resetCommandLock();

    // The exchange guard. Waiting for a reply services the user interface, so a timer or
    // a click can run while an exchange is in progress; so can a modal box's own event
    // loop. Code reached that way must not start an exchange of its own: the routines
    // above refuse (sending nothing, reading "%%"), and handlers reached from a click or
    // a timer call busy() first and do nothing when it is true. A handler called directly
    // by another handler is not refused.
    bool busy() const { return serviceDepth_ > 0; }
    // Services the user interface once, marked as inside an exchange. Every wait of the
    // program that services the user interface goes through here. waitMs > 0 blocks in
    // the event loop until an event arrives or waitMs elapses.
    void serviceUi(int waitMs = 0);
    // Abandons the exchange in progress: reads end at once with the time-out mark and
    // nothing more is sent until exchanges are allowed again (closing the console in the
    // middle of a read uses it to unwind the wait before its closing command).
    void abandonExchanges(bool on) { abandoned_ = on; }
    bool exchangesAbandoned() const;

    // Holds the command lock for a scope: a handler takes one, and every return path
    // releases it, so a handler called by another does not unlock the console midway.
    class CommandLock {
    public:
        explicit CommandLock(Link& link) : link_(link) { link_.lockCommands(); }
        ~CommandLock() { link_.unlockCommands(); }
        CommandLock(const CommandLock&) = delete;
        CommandLock& operator=(const CommandLock&) = delete;

    private:
        Link& link_;
    };
    // Marks a nested event loop (a modal box, a modal window) for the exchange guard for
    // the lifetime of the object.
    class NestedLoop {
    public:
        explicit NestedLoop(Link& link) : link_(link) { ++link_.serviceDepth_; }
        ~NestedLoop() { --link_.serviceDepth_; }
        NestedLoop(const NestedLoop&) = delete;
        NestedLoop& operator=(const NestedLoop&) = delete;

    private:
        Link& link_;
    };
    // While one is held, the first read that ends with the time-out mark abandons the
    // exchanges until the last one is released: a datalogger that did not answer one
    // read will not answer the next, and each of those reads would otherwise wait its
    // whole field time-out. Counted from the tally's last reset.
    class EndAtFirstTimeout {
    public:
        explicit EndAtFirstTimeout(Link& link) : link_(link) { ++link_.endAtFirstTimeout_; }
        ~EndAtFirstTimeout() { --link_.endAtFirstTimeout_; }
        EndAtFirstTimeout(const EndAtFirstTimeout&) = delete;
        EndAtFirstTimeout& operator=(const EndAtFirstTimeout&) = delete;

    private:
        Link& link_;
    };

private:
    friend class LinkTransport;  // a transport that goes gives the link back
    // How long a wait sleeps in the event loop between looks at the input.
    static constexpr int pollMs = 20;

    void sleepUntil(const QElapsedTimer& since, qint64 ms);  // no event is serviced
    void pullInput(LinkTransport* t);
    bool opensPerExchange(const LinkTransport* t) const;
    void reportLoss(LinkTransport* t);
    void report(LinkProblem::Kind kind, const QString& text);
    void switchControls(bool enabled);
    QString finishRead(LinkTransport* t, bool timedOut, const QString& text);
    LinkTransport* readTransport();
    bool linkGone(LinkTransport* t);
    QString collect(SerialPort* port, int count);
    bool sent(LinkTransport* t, bool ok);

    Settings settings_;
    std::function<void(const LinkProblem&)> problems_;
    // The registered components; the raw copies tell whether the transport in use was
    // one of them after it has gone.
    QPointer<SerialPort> serialPort_;
    QPointer<TelnetClient> telnetClient_;
    QPointer<TelnetLink> telnetLink_;  // a child of the telnet client
    LinkTransport* serialRaw_ = nullptr;
    LinkTransport* telnetRaw_ = nullptr;
    LinkTransport* active_ = nullptr;
    ReceiveBuffer receive_;
    QString lastReply_;
    ReadTally tally_;
    bool portHeldOpen_ = false;
    std::function<void(bool)> commandSwitcher_;
    int lockDepth_ = 0;
    int serviceDepth_ = 0;
    bool abandoned_ = false;
    int endAtFirstTimeout_ = 0;
};
