// TelnetParser: the telnet side of the client without a socket: strips commands from the
// arriving bytes, keeps the data, and decides the answers to option negotiation.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <array>

namespace Telnet {

// Command bytes and options the client knows.
enum Byte : unsigned char {
    SE = 240,
    NOP = 241,
    SB = 250,
    WILL = 251,
    WONT = 252,
    DO = 253,
    DONT = 254,
    IAC = 255,
};
enum Option : unsigned char { ECHO = 1, TERMINAL_TYPE = 24 };
constexpr unsigned char IS = 0;
constexpr unsigned char SEND = 1;

// Errors the negotiation raises; as 32-bit signed numbers they are negative.
constexpr qint32 UnexpectedEcho = qint32(0x80040401u);
constexpr qint32 DoEchoRefused = qint32(0x80040411u);
constexpr qint32 DontEchoRefused = qint32(0x80040412u);

// Three-byte command IAC verb option.
QByteArray command(unsigned char verb, unsigned char option);

} // namespace Telnet

class TelnetParser {
public:
    // What the owner must do, in order: write bytes to the host or raise an error.
    struct Action {
        enum class Kind { Send, Error };
        Kind kind;
        QByteArray bytes;    // Send
        qint32 number = 0;   // Error
        QString description; // Error
        bool operator==(const Action&) const = default;
    };
    using Actions = QList<Action>;

    // The data buffer never grows past this when the owner feeds no more than room().
    static constexpr qsizetype DataLimit = 1 << 20;
    // An unfinished subnegotiation of an option the client refuses is given up after
    // this many bytes, so a host cannot make the client hold bytes without end.
    static constexpr qsizetype SubnegotiationLimit = 512;

    // One arrival from the host. A command cut off at the end is kept and completed by
    // the next arrival; the data before it is passed on at once.
    Actions arrival(QByteArrayView bytes);
    // Queues IAC DO ECHO (on) or IAC DONT ECHO (off) and sends it if no answer is pending.
    Actions echo(bool on);

    // The received data, commands removed; taking it empties the buffer.
    QByteArray takeData();
    qsizetype dataSize() const { return data_.size(); }
    // Bytes of a cut-off command waiting for the next arrival.
    qsizetype pendingSize() const { return pending_.size(); }
    // How many more bytes may be fed without passing DataLimit.
    qsizetype room() const;

    // "a|b|c" sets the list of terminal types offered; "" empties it.
    void setTerminalTypes(const QString& types);
    // The last type sent, else the list joined with "|", else "".
    QString termType() const;
    // The connection ended: the type sent no longer holds.
    void forgetTerminalType() { currentType_.clear(); }
    // A new connection: nothing from the previous one is awaited or completed, and the
    // ECHO errors may be raised again.
    void newSession();

    int echoState() const { return echoState_; }

private:
    qsizetype handleCommand(const QByteArray& raw, qsizetype p, Actions& out);
    qsizetype handleOption(unsigned char verb, unsigned char option, Actions& out);
    using Answers = std::array<unsigned char, 256>;
    static void answerOnce(Actions& out, Answers& side, unsigned char verb, unsigned char option);
    qsizetype handleSubnegotiation(const QByteArray& raw, qsizetype p, Actions& out);
    void echoAnswer(bool hostWill, Actions& out);
    void echoError(Actions& out, qint32 number, const QString& description);
    void sendTerminalType(Actions& out);
    void sendQueueHead(Actions& out);
    static void send(Actions& out, QByteArray bytes);
    static void error(Actions& out, qint32 number, const QString& description);

    QByteArray pending_;
    QByteArray data_;
    QQueue<QByteArray> queue_;
    int echoState_ = 0; // 0 idle, 1 DO ECHO awaiting answer, 2 DONT ECHO awaiting answer
    QList<qint32> echoErrorsRaised_; // each ECHO error is raised once per connection
    // The last answer sent about each option: WILL or WONT for our side of it, DO or
    // DONT for the host's; 0 while none was sent on this connection.
    Answers ourSide_{};
    Answers hostSide_{};
    QStringList types_;
    int typeIndex_ = -1;
    QString currentType_;
};
