// A console over the scripted transport, in a temporary program folder, with scripted
// message boxes: for what a simulator cannot be made to answer.
#pragma once

#include "console/console_window.h"
#include "link/exchange.h"
#include "link/program_folder.h"
#include "support/fake_transport.h"
#include "support/link_reset.h"
#include "support/scripted_dialogs.h"

#include <QMap>
#include <QTemporaryDir>

#include <memory>

class FakeConsoleRig {
public:
    FakeConsoleRig()
    {
        ProgramFolder::setOverride(folder.path());
        resetLink();
        Exchange::link().fieldTimeoutMs = 1500;
        Exchange::link().pausePercent = 5;  // nothing over this rig measures the pauses
        Exchange::takeOverLink(&port, true);
        console = std::make_unique<ConsoleWindow>();
        console->onProgramEnd = [this] { ++programEnds; };
        console->setDataFolder(folder.path());
        console->show();
    }
    ~FakeConsoleRig()
    {
        console.reset();
        resetLink();
        ProgramFolder::setOverride(QString());
    }

    QTemporaryDir folder;
    ScriptedDialogs dialogs;
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
