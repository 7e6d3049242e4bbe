// A start window and a console in a temporary program folder, with COM ports pointed
// at given devices and the link's waits shortened, for the start-up tests.
#pragma once

#include "console/console_window.h"
#include "support/test_link.h"
#include "data/program_folder.h"
#include "startup/start_window.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class StartRig {
public:
    // devices: COM 1.. in order; empty or missing entries name devices that do not exist.
    explicit StartRig(const QString& folder, const QStringList& devices = {})
    {
        testLink.services.programFolder = folder;
        QFile ports(joinPath(folder, QStringLiteral("comports.ini")));
        if (ports.open(QIODevice::WriteOnly)) {
            for (int n = 0; n < 8; ++n) {
                QString device = devices.value(n);
                if (device.isEmpty())
                    device = folder + QStringLiteral("/no-such-tty") + QString::number(n + 1);
                ports.write((device + QLatin1Char('\n')).toUtf8());
            }
        }
        ports.close();

        start = std::make_unique<StartWindow>(testLink.services);
        console = std::make_unique<ConsoleWindow>(testLink.services);
        start->setConsole(console.get());
        start->onProgramEnd = [this] { ++programEnds; };
        console->onProgramEnd = [] {};
        QObject::connect(start.get(), &StartWindow::statusChanged,
                         [this](const QString& text) { statuses << text; });
    }
    ~StartRig()
    {
        link.closePort();
        console.reset();
        start.reset();
    }

    TestLink testLink;
    Link& link = testLink.link;
    DataloggerModel& datalogger = testLink.datalogger;
    std::unique_ptr<StartWindow> start;
    std::unique_ptr<ConsoleWindow> console;
    QStringList statuses;
    int programEnds = 0;
};
