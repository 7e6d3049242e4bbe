// The datalogger's command catalogue as seen from the wire: value counts per letter.
#include "command_rules.h"

#include <array>

namespace {

// Letters that are used both alone and with values have minValues 0 and a maxValues above it.
constexpr std::array kRules = {
    CommandRule{'V', 0, 0, ValueKind::Trigger},
    CommandRule{'D', 0, 1, ValueKind::Trigger},   // "," model code; alone the next conversion date
    CommandRule{'N', 0, 0, ValueKind::Trigger},
    CommandRule{'O', 0, 0, ValueKind::Trigger},
    CommandRule{'o', 1, 1, ValueKind::Numeric},
    CommandRule{'U', 0, 1, ValueKind::Trigger},
    CommandRule{'u', 1, 1, ValueKind::Numeric},
    CommandRule{'z', 0, 1, ValueKind::Trigger},
    CommandRule{'d', 5, 5, ValueKind::Numeric},
    CommandRule{'Q', 0, 0, ValueKind::Trigger},
    CommandRule{'q', 1, 1, ValueKind::Text},
    CommandRule{'G', 0, 1, ValueKind::Trigger},   // "," five fields; alone the fixed 19 bytes
    CommandRule{'g', 5, 5, ValueKind::Numeric},
    CommandRule{'Y', 0, 1, ValueKind::Trigger},   // "," START time; alone the e-mail switch
    CommandRule{'y', 1, 5, ValueKind::Numeric},   // five: START time; one: e-mail switch
    CommandRule{'C', 0, 1, ValueKind::Trigger},
    CommandRule{'c', 3, 3, ValueKind::Numeric},
    CommandRule{'E', 0, 1, ValueKind::Trigger},
    CommandRule{'e', 1, 1, ValueKind::Numeric},
    CommandRule{'^', 0, 0, ValueKind::Trigger},
    CommandRule{'W', 0, 0, ValueKind::Trigger},
    CommandRule{'T', 0, 0, ValueKind::Trigger},
    CommandRule{'H', 0, 1, ValueKind::Numeric},   // multiplexer selector; alone the channel list
    CommandRule{'h', 2, 2, ValueKind::Numeric},
    CommandRule{'M', 0, 1, ValueKind::Trigger},
    CommandRule{'b', 0, 1, ValueKind::Trigger},
    CommandRule{'L', 0, 1, ValueKind::Trigger},
    CommandRule{'A', 0, 0, ValueKind::Trigger},
    CommandRule{'a', 0, 0, ValueKind::Trigger},
    CommandRule{'J', 0, 1, ValueKind::Numeric},   // channel selector; alone the field test
    CommandRule{'j', 1, 4, ValueKind::Numeric},   // four: alert of a channel; one: GSM switch
    CommandRule{'p', 1, 1, ValueKind::Numeric},
    CommandRule{'t', 1, 1, ValueKind::Numeric},
    CommandRule{'[', 0, 0, ValueKind::Trigger},
    CommandRule{']', 0, 0, ValueKind::Trigger},
    CommandRule{'R', 1, 1, ValueKind::Numeric},
    CommandRule{'r', 6, 6, ValueKind::Text},
    CommandRule{'X', 0, 0, ValueKind::Trigger},
    CommandRule{'I', 0, 0, ValueKind::Trigger},
    CommandRule{'i', 12, 12, ValueKind::Text},
    CommandRule{'F', 0, 0, ValueKind::Trigger},
    CommandRule{'f', 2, 2, ValueKind::Text},
    CommandRule{'K', 0, 0, ValueKind::Trigger},
    CommandRule{'k', 10, 10, ValueKind::Text},
    CommandRule{'<', 1, 1, ValueKind::Numeric},
    CommandRule{'>', 0, 0, ValueKind::Trigger},
};

} // namespace

std::optional<CommandRule> ruleFor(char letter)
{
    for (const CommandRule& r : kRules)
        if (r.letter == letter)
            return r;
    return std::nullopt;
}

bool canStartValue(ValueKind kind, char b)
{
    switch (kind) {
    case ValueKind::Trigger:
        return b == ',';
    case ValueKind::Numeric:
        return (b >= '0' && b <= '9') || b == ' ' || b == '+' || b == '-' || b == '.' || b == ',';
    case ValueKind::Text:
        return true;
    }
    return false;
}
