// A console talking to the simulator on a pty through the real serial link, in a
// temporary program folder, with scripted message boxes and shortened link waits.
#pragma once

#include "console/console_window.h"
#include "data/com_ports.h"
#include "link/serial_port.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"
#include "support/test_link.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class ConsoleRig {
public:
    explicit ConsoleRig(const QStringList& simArgs = {}) : sim(simArgs)
    {
        port.setPortNames(ComPorts::names(folder.path()));
        link.setTransports(&port, nullptr);
    }
    ~ConsoleRig()
    {
        console.reset();
        link.closePort();
    }

    // Starts the simulator, points COM1 at it, probes it and builds a fresh console.
    bool connect()
    {
        if (!sim.start()) {
            qWarning("simulator did not start at %s", qPrintable(sim.ptyPath()));
            return false;
        }
        QFile ports(folder.filePath(QStringLiteral("comports.ini")));
        if (!ports.open(QIODevice::WriteOnly))
            return false;
        ports.write((sim.ptyPath() + QLatin1Char('\n')).toUtf8());
        for (int n = 2; n <= 8; ++n)
            ports.write((folder.path() + QStringLiteral("/none%1\n").arg(n)).toUtf8());
        ports.close();
        if (link.probeSerialPort(1, datalogger.gsm()) != 1)
            return false;
        newConsole();
        return true;
    }

    void newConsole()
    {
        console.reset();
        console = std::make_unique<ConsoleWindow>(testLink.services);
        console->onProgramEnd = [this] { ++programEnds; };
        console->setDataFolder(folder.path());
    }

    // What the simulator received since the last call (the wire is given time to drain).
    QByteArray sentSinceMark(int settleMs = 150)
    {
        QTest::qWait(settleMs);
        const QByteArray all = sim.received();
        const QByteArray since = all.mid(mark_);
        mark_ = all.size();
        return since;
    }
    void setMark() { sentSinceMark(); }

    QTemporaryDir folder;
    SimProcess sim;
    ScriptedDialogs dialogs;
    TestLink testLink{folder.path()};
    Link& link = testLink.link;
    DataloggerModel& datalogger = testLink.datalogger;
    SerialPort port;
    std::unique_ptr<ConsoleWindow> console;
    int programEnds = 0;

private:
    qsizetype mark_ = 0;
};
