// Puts the program-wide link back as it is at start, so that every test begins alike
// whatever ran before it.
#pragma once

#include "link/modulo1.h"

inline void resetLink()
{
    Modulo1::setTransports(nullptr, nullptr);
    Modulo1::takeOverLink(nullptr, false);
    Modulo1::link() = Modulo1::LinkState();
    Modulo1::readTally() = Modulo1::ReadTally();
    Modulo1::abandonExchanges(false);
    Modulo1::setCommandControls({});
    Modulo1::resetCommandLock();
    Modulo1::LoggerModelCode = 0;
}
