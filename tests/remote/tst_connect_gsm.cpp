// "Connect" with the start window's "GSM" box ticked, against the simulator: the slower
// line, the GSM/SMS and GPRS reads among the others, and the console filled by them.
#include "console/alerts_page.h"
#include "console/gprs_page.h"
#include "startup/start_rig.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include "link/serial_port.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

class ConnectGsmTest : public QObject {
    Q_OBJECT

private slots:
    void connectWithGsmReadsTheGsmAndGprsSettings()
    {
        QTemporaryDir folder;
        SimProcess sim({"--name", "GSM1"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder.path(), {sim.ptyPath()});
        ScriptedDialogs script;
        rig.start->show();
        rig.start->portOptions[0]->setChecked(true);
        QTest::mouseClick(rig.start->gsmBox, Qt::LeftButton);
        QVERIFY(rig.start->gsmBox->isChecked());
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);

        QCOMPARE(rig.link.serial()->settings(), QStringLiteral("9600,N,8,1"));
        QCOMPARE(rig.statuses, (QStringList{
            "Connecting port COM1", " Datalogger Found", "Reading internal parameters",
            "Sensors settings: OK", "Date and time: OK", "Start date: OK", "Timer: OK",
            "Pre-heating: OK", "Internal parameters: OK", "Memory: OK", "GSM/SMS: OK", "GPRS: OK",
            "Datalogger Name: OK", "Datalogger Model: OK", "Events counter: OK",
            "Acqisition status: OK"}));
        QVERIFY2(script.shown.isEmpty(), qPrintable(script.texts().join('|')));
        QTRY_COMPARE(commandLetters(sim.received()), QByteArray("VHHHHGYCEWHMIFKQDUO"));

        // Each of the two steps is followed by its pause.
        const QList<WireEntry> log = sim.wireLog();
        QVERIFY(arrivalUs(log, 'K') - arrivalUs(log, 'F') >= 100000);
        QVERIFY(arrivalUs(log, 'Q') - arrivalUs(log, 'K') >= 100000);

        ConsoleWindow& console = *rig.console;
        QVERIFY(console.isVisible());
        QCOMPARE(console.alerts->smsNumberBoxes[0]->text(), QStringLiteral("+393331234567"));
        QCOMPARE(console.alerts->smsCountBox->text(), QStringLiteral("1"));
        QCOMPARE(console.alerts->phoneNumberBox->text(), QStringLiteral("+393331234567"));
        QCOMPARE(console.gprs->boxes[2]->text(), QStringLiteral("internet.apn"));
        QCOMPARE(console.gprs->boxes[7]->text(), QStringLiteral("21"));
    }
};

QTEST_MAIN(ConnectGsmTest)
#include "tst_connect_gsm.moc"
