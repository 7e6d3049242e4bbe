// How many comma-terminated values each command letter takes, and what they look like.
#pragma once

#include <optional>

enum class ValueKind {
    Trigger,   // only the single "," read trigger
    Numeric,   // numbers: digits, blank, sign, point
    Text,      // anything up to the comma
};

struct CommandRule {
    char letter;
    int minValues;
    int maxValues;
    ValueKind kind;
};

std::optional<CommandRule> ruleFor(char letter);
// Whether b can start (another) value of a command of this kind.
bool canStartValue(ValueKind kind, char b);
