// Command framing on the datalogger side.
//
// The program sends a command's letter in one write and then its values one character at a
// time (at least 10 ms apart on a serial line; on TCP all in one block), with no terminator.
// Many letters are used both alone and with values ("D" alone or "D" ","; "H" alone or
// "H" " 0,"; "y" with one value or five). The rule used here:
//   - a letter that never takes values is executed at once;
//   - a letter that needs values collects comma-terminated values up to its maximum;
//   - once the minimum is reached, the command is executed when the maximum is reached,
//     when the next byte cannot start a value of that command (a letter after numbers, or
//     anything but "," after a read trigger; that byte then starts the next command), or
//     when the line stays silent for the gap (default 200 ms on a pty, 30 ms on TCP);
//   - a value left unfinished for ten gaps (at least 1 s) drops the command.
// Two sequences are special: "x" opens the five SMS lines, each sent as a command text and
// a comma, closed by "X" (an "X" at the start of a line closes them once five lines have
// arrived, or earlier when silence follows it); "A"/"a" immediately followed by "T"/"t" is
// a modem command line ("ATH", "atx0") that leaked through and is swallowed up to its CR,
// rather than starting a memory download.
#include "command_parser.h"

CommandParser::CommandParser(int gapMs, std::function<void(const Command&)> onCommand, QObject* parent)
    : QObject(parent)
    , m_gapMs(gapMs)
    , m_valueTimeoutMs(qMax(1000, 10 * gapMs))
    , m_onCommand(std::move(onCommand))
{
    m_timer.setSingleShot(true);
    connect(&m_timer, &QTimer::timeout, this, &CommandParser::onTimeout);
}

void CommandParser::feed(const QByteArray& bytes)
{
    for (char b : bytes) {
        if (!step(b)) {
            const bool consumed = step(b);   // Idle always consumes
            Q_ASSERT(consumed);
            Q_UNUSED(consumed);
        }
    }
}

void CommandParser::arm(int ms)
{
    m_timer.start(ms);
}

void CommandParser::reset()
{
    m_timer.stop();
    m_state = State::Idle;
    m_cmd = Command();
    m_current.clear();
    m_inValue = false;
    m_tentativeEnd = false;
}

void CommandParser::emitCommand()
{
    const Command cmd = m_cmd;
    reset();
    m_onCommand(cmd);
}

bool CommandParser::step(char b)
{
    switch (m_state) {
    case State::Idle:
        startCommand(b);
        return true;
    case State::AfterA:
        if (b == 'T' || b == 't') {
            m_cmd.letter = "AT";
            m_current = QByteArray(1, m_cmd.letter[0]) + b;
            m_state = State::ModemLine;
            arm(m_valueTimeoutMs);
            return true;
        }
        emitCommand();
        return false;
    case State::ModemLine:
        if (b == '\r' || b == '\n') {
            m_cmd.values = {m_current};
            emitCommand();
        } else {
            m_current += b;
            arm(m_valueTimeoutMs);
        }
        return true;
    case State::Values:
        return stepValues(b);
    case State::SmsLines:
        stepSmsLines(b);
        return true;
    }
    return true;
}

void CommandParser::startCommand(char b)
{
    if (b == 'x') {
        m_cmd.letter = "x";
        m_state = State::SmsLines;
        arm(m_valueTimeoutMs * 3);
        return;
    }
    const auto rule = ruleFor(b);
    if (!rule) {
        ++m_ignored;   // blanks, line ends, "+" of a modem escape, unknown letters
        return;
    }
    m_rule = *rule;
    m_cmd.letter = QByteArray(1, b);
    if (b == 'A' || b == 'a') {
        m_state = State::AfterA;
        arm(m_gapMs);
        return;
    }
    if (m_rule.maxValues == 0) {
        emitCommand();
        return;
    }
    m_state = State::Values;
    arm(m_rule.minValues == 0 ? m_gapMs : m_valueTimeoutMs);
}

bool CommandParser::stepValues(char b)
{
    const int count = int(m_cmd.values.size());
    if (!m_inValue) {
        if (count >= m_rule.minValues && !canStartValue(m_rule.kind, b)) {
            emitCommand();
            return false;
        }
        m_inValue = true;
    }
    if (b != ',') {
        m_current += b;
        arm(m_valueTimeoutMs);
        return true;
    }
    m_cmd.values << m_current;
    m_current.clear();
    m_inValue = false;
    if (count + 1 >= m_rule.maxValues)
        emitCommand();
    else
        arm(count + 1 >= m_rule.minValues ? m_gapMs : m_valueTimeoutMs);
    return true;
}

void CommandParser::stepSmsLines(char b)
{
    if (m_tentativeEnd) {
        m_tentativeEnd = false;   // the "X" began a line after all
        m_inValue = true;
    }
    if (!m_inValue && b == 'X') {
        if (m_cmd.values.size() >= 5) {
            emitCommand();
            return;
        }
        m_tentativeEnd = true;
        m_current = "X";
        arm(m_gapMs);
        return;
    }
    if (b == ',') {
        m_cmd.values << m_current;
        m_current.clear();
        m_inValue = false;
    } else {
        m_current += b;
        m_inValue = true;
    }
    arm(m_valueTimeoutMs * 3);
}

void CommandParser::onTimeout()
{
    switch (m_state) {
    case State::Idle:
        return;
    case State::AfterA:
        emitCommand();
        return;
    case State::ModemLine:
        m_cmd.values = {m_current};
        emitCommand();
        return;
    case State::Values:
        if (!m_inValue && m_cmd.values.size() >= m_rule.minValues) {
            emitCommand();
        } else {
            ++m_dropped;
            reset();
        }
        return;
    case State::SmsLines:
        // Silence after a lone "X", or a writer that stopped: keep the lines that arrived.
        emitCommand();
        return;
    }
}
