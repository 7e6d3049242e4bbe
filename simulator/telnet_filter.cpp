// Telnet command stripping (RFC 854): IAC verb option, IAC SB ... IAC SE, IAC IAC.
#include "telnet_filter.h"

namespace {

constexpr unsigned char IAC = 255, SB = 250, SE = 240, WILL = 251, WONT = 252, DO = 253, DONT = 254;

} // namespace

QByteArray TelnetFilter::strip(const QByteArray& bytes)
{
    QByteArray data;
    for (char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        switch (m_state) {
        case State::Data:
            if (b == IAC)
                m_state = State::Iac;
            else
                data += ch;
            break;
        case State::Iac:
            if (b == IAC) {
                data += ch;   // a doubled IAC is the data byte 255
                m_state = State::Data;
            } else if (b == WILL || b == WONT || b == DO || b == DONT) {
                m_verb = b;
                m_state = State::Option;
            } else if (b == SB) {
                m_state = State::Sub;
            } else {
                m_state = State::Data;   // NOP, GA and the like carry no option
            }
            break;
        case State::Option:
            m_answers.append(QString::fromLatin1((QByteArray(1, char(m_verb)) + ch).toHex()));
            m_state = State::Data;
            break;
        case State::Sub:
            if (b == IAC)
                m_state = State::SubIac;
            break;
        case State::SubIac:
            m_state = b == SE ? State::Data : State::Sub;
            break;
        }
    }
    return data;
}
