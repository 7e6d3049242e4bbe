// Link time-outs short enough for tests against the simulator, on the serial link.
#pragma once

#include "support/link_reset.h"

inline void useFastSerialLink()
{
    resetLink();
    Exchange::LinkState& link = Exchange::link();
    link.probeSettleMs = 100;
    link.probeWindowMs = 700;
    link.probeTotalMs = 800;
    link.fieldTimeoutMs = 4000;
    link.fixedWaitTimeoutMs = 4000;
}
