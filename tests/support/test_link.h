// The link, the door to the operator and the datalogger model a test's windows work with,
// made as the program makes them: the link's problems shown through the door, a box's
// own event loop counted for the link's guard. The door puts each box in front of the
// test's scripted door (ScriptedDialogs), or answers with the default button when the
// test made none. Short time-outs for tests against the simulator.
#pragma once

#include "data/dialogs.h"
#include "data/link_problems.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "support/scripted_dialogs.h"
#include "widgets/services.h"

// Waits short enough for a test against the simulator on a pseudo-terminal. The
// simulator answers the probe within milliseconds; only a silent one uses up its window.
inline Link::Settings fastSerialSettings()
{
    Link::Settings s;
    s.probeSettleMs = 20;
    s.probeWindowMs = 400;
    s.probeTotalMs = 40;
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

// Boxes to the test's scripted door; the default answer when there is none.
class ToScriptedDialogs final : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultAnswer) override
    {
        ScriptedDialogs* d = ScriptedDialogs::current();
        return d ? d->message(text, title, buttons, icon, defaultAnswer) : defaultAnswer;
    }
    QString openFileName(const QString& t, const QString& f, const QString& x) override
    {
        ScriptedDialogs* d = ScriptedDialogs::current();
        return d ? d->openFileName(t, f, x) : QString();
    }
    QString saveFileName(const QString& t, const QString& f, const QString& x) override
    {
        ScriptedDialogs* d = ScriptedDialogs::current();
        return d ? d->saveFileName(t, f, x) : QString();
    }
    QString folderName(const QString& t, const QString& f) override
    {
        ScriptedDialogs* d = ScriptedDialogs::current();
        return d ? d->folderName(t, f) : QString();
    }
    void beep() override
    {
        if (ScriptedDialogs* d = ScriptedDialogs::current())
            d->beep();
    }
};

class TestLink {
public:
    // programFolder: where the windows keep their files (a test's temporary folder).
    explicit TestLink(const QString& programFolder, const Link::Settings& settings = fastSerialSettings())
        : TestLink(settings)
    {
        services.programFolder = programFolder;
    }
    explicit TestLink(const Link::Settings& settings = fastSerialSettings())
        : link(settings)
    {
        link.setProblemHandler([this](const LinkProblem& problem) { showLinkProblem(dialogs, problem); });
    }
    TestLink(const TestLink&) = delete;
    TestLink& operator=(const TestLink&) = delete;

    Link link;
    ToScriptedDialogs scripted;
    GuardedDialogs dialogs{scripted, link};
    DataloggerModel datalogger;
    Services services{link, dialogs, datalogger, QString()};
};

// Changes some of the link's settings: tune(link, [](Link::Settings& s) { s.x = 1; }).
template <class Change>
void tune(Link& link, Change change)
{
    Link::Settings s = link.settings();
    change(s);
    link.setSettings(s);
}
