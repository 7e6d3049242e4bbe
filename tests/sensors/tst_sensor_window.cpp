// The sensor window against the simulator: what goes on the wire for a read and a write,
// what the datalogger stores, the coefficient table, and the values the wire refuses.
#include "console/channels_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "data/coefficient_table.h"
#include "sensors/sensor_window.h"

#include <QJsonArray>
#include <QLabel>
#include <QPushButton>

class SensorWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

    SensorWindow* openWindow()
    {
        click(f, f->channels->sensorsButton);
        return visibleWindow<SensorWindow>();
    }

    QStringList sensorCommands(int from) { return rig->sim.commandsSince(from, QStringLiteral("Rr")); }
    int commandCount() { return rig->sim.commandCount(); }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--model", "0", "--channels", "2,0,3,0"});
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        setPausePercent(rig->link, 10);
        f = rig->console.get();
        f->show();
        click(f, f->channels->readChannelsButton);
    }
    void cleanupTestCase() { rig.reset(); }
    void init() { rig->dialogs.shown.clear(); }

    void opensWithReadMuxEverywhereAndHidesTheConsole()
    {
        SensorWindow* w = openWindow();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Sensors settings"));
        QVERIFY(!f->isVisible());
        for (int p = 0; p < 16; ++p)
            for (QLineEdit* box : {w->channelNameBoxes[p], w->zeroVoltBoxes[p], w->fullScaleVoltBoxes[p], w->zeroUnitBoxes[p], w->fullScaleUnitBoxes[p]})
                QCOMPARE(box->text(), QStringLiteral("read mux"));
        QCOMPARE(w->writeButtons[0]->text(), QStringLiteral("Write  MUX0"));
        QCOMPARE(w->writeButtons[3]->text(), QStringLiteral("Write MUX3"));
        QCOMPARE(w->readButtons[2]->text(), QStringLiteral("Read MUX2"));
        QVERIFY(w->close());
        QVERIFY(f->isVisible() && f->isEnabled());
    }

    void readingMux2ReadsItsThreeChannels()
    {
        SensorWindow* w = openWindow();
        QVERIFY(w);
        const int mark = commandCount();
        QTest::mouseClick(w->readButtons[2], Qt::LeftButton);
        QCOMPARE(sensorCommands(mark), (QStringList{"R 32,", "R 33,", "R 34,"}));
        QCOMPARE(w->channelNameBoxes[0]->text(), QStringLiteral("CH32"));
        QCOMPARE(w->channelNameBoxes[2]->text(), QStringLiteral("CH34"));
        for (int p = 3; p < 16; ++p) {
            QCOMPARE(w->channelNameBoxes[p]->text(), QStringLiteral("Non Attivo"));
            QCOMPARE(w->zeroVoltBoxes[p]->text(), QStringLiteral("read mux"));  // left as they were
        }
        QVERIFY(w->readButtons[0]->isEnabled() && w->writeButtons[3]->isEnabled());
        // A multiplexer without channels sends nothing.
        const int before = commandCount();
        QTest::mouseClick(w->readButtons[1], Qt::LeftButton);
        QTest::mouseClick(w->writeButtons[1], Qt::LeftButton);
        QCOMPARE(commandCount(), before);
        w->close();
    }

    void writingStoresTheCoefficientsAndReadsBack()
    {
        SensorWindow* w = openWindow();
        QVERIFY(w);
        QTest::mouseClick(w->readButtons[0], Qt::LeftButton);
        w->channelNameBoxes[0]->setText(" PZ1 ");
        w->zeroVoltBoxes[0]->setText("0");
        w->fullScaleVoltBoxes[0]->setText("2.5");
        w->zeroUnitBoxes[0]->setText("0");
        w->fullScaleUnitBoxes[0]->setText("100");
        const int mark = commandCount();
        QTest::mouseClick(w->writeButtons[0], Qt::LeftButton);
        const QStringList sent = sensorCommands(mark);
        QCOMPARE(sent.mid(0, 3), (QStringList{"r 0,PZ1,0,2.5,0,100,", sent.value(1), "R 0,"}));
        QVERIFY(rig->sim.received().contains("r 0,PZ1,0,2.5,0,100,"));
        const QJsonObject stored = rig->sim.state()["sensors"].toArray()[0].toObject();
        QCOMPARE(stored["name"].toString(), QStringLiteral("PZ1"));
        QCOMPARE(stored["coefficients"].toArray()[1].toDouble(), 2.5);
        const CoefficientTable& table = rig->testLink.datalogger.coefficients();
        QCOMPARE(table[0].fullScaleVolt, 2.5);
        QCOMPARE(table[0].fullScaleUnit, 100.0);
        QCOMPARE(table[2].fullScaleVolt, 0.0);  // a channel not written keeps 0
        QCOMPARE(w->channelNameBoxes[0]->text(), QStringLiteral("PZ1"));  // read back
        w->close();
    }

    // A comma would shift every later field on the datalogger; nothing goes out.
    void aCommaInANameOrCoefficientIsRefused()
    {
        SensorWindow* w = openWindow();
        QVERIFY(w);
        QTest::mouseClick(w->readButtons[0], Qt::LeftButton);
        w->fullScaleVoltBoxes[1]->setText("2,5");
        const int mark = commandCount();
        QTest::mouseClick(w->writeButtons[0], Qt::LeftButton);
        QCOMPARE(commandCount(), mark);
        QCOMPARE(rig->dialogs.texts(), QStringList{"FS_Volt of row 1 cannot contain a comma. Nothing was written."});
        QVERIFY(w->writeButtons[0]->isEnabled());
        w->close();
    }
};

QTEST_MAIN(SensorWindowTest)
#include "tst_sensor_window.moc"
