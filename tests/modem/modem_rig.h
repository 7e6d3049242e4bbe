// A start window, a console and the modem window in a temporary program folder, with the
// simulator behind a Hayes modem on COM1 (COM2 onwards name no device), message boxes
// scripted and the link's waits shortened.
#pragma once

#include "console/console_clicks.h"
#include "startup/start_rig.h"
#include "modem/modem_window.h"
#include "modem/open_modem_window.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include <QCheckBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

class ModemRig {
public:
    // The modem connects 300 ms after "ATD" (and after its answer before it); the window
    // polls every 50 ms, so each answer of the modem comes in a poll of its own.
    explicit ModemRig(const QStringList& simArgs = {})
        : sim(QStringList{"--modem", "--dial-ms", "300", "--guard-ms", "200"} + simArgs)
    {
    }
    ~ModemRig() { rig.reset(); }

    bool start()
    {
        if (!sim.start()) {
            qWarning("simulator did not start: %s", qPrintable(sim.output()));
            return false;
        }
        rig = std::make_unique<StartRig>(folder.path(), QStringList{sim.ptyPath()});
        // Half the window's pauses: the simulated modem answers within milliseconds.
        setPausePercent(rig->link, 50);
        rig->console->setDataFolder(folder.path());
        installModemWindow(rig->start.get(), rig->testLink.services, rig->console.get());
        return true;
    }

    // "Connect with modem" without "Thrugh internet"; the window it opened, polling fast,
    // its status texts recorded.
    ModemWindow* open()
    {
        rig->start->show();
        rig->start->internetBox->setChecked(false);
        QTest::mouseClick(rig->start->modemButton, Qt::LeftButton);
        modem = visibleWindow<ModemWindow>();
        if (modem) {
            modem->pollTimer->setInterval(50);
            QObject::connect(modem->statusBox, &QPlainTextEdit::textChanged, modem,
                             [this] { statuses << modem->status(); });
        }
        return modem;
    }

    QString file(const QString& name) const { return folder.filePath(name); }

    // What the simulator received since the last mark.
    QByteArray receivedSinceMark(int settleMs = 150)
    {
        QTest::qWait(settleMs);
        const QByteArray all = sim.received();
        const QByteArray since = all.mid(mark_);
        mark_ = all.size();
        return since;
    }

    QTemporaryDir folder;
    SimProcess sim;
    ScriptedDialogs dialogs;
    std::unique_ptr<StartRig> rig;
    ModemWindow* modem = nullptr;
    QStringList statuses;

private:
    qsizetype mark_ = 0;
};
