// The installed Dialogs implementation and the fallback used before windows exist.
#include "link/dialogs.h"

#include <cstdio>

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

} // namespace

Dialogs& dialogs() { return installed ? *installed : fallback; }

void setDialogs(Dialogs* d) { installed = d; }
