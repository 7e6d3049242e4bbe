// Strips telnet commands from what a telnet client sends, remembering its negotiation answers.
#pragma once

#include <QByteArray>
#include <QJsonArray>

class TelnetFilter {
public:
    QByteArray strip(const QByteArray& bytes);   // keeps an unfinished command for the next chunk
    QJsonArray answers() const { return m_answers; }   // e.g. "fc18" for WONT TERMINAL-TYPE

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    State m_state = State::Data;
    unsigned char m_verb = 0;
    QJsonArray m_answers;
};
