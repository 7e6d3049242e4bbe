// Link time-outs short enough for tests against the simulator, on the serial link.
#pragma once

#include "link/modulo1.h"

inline void useFastSerialLink()
{
    Modulo1::LinkState& link = Modulo1::link();
    link.LinkIsTcp = false;
    link.GsmSelected = false;
    link.probeSettleMs = 100;
    link.probeWindowMs = 700;
    link.probeTotalMs = 800;
    link.fieldTimeoutMs = 4000;
    link.fixedWaitTimeoutMs = 4000;
}
