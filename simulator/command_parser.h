// Cuts the byte stream from the program into commands, although commands have no terminator.
#pragma once

#include "command.h"
#include "command_rules.h"

#include <QObject>
#include <QTimer>

#include <functional>

class CommandParser : public QObject {
    Q_OBJECT
public:
    // gapMs: silence after which an optional list of values is taken as finished.
    CommandParser(int gapMs, std::function<void(const Command&)> onCommand, QObject* parent = nullptr);

    void feed(const QByteArray& bytes);
    int ignoredBytes() const { return m_ignored; }
    int droppedCommands() const { return m_dropped; }

private:
    enum class State { Idle, AfterA, ModemLine, Values, SmsLines };

    bool step(char b);   // false: the byte was not consumed and must be seen again in Idle
    void startCommand(char b);
    bool stepValues(char b);
    void stepSmsLines(char b);
    void onTimeout();
    void emitCommand();
    void reset();
    void arm(int ms);

    int m_gapMs;
    int m_valueTimeoutMs;
    std::function<void(const Command&)> m_onCommand;
    QTimer m_timer;
    State m_state = State::Idle;
    CommandRule m_rule{};
    Command m_cmd;
    QByteArray m_current;
    bool m_inValue = false;
    bool m_tentativeEnd = false;   // an "X" that may close the SMS lines
    int m_ignored = 0;
    int m_dropped = 0;
};
