// A start window and a console in a temporary program folder, with COM ports pointed
// at given devices and the link's waits shortened, for the start-up tests.
#pragma once

#include "support/fast_link.h"
#include "console/form1.h"
#include "link/modulo1.h"
#include "link/program_folder.h"
#include "startup/form2.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

class StartRig {
public:
    // devices: COM 1.. in order; empty or missing entries name devices that do not exist.
    explicit StartRig(const QString& folder, const QStringList& devices = {})
    {
        ProgramFolder::setOverride(folder);
        QFile ports(ProgramFolder::file(QStringLiteral("comports.ini")));
        if (ports.open(QIODevice::WriteOnly)) {
            for (int n = 0; n < 8; ++n) {
                QString device = devices.value(n);
                if (device.isEmpty())
                    device = folder + QStringLiteral("/no-such-tty") + QString::number(n + 1);
                ports.write((device + QLatin1Char('\n')).toUtf8());
            }
        }
        ports.close();

        useFastSerialLink();

        start = std::make_unique<Form2>();
        console = std::make_unique<Form1>();
        start->setConsole(console.get());
        start->onProgramEnd = [this] { ++programEnds; };
        console->onProgramEnd = [] {};
        QObject::connect(start.get(), &Form2::statusChanged,
                         [this](const QString& text) { statuses << text; });
    }
    ~StartRig()
    {
        Modulo1::Chiudi_Porta();
        console.reset();
        start.reset();
        resetLink();
    }

    std::unique_ptr<Form2> start;
    std::unique_ptr<Form1> console;
    QStringList statuses;
    int programEnds = 0;
};
