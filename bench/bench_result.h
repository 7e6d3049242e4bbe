// One machine-readable line per measured figure, which scripts/bench gathers into its table.
#pragma once

#include <cstdio>

// Prints "RESULT <id> <measured> <target> <figure>". Every target here is an upper
// bound: the figure passes when the measured value is at most the target. The id has no
// spaces; the figure is the words the table shows.
inline void reportResult(const char* id, double measured, double target, const char* figure)
{
    std::printf("RESULT %s %.4g %.4g %s\n", id, measured, target, figure);
    std::fflush(stdout);
}
