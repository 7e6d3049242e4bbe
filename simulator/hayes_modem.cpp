// The Hayes modem front-end.
#include "hayes_modem.h"

#include "options.h"

#include <QJsonArray>

namespace {

const QByteArray kIdentification = "SIMULATED MODEM 33600 V1.0";

} // namespace

HayesModem::HayesModem(const Options& o, std::function<void(const QByteArray&)> toLine, QObject* parent)
    : QObject(parent)
    , m_toLine(std::move(toLine))
    , m_dialMs(o.dialMs)
    , m_guardMs(o.guardMs)
    , m_dialResult(o.dialResult)
    , m_ati3Answer(o.ati3Answer)
{
    m_sinceInput.start();
    m_sinceReply.start();
    m_dialTimer.setSingleShot(true);
    m_guardTimer.setSingleShot(true);
    connect(&m_dialTimer, &QTimer::timeout, this, &HayesModem::onDialled);
    connect(&m_guardTimer, &QTimer::timeout, this, &HayesModem::onGuardElapsed);
}

QByteArray HayesModem::input(const QByteArray& bytes)
{
    QByteArray toLogger;
    for (char b : bytes) {
        switch (m_mode) {
        case Mode::Command:
        case Mode::OnlineCommand:
            commandByte(b);
            break;
        case Mode::Dialling:
            // Any key aborts a call in progress.
            m_dialTimer.stop();
            m_mode = Mode::Command;
            reply("NO CARRIER");
            break;
        case Mode::Online:
            toLogger += onlineByte(b);
            break;
        }
        m_sinceInput.restart();
    }
    return toLogger;
}

void HayesModem::commandByte(char b)
{
    if (m_echo)
        m_toLine(QByteArray(1, b));
    if (b == '\r') {
        const QByteArray line = m_line.trimmed();
        m_line.clear();
        runLine(line);
    } else if (b == '\b' || b == 0x7f) {
        m_line.chop(1);
    } else if (m_line.isEmpty() ? (b == 'A' || b == 'a')
                                : (m_line.size() > 1 || b == 'T' || b == 't')) {
        // Like a Hayes modem, wait for "AT" and drop what comes before it.
        if (m_line.size() < 128)
            m_line += b;
    } else {
        m_line.clear();
    }
}

void HayesModem::runLine(const QByteArray& line)
{
    if (!line.toUpper().startsWith("AT"))
        return;   // not a command line: modems ignore it
    const QByteArray body = line.mid(2);
    const QByteArray upper = body.toUpper();
    if (upper.startsWith('D')) {
        QByteArray number = body.mid(1).trimmed();
        if (number.startsWith('T') || number.startsWith('P') || number.startsWith('t') || number.startsWith('p'))
            number = number.mid(1);
        if (number.isEmpty() || connected()) {
            reply("ERROR");
            return;
        }
        m_dialled = number;
        m_mode = Mode::Dialling;
        m_dialTimer.start(m_dialMs);
        return;
    }
    QByteArray info;
    for (int i = 0; i < upper.size(); ++i) {
        const char c = upper[i];
        int digit = 0;
        if (i + 1 < upper.size() && upper[i + 1] >= '0' && upper[i + 1] <= '9')
            digit = upper[++i] - '0';
        switch (c) {
        case 'E': m_echo = digit != 0; break;
        case 'I':
            if (digit == 3 && !m_ati3Answer.isEmpty()) {
                m_toLine(m_ati3Answer);   // exactly as given, no OK after it
                m_sinceReply.restart();
                return;
            }
            info = digit == 3 ? kIdentification : QByteArray("33600");
            break;
        case 'H':
            if (connected())
                ++m_calls;
            m_mode = Mode::Command;
            break;
        case 'Z': m_echo = true; if (connected()) m_mode = Mode::Command; break;
        case 'O':
            if (m_mode == Mode::OnlineCommand) {
                m_mode = Mode::Online;
                reply("CONNECT 9600");
                return;
            }
            break;
        default: break;   // X, V, Q, &F, S...: accepted and ignored
        }
    }
    if (!info.isEmpty())
        reply(info);
    reply("OK");
}

QByteArray HayesModem::onlineByte(char b)
{
    if (b == '+') {
        const bool guarded = m_plus > 0 || m_sinceInput.elapsed() >= m_guardMs;
        if (guarded && m_plus < 3) {
            ++m_plus;
            if (m_plus == 3)
                m_guardTimer.start(m_guardMs);
            return {};
        }
    }
    // Not an escape after all: the held "+" go on to the datalogger.
    m_guardTimer.stop();
    const QByteArray held(m_plus, '+');
    m_plus = 0;
    return held + b;
}

void HayesModem::onDialled()
{
    // A real modem takes seconds to connect: its answer to the call never follows its
    // previous answer (the "OK" of "atx0") closer than the dial time, so a program that
    // reads the line less often than that never finds both in one block.
    const qint64 sinceReply = m_sinceReply.elapsed();
    if (sinceReply < m_dialMs) {
        m_dialTimer.start(int(m_dialMs - sinceReply));
        return;
    }
    m_sinceInput.restart();
    if (!m_dialResult.startsWith("CONNECT")) {
        m_mode = Mode::Command;   // BUSY, NO CARRIER...: the call failed
        reply(m_dialResult);
        return;
    }
    m_mode = Mode::Online;
    // One write, so that the program sees CR LF "CONNECT" at the start of one block.
    reply(m_dialResult);
}

void HayesModem::onGuardElapsed()
{
    if (m_mode != Mode::Online || m_plus != 3)
        return;
    m_plus = 0;
    ++m_escapes;
    m_mode = Mode::OnlineCommand;
    reply("OK");
}

void HayesModem::reply(const QByteArray& text)
{
    m_toLine("\r\n" + text + "\r\n");
    m_sinceReply.restart();
}

QJsonObject HayesModem::toJson() const
{
    static const char* names[] = {"command", "dialling", "online", "online_command"};
    return QJsonObject{{"mode", names[int(m_mode)]},
                       {"echo", m_echo},
                       {"dialled", QString::fromLatin1(m_dialled)},
                       {"calls_ended", m_calls},
                       {"escapes", m_escapes}};
}
