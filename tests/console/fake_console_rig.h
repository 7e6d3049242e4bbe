// A console over the scripted transport, in a temporary program folder, with scripted
// message boxes: for what a simulator cannot be made to answer.
#pragma once

#include "console/console_window.h"
#include "support/fake_transport.h"
#include "support/scripted_dialogs.h"
#include "support/test_link.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>

class FakeConsoleRig {
public:
    FakeConsoleRig()
    {
        setFieldTimeout(link, 1500);
        setPausePercent(link, 5);  // nothing over this rig measures the pauses
        link.takeOver(&port, true);
        console = std::make_unique<ConsoleWindow>(testLink.services);
        console->onProgramEnd = [this] { ++programEnds; };
        console->setDataFolder(folder.path());
        console->show();
    }
    ~FakeConsoleRig() { console.reset(); }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    TestLink testLink{folder.path()};
    Link& link = testLink.link;
    DataloggerModel& datalogger = testLink.datalogger;
    FakeTransport port;
    std::unique_ptr<ConsoleWindow> console;
    int programEnds = 0;
};

// Answers each command letter with its next reply; the last reply of a letter repeats.
// The reply goes out as the command text arrives; the values that follow change nothing.
inline std::function<QByteArray(const QByteArray&)> datalogger(QMap<QByteArray, QList<QByteArray>> replies)
{
    auto table = std::make_shared<QMap<QByteArray, QList<QByteArray>>>(std::move(replies));
    return [table](const QByteArray& written) -> QByteArray {
        auto it = table->find(written);
        if (it == table->end() || it->isEmpty())
            return {};
        return it->size() > 1 ? it->takeFirst() : it->first();
    };
}
