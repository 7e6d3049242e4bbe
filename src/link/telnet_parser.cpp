// The telnet arrival parser and the answers the client gives to option negotiation.
#include "link/telnet_parser.h"

using namespace Telnet;

QByteArray Telnet::command(unsigned char verb, unsigned char option)
{
    QByteArray c(3, char(IAC));
    c[1] = char(verb);
    c[2] = char(option);
    return c;
}

namespace {

unsigned char at(const QByteArray& raw, qsizetype i) { return static_cast<unsigned char>(raw[i]); }

} // namespace

TelnetParser::Actions TelnetParser::arrival(QByteArrayView bytes)
{
    QByteArray raw;
    raw.swap(pending_);
    raw.append(bytes);

    Actions out;
    qsizetype start = 0;
    for (;;) {
        const qsizetype p = raw.indexOf(char(IAC), start);
        if (p < 0) {
            data_.append(QByteArrayView(raw).sliced(start));
            sendQueueHead(out);
            break;
        }
        data_.append(QByteArrayView(raw).sliced(start, p - start));
        const qsizetype consumed = handleCommand(raw, p, out);
        if (consumed == 0) {
            pending_ = raw.sliced(p);
            break;
        }
        start = p + consumed;
    }
    return out;
}

TelnetParser::Actions TelnetParser::echo(bool on)
{
    queue_.enqueue(command(on ? DO : DONT, ECHO));
    Actions out;
    sendQueueHead(out);
    return out;
}

QByteArray TelnetParser::takeData()
{
    QByteArray d;
    d.swap(data_);
    return d;
}

qsizetype TelnetParser::room() const
{
    return qMax<qsizetype>(0, DataLimit - data_.size() - pending_.size());
}

void TelnetParser::setTerminalTypes(const QString& types)
{
    types_ = types.isEmpty() ? QStringList() : types.split(QLatin1Char('|'));
}

QString TelnetParser::termType() const
{
    if (!currentType_.isEmpty())
        return currentType_;
    return types_.join(QLatin1Char('|'));
}

void TelnetParser::newSession()
{
    pending_.clear();
    echoState_ = 0;
    echoErrorsRaised_.clear();
    ourSide_.fill(0);
    hostSide_.fill(0);
    queue_.clear();  // a request queued for an old connection is not the new host's business
}

// Returns the bytes consumed from p, or 0 when the command is not complete yet.
qsizetype TelnetParser::handleCommand(const QByteArray& raw, qsizetype p, Actions& out)
{
    const qsizetype avail = raw.size() - p;
    if (avail < 2)
        return 0;
    const unsigned char verb = at(raw, p + 1);
    switch (verb) {
    case IAC: // a doubled IAC stands for the data byte 255
        data_.append(char(IAC));
        return 2;
    case DO:
    case DONT:
    case WILL:
    case WONT:
        return avail < 3 ? 0 : handleOption(verb, at(raw, p + 2), out);
    case SB:
        return avail < 3 ? 0 : handleSubnegotiation(raw, p, out);
    default:
        // The other commands (NOP, GA, SE, ...) are two bytes and need no answer. A
        // byte below them is no command: only the stray IAC is dropped.
        return verb >= SE ? 2 : 1;
    }
}

qsizetype TelnetParser::handleOption(unsigned char verb, unsigned char option, Actions& out)
{
    if (option == ECHO && (verb == WILL || verb == WONT)) {
        echoAnswer(verb == WILL, out);
    } else if (verb == DO || verb == DONT) {
        const bool offer = verb == DO && option == TERMINAL_TYPE && !types_.isEmpty();
        if (offer && ourSide_[option] != WILL)
            typeIndex_ = -1;
        answerOnce(out, ourSide_, offer ? WILL : WONT, option);
    } else {
        answerOnce(out, hostSide_, DONT, option);
    }
    return 3;
}

// A request that would leave the option as our last answer put it gets no answer: a
// host repeating a request in a loop would otherwise get an answer for each one, and a
// host that never reads them would make them pile up without end.
void TelnetParser::answerOnce(Actions& out, Answers& side, unsigned char verb, unsigned char option)
{
    if (side[option] == verb)
        return;
    side[option] = verb;
    send(out, command(verb, option));
}

// The host's answer to our DO ECHO (state 1) or DONT ECHO (state 2); any answer ends the
// wait, and no answer goes back.
void TelnetParser::echoAnswer(bool hostWill, Actions& out)
{
    if (echoState_ == 0)
        echoError(out, UnexpectedEcho, QStringLiteral("Unexpected WILL ECHO"));
    else if (echoState_ == 1 && !hostWill)
        echoError(out, DoEchoRefused, QStringLiteral("DO ECHO refused by host"));
    else if (echoState_ == 2 && hostWill)
        echoError(out, DontEchoRefused, QStringLiteral("DONT ECHO refused by host"));
    echoState_ = 0;
}

// The owner shows every error to the operator, so a host repeating a wrong answer (a burst
// of IAC WILL ECHO) would bury the screen under the same message: each kind is raised
// once per connection, and the answers go on being handled as before.
void TelnetParser::echoError(Actions& out, qint32 number, const QString& description)
{
    if (echoErrorsRaised_.contains(number))
        return;
    echoErrorsRaised_.append(number);
    error(out, number, description);
}

qsizetype TelnetParser::handleSubnegotiation(const QByteArray& raw, qsizetype p, Actions& out)
{
    const qsizetype avail = raw.size() - p;
    if (at(raw, p + 2) == TERMINAL_TYPE) {
        // The host's only request for this option is IAC SB TERMINAL-TYPE SEND IAC SE.
        if (avail < 6)
            return 0;
        sendTerminalType(out);
        return 6;
    }
    // An option we refused: skip it up to IAC SE; a doubled IAC inside does not end it.
    const qsizetype end = p + qMin(avail, SubnegotiationLimit);
    for (qsizetype q = p + 3; q + 1 < end; ++q) {
        if (at(raw, q) != IAC)
            continue;
        if (at(raw, q + 1) == SE)
            return q + 2 - p;
        ++q;
    }
    // Too long to be a real subnegotiation: drop its opening and read on as data.
    return avail >= SubnegotiationLimit ? 3 : 0;
}

void TelnetParser::sendTerminalType(Actions& out)
{
    QString type;
    if (types_.isEmpty()) {
        type = QStringLiteral("UNKNOWN");
    } else if (++typeIndex_ >= types_.size()) {
        // Past the end the last type is repeated once, then the list starts over.
        type = types_.last();
        typeIndex_ = -1;
    } else {
        type = types_.at(typeIndex_);
    }
    QByteArray reply = command(SB, TERMINAL_TYPE);
    reply.append(char(IS));
    reply.append(type.toLatin1());
    reply.append(char(IAC));
    reply.append(char(SE));
    send(out, reply);
    currentType_ = type;
}

void TelnetParser::sendQueueHead(Actions& out)
{
    if (echoState_ != 0 || queue_.isEmpty())
        return;
    const QByteArray head = queue_.dequeue();
    if (head.startsWith(command(DO, ECHO)))
        echoState_ = 1;
    else if (head.startsWith(command(DONT, ECHO)))
        echoState_ = 2;
    send(out, head);
}

void TelnetParser::send(Actions& out, QByteArray bytes)
{
    out.append({Action::Kind::Send, std::move(bytes), 0, {}});
}

void TelnetParser::error(Actions& out, qint32 number, const QString& description)
{
    out.append({Action::Kind::Error, {}, number, description});
}
