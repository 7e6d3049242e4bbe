// A start window, a console and the internet window in a temporary program folder, with
// the simulator as the office's FTP server and as the datalogger on a TCP port of its own
// (so that tests run in parallel never meet), message boxes scripted and the link's
// waits shortened.
#pragma once

#include "console/console_clicks.h"
#include "modem/internet_window.h"
#include "modem/open_modem_window.h"
#include "startup/start_rig.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include <QAction>
#include <QCheckBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class InternetRig {
public:
    // The account that may log in, with the characters a URL would split on.
    static inline const QString user = QStringLiteral("office@quorvel");
    static inline const QString password = QStringLiteral("p@ss:w/rd");
    static inline const QString directory = QStringLiteral("station 7");
    // What the datalogger sends once the connection is up: telnet negotiation, then the
    // CR LF "CONNECT" CR LF of its GPRS modem.
    static inline const QString greeting = QStringLiteral("fffd18fffb03fffd1f0d0a434f4e4e4543540d0a");

    explicit InternetRig(const QStringList& simArgs = {}, bool greets = true)
        : sim(QStringList{"--telnet", "--ftp", "127.0.0.1:0", "--ftp-account", user + ":" + password, "--ftp-dir",
                          directory, "--telnet-offer", greets ? greeting : QStringLiteral("fffd18")}
              + simArgs)
    {
    }
    ~InternetRig() { rig.reset(); }

    bool start()
    {
        if (!sim.startTcp() || !QTest::qWaitFor([this] { return sim.ftpPort() != 0; }, 5000)) {
            qWarning("simulator did not start: %s", qPrintable(sim.output()));
            return false;
        }
        rig = std::make_unique<StartRig>(folder.path());
        rig->console->setDataFolder(folder.path());
        Link::Settings tcp = rig->link.settings();
        tcp.dataloggerTcpPort = sim.tcpPort();
        rig->link.setSettings(tcp);
        installModemWindow(rig->start.get(), rig->testLink.services, rig->console.get());
        return true;
    }

    QString site() const { return QStringLiteral("127.0.0.1:%1").arg(sim.ftpPort()); }

    // "ftp.ini" with the simulator's account on row 2, or the values given.
    bool writeBook(QStringList row = {})
    {
        if (row.isEmpty())
            row = {directory, site(), user, password};
        QByteArray content;
        for (int i = 0; i < 2; ++i)
            content += "\r\n\r\n\r\n\r\n";
        for (const QString& value : row)
            content += value.toLatin1() + "\r\n";
        QFile book(file(QStringLiteral("ftp.ini")));
        return book.open(QIODevice::WriteOnly) && book.write(content) == content.size();
    }

    // "Connect with modem" with "Thrugh internet"; the window it opened, polling fast,
    // its status texts recorded.
    InternetWindow* open()
    {
        rig->start->show();
        rig->start->internetBox->setChecked(true);
        QTest::mouseClick(rig->start->modemButton, Qt::LeftButton);
        window = visibleWindow<InternetWindow>();
        if (window) {
            window->pollTimer->setInterval(100);
            QObject::connect(window->statusBox, &QPlainTextEdit::textChanged, window,
                             [this] { statuses << window->status(); });
        }
        return window;
    }

    // Selects row 2 and presses "Connect"; true once the console has taken over.
    bool connect()
    {
        QTest::mouseClick(window->selectButtons[2], Qt::LeftButton);
        window->connectAction->trigger();
        return QTest::qWaitFor([this] { return rig->console->isVisible(); }, 15000);
    }

    // How many telnet connections the datalogger has accepted.
    int connections() { return sim.state()["tcp"].toObject()["connections"].toInt(); }

    QString file(const QString& name) const { return folder.filePath(name); }

    QTemporaryDir folder;
    SimProcess sim;
    ScriptedDialogs dialogs;
    std::unique_ptr<StartRig> rig;
    InternetWindow* window = nullptr;
    QStringList statuses;
};
