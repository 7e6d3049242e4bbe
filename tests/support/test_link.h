// The link and the datalogger model a test talks through, made as the program makes
// them: the link's problems shown through the dialogs door (so a scripted door records
// them), a box's own event loop counted for the link's guard. Short time-outs for tests
// against the simulator.
#pragma once

#include "data/dialogs.h"
#include "data/link_problems.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"

// Waits short enough for a test against the simulator on a pseudo-terminal.
inline Link::Settings fastSerialSettings()
{
    Link::Settings s;
    s.probeSettleMs = 100;
    s.probeWindowMs = 700;
    s.probeTotalMs = 800;
    s.fieldTimeoutMs = 4000;
    s.fixedWaitTimeoutMs = 4000;
    return s;
}

inline void setFieldTimeout(Link& link, int ms)
{
    Link::Settings s = link.settings();
    s.fieldTimeoutMs = ms;
    link.setSettings(s);
}

inline void setPausePercent(Link& link, int percent)
{
    Link::Settings s = link.settings();
    s.pausePercent = percent;
    link.setSettings(s);
}

class TestLink {
public:
    explicit TestLink(const Link::Settings& settings = fastSerialSettings()) : link(settings)
    {
        link.setProblemHandler(showLinkProblem);
        setDialogsGuard(&link);
    }
    ~TestLink() { setDialogsGuard(nullptr); }
    TestLink(const TestLink&) = delete;
    TestLink& operator=(const TestLink&) = delete;

    Link link;
    DataloggerModel datalogger;
};

// Changes some of the link's settings: tune(link, [](Link::Settings& s) { s.x = 1; }).
template <class Change>
void tune(Link& link, Change change)
{
    Link::Settings s = link.settings();
    change(s);
    link.setSettings(s);
}
