// "Connect", "Step-by-step connection" and "Reset" against the datalogger simulator on a
// pseudo-terminal: the status line, the commands on the wire and the console filled.
#include "start_rig.h"
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include "widgets/box_colours.h"
#include "data/conversions.h"
#include "protocol/read_sequence.h"
#include "link/serial_port.h"

#include <QCheckBox>
#include <QDate>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

namespace {

const QString notFound = QStringLiteral("Datalogger not found, please check connection");

} // namespace

class ConnectTest : public QObject {
    Q_OBJECT

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

    void connectReadsEverySettingIntoTheConsole()
    {
        SimProcess sim({"--name", "ABC", "--channels", "8,4,0,2", "--timer", "3725",
                        "--events", "1", "--acquisition", "0"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        {
            StartRig rig(folder->path(), {"", "", "", "", sim.ptyPath()});
            ScriptedDialogs script;
            rig.start->show();
            rig.start->portOptions[4]->setChecked(true);  // COM 5 works for "Connect"
            QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);

            QCOMPARE(rig.statuses, (QStringList{
                "Connecting port COM5", " Datalogger Found", "Reading internal parameters",
                "Sensors settings: OK", "Date and time: OK", "Start date: OK", "Timer: OK",
                "Pre-heating: OK", "Internal parameters: OK", "Memory: OK",
                "Datalogger Name: OK", "Datalogger Model: OK", "Events counter: OK",
                "Acqisition status: OK"}));
            QVERIFY2(script.shown.isEmpty(), qPrintable(script.texts().join('|')));
            QTRY_COMPARE(commandLetters(sim.received()), QByteArray("VHHHHGYCEWHMQDUO"));
            QVERIFY(sim.received().contains("D,"));

            // The pauses between the last reads reach the wire.
            const QList<WireEntry> log = sim.wireLog();
            QVERIFY(arrivalUs(log, 'O') - arrivalUs(log, 'U') >= 100000);
            QVERIFY(arrivalUs(log, 'D') - arrivalUs(log, 'Q') >= 100000);

            // Handed over: the console shows what the datalogger holds, in yellow.
            ConsoleWindow& console = *rig.console;
            QVERIFY(console.isVisible() && console.isEnabled());
            QVERIFY(!rig.start->isVisible() && !rig.start->isEnabled());
            QCOMPARE(boxColour(rig.start->statusLine), BoxColour::Green);
            QCOMPARE(rig.datalogger.modelCode(), qint16(1));
            QCOMPARE(console.windowTitle(), QStringLiteral("Quorvel LV210-LV420"));
            QCOMPARE(console.dataAcquisition->acquireButton->text(), QStringLiteral("Acquire"));
            QCOMPARE(console.general->nameBox->text(), QStringLiteral("ABC"));
            QCOMPARE(boxColour(console.general->nameBox), BoxColour::Yellow);
            const int channels[4] = {8, 4, 0, 2};
            for (int m = 0; m < 4; ++m) {
                QCOMPARE(Numbers::leadingNumber(console.channels->muxBoxes[m]->text()), double(channels[m]));
                QCOMPARE(boxColour(console.channels->muxBoxes[m]), BoxColour::Yellow);
            }
            QCOMPARE(Numbers::leadingNumber(console.timers->timerBoxes[0]->text()), 1.0);
            QCOMPARE(Numbers::leadingNumber(console.timers->timerBoxes[1]->text()), 2.0);
            QCOMPARE(Numbers::leadingNumber(console.timers->timerBoxes[2]->text()), 5.0);
            QCOMPARE(Numbers::leadingNumber(console.dateTime->clockBoxes[2]->text()), double(QDate::currentDate().year()));
            QCOMPARE(boxColour(console.dateTime->clockBoxes[0]), BoxColour::Yellow);
            QVERIFY(console.channels->eventsCounterSwitch->isChecked());
            QVERIFY(!console.dateTime->acquisitionSwitch->isChecked());

            const QString expectedName = QStringLiteral("ABC_") + QDate::currentDate().toString("dd_MM_yy") + "_VW.txt";
            QCOMPARE(console.dataAcquisition->dataFileNameBox->text(), expectedName);
            QCOMPARE(boxColour(console.dataAcquisition->dataFileNameBox), BoxColour::Yellow);

            QVERIFY(rig.link.portHeldOpen());
            QVERIFY(rig.link.serial()->isOpen());
        }
        // The port is saved; COM 5 is not preselected at the next start.
        QFile ini(folder->filePath("rk550.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray(" 5 \r\n"));
        StartRig next(folder->path());
        for (QRadioButton* option : next.start->portOptions)
            QVERIFY(!option->isChecked());
    }

    void analogDataloggerGetsTheAdaptedConsole()
    {
        SimProcess sim({"--model", "0"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        setPausePercent(rig.link, 10);  // nothing here measures the pauses
        rig.start->portOptions[0]->setChecked(true);
        rig.start->connectToDatalogger();

        QCOMPARE(rig.statuses.filter(": OK").size(), 11);
        QCOMPARE(rig.datalogger.modelCode(), qint16(0));
        ConsoleWindow& console = *rig.console;
        QCOMPARE(console.windowTitle(), QStringLiteral("Quorvel LV210-LV420 16 BIT DATALOGGER"));
        QCOMPARE(console.dataAcquisition->acquireButton->text(), QStringLiteral("Acquire data"));
        QVERIFY(console.dataAcquisition->acquireTemperaturesButton->isHidden());
        QVERIFY(console.dataAcquisition->downloadKindOptions[0]->isHidden() && console.dataAcquisition->downloadKindOptions[1]->isHidden());
        QVERIFY(!console.timers->preheatingFrame->isHidden());
        QVERIFY(console.isVisible());
    }

    // A datalogger that answers the probe and then falls silent: the step that got no
    // answer does not say OK, the sequence stops with a message within one field
    // time-out (nothing is sent after the unanswered read), the console stays closed,
    // the start window stays usable and the port is closed for a fresh try.
    void datalogerFallingSilentStopsTheConnection_data()
    {
        QTest::addColumn<QStringList>("faults");
        QTest::addColumn<QString>("lastStatus");
        QTest::addColumn<char>("unanswered");
        QTest::newRow("silent after the probe")
            << QStringList{"--fault-silent-cmds", "HGYCEWMQDUOT"} << QStringLiteral("Sensors settings: no answer")
            << 'H';
        QTest::newRow("first channel count lost")
            << QStringList{"--fault-at", "H:0:silent"} << QStringLiteral("Sensors settings: no answer") << 'H';
        QTest::newRow("name never answered")
            << QStringList{"--fault-silent-cmds", "Q"} << QStringLiteral("Datalogger Name: no answer") << 'Q';
    }
    void datalogerFallingSilentStopsTheConnection()
    {
        QFETCH(QStringList, faults);
        QFETCH(QString, lastStatus);
        QFETCH(char, unanswered);
        SimProcess sim(faults);
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        ScriptedDialogs script;
        setFieldTimeout(rig.link, 800);
        setPausePercent(rig.link, 10);
        QList<qint64> at;  // when each status was shown
        QElapsedTimer t;
        QObject::connect(rig.start.get(), &StartWindow::statusChanged, [&] { at << t.elapsed(); });
        rig.start->show();
        rig.start->portOptions[0]->setChecked(true);
        t.start();
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);

        const int stop = int(rig.statuses.indexOf(lastStatus));
        QVERIFY2(stop > 0, qPrintable(rig.statuses.join('|')));
        QCOMPARE(rig.statuses.mid(stop + 1), QStringList{ReadSequence::silentDataloggerMessage()});
        const qint64 stepTook = at[stop] - at[stop - 1];
        QVERIFY2(stepTook < 2 * rig.link.settings().fieldTimeoutMs, qPrintable(QString::number(stepTook)));
        const QByteArray letters = commandLetters(sim.received());
        QVERIFY2(letters.endsWith(unanswered) && letters.count(unanswered) == 1, letters.constData());
        QCOMPARE(script.texts(), QStringList{ReadSequence::silentDataloggerMessage()});
        QVERIFY(!script.texts().contains(QStringLiteral("Please enable at least one channel!")));
        QVERIFY(!rig.console->isVisible());
        QVERIFY(rig.start->isVisible() && rig.start->isEnabled());
        QVERIFY(!rig.link.serial()->isOpen());
        QVERIFY(!rig.link.portHeldOpen());
        QCOMPARE(rig.link.commandLockDepth(), 0);
        QVERIFY(!rig.link.exchangesAbandoned());
    }

    // A link that drops in the middle of the reads (the far end of the line has gone)
    // ends every read at once: the connection stops in about a second, not after a
    // time-out per field.
    void droppedLineStopsTheConnectionAtOnce()
    {
        SimProcess sim({"--fault-drop-after", "20"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        ScriptedDialogs script;
        setFieldTimeout(rig.link, 20000);
        setPausePercent(rig.link, 10);  // the bound is the time-out's, not the pauses'
        rig.start->portOptions[0]->setChecked(true);
        QElapsedTimer t;
        t.start();
        rig.start->connectToDatalogger();
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(rig.statuses.last(), ReadSequence::silentDataloggerMessage());
        QVERIFY(rig.statuses.filter(": no answer").size() == 1);
        QVERIFY(!rig.console->isVisible());
        // The loss is told once, then the sequence's own message.
        QCOMPARE(script.shown.size(), 2);
        QCOMPARE(script.shown.last().text, ReadSequence::silentDataloggerMessage());
    }

    // After an internet session the cable is the link again: the probe and every
    // command go over it, none to the telnet client.
    void cableConnectAfterAnInternetSession()
    {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        setPausePercent(rig.link, 10);
        ScriptedDialogs script;
        rig.start->openModemWindow = [](bool) {};
        rig.start->internetBox->setChecked(true);
        QTest::mouseClick(rig.start->modemButton, Qt::LeftButton);
        QVERIFY(rig.link.isTcp());

        rig.start->internetBox->setChecked(false);
        rig.start->portOptions[0]->setChecked(true);
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);
        QVERIFY(!rig.link.isTcp());
        QCOMPARE(rig.statuses.filter(": OK").size(), 11);
        QVERIFY(rig.console->isVisible());
        QTRY_COMPARE(commandLetters(sim.received()), QByteArray("VHHHHGYCEWHMQDUO"));
        QVERIFY2(script.shown.isEmpty(), qPrintable(script.texts().join('|')));
    }

    void silentDataloggerIsNotFound()
    {
        SimProcess sim({"--fault-silent"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        rig.start->show();
        rig.start->portOptions[0]->setChecked(true);
        QElapsedTimer t;
        t.start();
        rig.start->connectToDatalogger();
        QVERIFY(t.elapsed() >= rig.link.settings().probeSettleMs + rig.link.settings().probeWindowMs);

        QCOMPARE(rig.statuses, (QStringList{"Connecting port COM1", notFound}));
        QVERIFY(rig.start->isVisible() && rig.start->isEnabled());
        QVERIFY(!rig.console->isVisible());
        // The port stays open and held, ready for another try.
        QVERIFY(rig.link.portHeldOpen());
        QVERIFY(rig.link.serial()->isOpen());
        QTRY_COMPARE(sim.received(), QByteArray("V"));
    }

    void resetAsksFirstAndAlwaysReconnects_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No") << false;
        QTest::newRow("Yes") << true;
    }
    void resetAsksFirstAndAlwaysReconnects()
    {
        QFETCH(bool, yes);
        SimProcess sim({"--fault-silent"});  // the reconnection then stops at the probe
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        ScriptedDialogs script;
        script.answers.enqueue(yes ? Dialogs::Answer::Yes : Dialogs::Answer::No);
        rig.start->portOptions[0]->setChecked(true);
        rig.start->resetDatalogger();

        QCOMPARE(script.shown.size(), 1);
        const ScriptedDialogs::Shown& q = script.shown.first();
        QCOMPARE(q.text, QStringLiteral("Are you sure you want to reset datalogger?\r\n"
                                        "Perderai tutti i dati e tutte le impostazioni!"));
        QCOMPARE(q.title, QStringLiteral("Warning"));
        QCOMPARE(q.buttons, Dialogs::Buttons::YesNo);
        QCOMPARE(q.icon, Dialogs::Icon::Critical);
        QCOMPARE(q.defaultAnswer, Dialogs::Answer::No);

        QStringList expected{"Connecting COM1"};
        if (yes)
            expected << "Datalogger Resetted";
        expected << "Connecting port COM1" << notFound;
        QCOMPARE(rig.statuses, expected);
        QTRY_COMPARE(sim.received(), yes ? QByteArray("Vz,V") : QByteArray("VV"));
        if (yes)
            QCOMPARE(boxColour(rig.start->statusLine), BoxColour::Magenta);
    }

    void stepByStepOpensTheConsoleWithoutReading()
    {
        SimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {"", sim.ptyPath()});
        rig.start->show();
        rig.start->portOptions[1]->setChecked(true);
        QTest::mouseClick(rig.start->stepByStepButton, Qt::LeftButton);

        QCOMPARE(rig.statuses, (QStringList{"Connection on COM2", " Dizozezerir Found"}));
        QCOMPARE(boxColour(rig.start->statusLine), BoxColour::Green);
        QVERIFY(rig.console->isVisible());
        QVERIFY(!rig.start->isVisible() && !rig.start->isEnabled());
        QVERIFY(rig.console->general->nameBox->text().isEmpty());
        QTest::qWait(300);
        QCOMPARE(sim.received(), QByteArray("V"));
        QFile ini(folder->filePath("rk550.ini"));
        QVERIFY(ini.open(QIODevice::ReadOnly));
        QCOMPARE(ini.readAll(), QByteArray(" 2 \r\n"));
    }

    void stepByStepWithoutAnswerClosesThePort()
    {
        SimProcess sim({"--fault-silent"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder->path(), {sim.ptyPath()});
        rig.start->portOptions[0]->setChecked(true);
        rig.start->connectStepByStep();
        QCOMPARE(rig.statuses.last(),
                 QStringLiteral("Datalogger not found. Try to check if it is on and the connection"));
        QVERIFY(!rig.link.serial()->isOpen());
        QVERIFY(rig.link.portHeldOpen());
        QVERIFY(!rig.console->isVisible());
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

QTEST_MAIN(ConnectTest)
#include "tst_connect.moc"
