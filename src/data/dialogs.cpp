// The installed Dialogs implementation, the fallback used before windows exist, and the
// door every box goes through so that its event loop counts for the exchange guard.
#include "data/dialogs.h"

#include "link/link.h"

#include <cstdio>
#include <optional>

namespace {

class FallbackDialogs final : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons, Icon,
                   Answer defaultAnswer) override
    {
        std::fprintf(stderr, "%s: %s\n", qPrintable(title), qPrintable(text));
        return defaultAnswer;
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    void beep() override {}
};

FallbackDialogs fallback;
Dialogs* installed = nullptr;
Link* guardedLink = nullptr;

// Counts for the guard of the link the boxes belong to, while a box is up.
class Guard {
public:
    Guard()
    {
        if (guardedLink)
            inside_.emplace(*guardedLink);
    }

private:
    std::optional<Link::NestedLoop> inside_;
};

// A modal box runs an event loop of its own: a timer or a click reached through it
// must find the link busy, as it would inside a wait for a reply.
class GuardedDialogs final : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultAnswer) override
    {
        const Guard inside;
        return target().message(text, title, buttons, icon, defaultAnswer);
    }
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        const Guard inside;
        return target().openFileName(title, folder, filter);
    }
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override
    {
        const Guard inside;
        return target().saveFileName(title, folder, filter);
    }
    QString folderName(const QString& title, const QString& folder) override
    {
        const Guard inside;
        return target().folderName(title, folder);
    }
    void beep() override { target().beep(); }

private:
    static Dialogs& target() { return installed ? *installed : fallback; }
};

GuardedDialogs guarded;

} // namespace

Dialogs& dialogs() { return guarded; }

void setDialogs(Dialogs* d) { installed = d; }

void setDialogsGuard(Link* link) { guardedLink = link; }
