// Puts the program-wide link back as it is at start, so that every test begins alike
// whatever ran before it.
#pragma once

#include "link/exchange.h"

inline void resetLink()
{
    Exchange::setTransports(nullptr, nullptr);
    Exchange::takeOverLink(nullptr, false);
    Exchange::link() = Exchange::LinkState();
    Exchange::readTally() = Exchange::ReadTally();
    Exchange::abandonExchanges(false);
    Exchange::setCommandControls({});
    Exchange::resetCommandLock();
    Exchange::loggerModelCode = 0;
}
