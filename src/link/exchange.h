// Exchange: the one path for every exchange with the datalogger, over the serial port or
// the telnet client: the link state, the probe, send, field reads and paced waits.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

class LinkTransport;
class SerialPort;
class TelnetClient;

namespace Exchange {

// Received bytes not yet consumed by a read. Consumption keeps a read offset so that
// taking a field costs the field's length, not the rest of the buffer.
class ReceiveBuffer {
public:
    void append(const QByteArray& bytes) { bytes_.append(bytes); }
    void clear() { bytes_.clear(); start_ = 0; scanned_ = 0; }
    int size() const { return int(bytes_.size()) - start_; }
    bool isEmpty() const { return size() == 0; }
    // Position (relative to the unread start) of the first c, or -1. Bytes already
    // searched are not searched again.
    int indexOf(char c);
    QByteArray take(int n);  // removes and returns the first n unread bytes
    QString takeText(int n); // the same, as text of one character per byte
    void drop(int n);        // removes the first n unread bytes
    QByteArray peekAll() const { return bytes_.mid(start_); }
    // Removes and returns every unread byte; without a copy when nothing was consumed.
    QByteArray takeAll();
    // Position (relative to the unread start) of needle at or after from, or -1.
    int find(const QByteArray& needle, int from) const;
    bool endsWith(const QByteArray& tail) const;

private:
    void compact();
    QByteArray bytes_;
    int start_ = 0;
    int scanned_ = 0;  // unread bytes before this one hold no comma
};

// The link state: one instance for the program. Which transport carries the exchanges
// (and so LinkIsTcp) is not kept here: see takeOverLink().
struct LinkState {
    bool portHeldOpen = false;
    int comPortNumber = 0;
    ReceiveBuffer receive;  // the ReceiveBuffer of the protocol
    QString lastReply;
    QString outgoingValues;
    // The start window's "GSM" box: 9600 baud instead of 57600, longer timers.
    bool gsmSelected = false;

    // Parameters that tests lower.
    int fieldTimeoutMs = 60000;       // a field read gives "%%" after this
    int fixedWaitTimeoutMs = 60000;   // bound of the fixed-count waits
    int probeSettleMs = 3000;         // probe: wait after opening the port
    int probeWindowMs = 2000;         // probe: how long an answer to "V" is awaited
    int probeTotalMs = 1000;          // probe: returns no earlier than this after "V"
    int maxFieldBytes = 1 << 20;      // a field longer than this ends as a time-out
    int pausePercent = 100;           // pause waits this share of its length
    quint16 dataloggerTcpPort = 1024; // where connectTcp finds the datalogger
};

LinkState& link();

// The model code, the first field of the answer to "D": 1 vibrating-wire, 0 analog.
extern qint16 loggerModelCode;

// The program's two link components, owned by the start window and registered once;
// this is the one way to reach them.
void setTransports(SerialPort* serial, TelnetClient* telnet);
SerialPort* serial();
TelnetClient* telnet();

// Taking over the link: from now on every exchange goes through the given transport.
// What belonged to the one before is reset: its port closed or its connection dropped,
// the receive buffer emptied, portHeldOpen set to heldOpen.
enum class LinkKind { Serial, Tcp };
void takeOverLink(LinkKind kind, bool heldOpen);
void takeOverLink(LinkTransport* transport, bool heldOpen);  // any transport (tests)
// The transport in use (the serial port until something else takes over), or nullptr.
LinkTransport* transport();
// The LinkIsTcp of the link state.
bool linkIsTcp();

// How many reads ended and how many of them with the time-out mark, since the last
// reset; a sequence of exchanges uses it to tell a silent datalogger.
struct ReadTally {
    int reads = 0;
    int timeouts = 0;
};
ReadTally& readTally();
// While one is held, the first read that ends with the time-out mark abandons the
// exchanges (see abandonExchanges) until the last one is released: a datalogger that
// did not answer one read will not answer the next, and each of those reads would
// otherwise wait its whole field time-out. Counted from the tally's last reset.
class EndAtFirstTimeout {
public:
    EndAtFirstTimeout();
    ~EndAtFirstTimeout();
    EndAtFirstTimeout(const EndAtFirstTimeout&) = delete;
    EndAtFirstTimeout& operator=(const EndAtFirstTimeout&) = delete;
};

// The console registers how its command controls are switched (true = enabled).
void setCommandControls(std::function<void(bool enabled)> switcher);

// The routines of the exchange path.
int probeSerialPort(int port);
bool sendCommand(const QString& command, const QString& values);
QString readField();
QString readUntil(const QString& terminator);

// A long text up to a terminator (a block of records): unlike readUntil it waits as
// long as bytes keep coming, and gives up only when none has come for the field
// time-out, or when more than maxBytes have come without the terminator.
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
// The console's command lock. It nests: only the release that matches the outermost
// lockCommands enables the controls again.
void lockCommands();
void unlockCommands();
void connectTcp(const QString& host);
void disconnectTcp();

// Holds the command lock for a scope: a handler takes one, and every return path
// releases it, so a handler called by another does not unlock the console midway.
class CommandLock {
public:
    CommandLock() { lockCommands(); }
    ~CommandLock() { unlockCommands(); }
    CommandLock(const CommandLock&) = delete;
    CommandLock& operator=(const CommandLock&) = delete;
};
// How many command locks are held (0: the controls are enabled).
int commandLockDepth();
// Drops every lock held and enables the controls: the operator's way out when an
// interrupted exchange left the console locked.
void resetCommandLock();

// The exchange guard. Waiting for a reply services the user interface, so a timer or a
// click can run while an exchange is in progress; so can a modal box's own event loop.
// Code reached that way must not start an exchange of its own: the routines above
// refuse (sending nothing, reading "%%"), and handlers reached from a click or a timer
// call linkBusy() first and do nothing when it is true. A handler called directly by
// another handler is not refused.
bool linkBusy();
// Services the user interface once, marked as inside an exchange. Every wait of the
// program that services the user interface goes through here. waitMs > 0 blocks in the
// event loop until an event arrives or waitMs elapses.
void serviceUi(int waitMs = 0);
// Abandons the exchange in progress: reads end at once with the time-out mark and
// nothing more is sent until exchanges are allowed again (closing the console in the
// middle of a read uses it to unwind the wait before its closing command).
void abandonExchanges(bool on);
bool exchangesAbandoned();
// Marks a nested event loop (a modal box, a modal window) for the exchange guard for
// the lifetime of the object.
class NestedLoop {
public:
    NestedLoop();
    ~NestedLoop();
    NestedLoop(const NestedLoop&) = delete;
    NestedLoop& operator=(const NestedLoop&) = delete;
};

} // namespace Exchange
