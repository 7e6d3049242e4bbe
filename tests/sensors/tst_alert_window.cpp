// The alert window against the simulator: the "J"/"j" exchanges per row, what the
// datalogger stores, the SMS lines between "x" and "X", and the values the wire refuses.
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "sensors/alert_window.h"
#include "widgets/box_colours.h"

#include <QGroupBox>
#include <QJsonArray>
#include <QLabel>
#include <QPushButton>

class AlertWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;
    AlertWindow* w = nullptr;

    AlertWindow* openWindow()
    {
        click(f, f->alerts->alertsButton);
        return visibleWindow<AlertWindow>();
    }

    QStringList alertCommands(int from) { return rig->sim.commandsSince(from, QStringLiteral("Jj")); }
    int commandCount() { return rig->sim.commandCount(); }
    QJsonObject storedAlert(int channel) { return rig->sim.state()["alerts"].toArray()[channel].toObject(); }

    bool allButtonsEnabled() const
    {
        for (int m = 0; m < 4; ++m)
            if (!w->readButtons[m]->isEnabled() || !w->writeButtons[m]->isEnabled())
                return false;
        return w->readSmsButton->isEnabled() && w->writeSmsButton->isEnabled();
    }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--channels", "3,8,0,0"});
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        setPausePercent(rig->link, 10);
        f = rig->console.get();
        f->show();
        click(f, f->channels->readChannelsButton);
    }
    void cleanupTestCase() { rig.reset(); }
    void init()
    {
        rig->dialogs.shown.clear();
        w = openWindow();
        QVERIFY(w);
        rig->setMark();
    }
    void cleanup()
    {
        if (w)
            w->close();
    }

    void opensWithReadEverywhereAndHidesTheConsole()
    {
        QCOMPARE(w->windowTitle(), QStringLiteral("Sensors Alerts"));
        QVERIFY(!f->isVisible());
        for (int r = 0; r < 16; ++r)
            for (QLineEdit* box : {w->alertOnBoxes[r], w->highThresholdBoxes[r], w->lowThresholdBoxes[r]})
                QCOMPARE(box->text(), QStringLiteral("read"));
        QCOMPARE(w->readButtons[1]->text(), QStringLiteral("Read muxMUX1"));
        QCOMPARE(w->writeButtons[0]->text(), QStringLiteral("Write MUX0"));
        QCOMPARE(w->smsGroup->title(), QStringLiteral("SMS TEXT (5 x 25 characters)"));
        QCOMPARE(w->channelLabels[15]->text(), QStringLiteral("15"));
        QCOMPARE(w->lowThresholdBoxes[3]->maxLength(), 13);
        QCOMPARE(w->smsTextBoxes[4]->maxLength(), 25);
        QVERIFY(w->close());
        QVERIFY(f->isVisible() && f->isEnabled());
        w = nullptr;
    }

    // Multiplexer 1 holds 8 channels: "J" for 16 to 23, the other rows "Disabled".
    void readingMux1ReadsItsEightChannels()
    {
        const int mark = commandCount();
        QTest::mouseClick(w->readButtons[1], Qt::LeftButton);
        QCOMPARE(alertCommands(mark), (QStringList{"J 16,", "J 17,", "J 18,", "J 19,", "J 20,", "J 21,",
                                                  "J 22,", "J 23,"}));
        QCOMPARE(w->alertOnBoxes[7]->text(), QStringLiteral("0"));
        QCOMPARE(w->highThresholdBoxes[7]->text(), QStringLiteral("100"));
        QCOMPARE(w->lowThresholdBoxes[7]->text(), QStringLiteral("-100"));
        for (int r = 8; r < 16; ++r) {
            QCOMPARE(w->alertOnBoxes[r]->text(), QStringLiteral("Disabled"));
            QCOMPARE(w->highThresholdBoxes[r]->text(), QStringLiteral("read"));  // left as they were
        }
        QCOMPARE(boxColour(w->lowThresholdBoxes[15]), BoxColour::PaleYellow);
        QTest::keyClicks(w->highThresholdBoxes[2], "5");
        QCOMPARE(boxColour(w->highThresholdBoxes[2]), BoxColour::Red);
        QVERIFY(allButtonsEnabled());
    }

    // The write is read back at once: the boxes show what the datalogger keeps.
    void aNegativeThresholdIsWrittenAndReadBack()
    {
        QTest::mouseClick(w->readButtons[0], Qt::LeftButton);
        w->alertOnBoxes[1]->setText(" 1 ");
        w->highThresholdBoxes[1]->setText("80.50");
        w->lowThresholdBoxes[1]->setText(" -20.25");
        const int mark = commandCount();
        QTest::mouseClick(w->writeButtons[0], Qt::LeftButton);
        QVERIFY(rig->sim.received().contains("j 1,1,80.50,-20.25,"));
        QCOMPARE(alertCommands(mark), (QStringList{"j 0,0,100,-100,", "j 1,1,80.50,-20.25,", "j 2,0,100,-100,",
                                                  "J 0,", "J 1,", "J 2,"}));
        const QJsonObject stored = storedAlert(1);
        QCOMPARE(stored["enabled"].toInt(), 1);
        QCOMPARE(stored["high"].toDouble(), 80.5);
        QCOMPARE(stored["low"].toDouble(), -20.25);
        QCOMPARE(w->alertOnBoxes[1]->text(), QStringLiteral("1"));
        QCOMPARE(w->highThresholdBoxes[1]->text(), QStringLiteral("80.5"));  // the datalogger's number, not the typed text
        QCOMPARE(w->lowThresholdBoxes[1]->text(), QStringLiteral("-20.25"));
        QCOMPARE(boxColour(w->highThresholdBoxes[1]), BoxColour::PaleYellow);
        QVERIFY(allButtonsEnabled());
    }

    // No row can be read or written with such a count: nothing goes out, the buttons stay.
    void aCountThatIsNoChannelCountSendsNothing_data()
    {
        QTest::addColumn<QString>("count");
        QTest::newRow("empty") << QString();
        QTest::newRow("not a number") << QStringLiteral("abc");
        QTest::newRow("above 16") << QStringLiteral("17");
        QTest::newRow("time-out mark") << QStringLiteral("%%");
    }
    void aCountThatIsNoChannelCountSendsNothing()
    {
        QFETCH(QString, count);
        const QString kept = f->channels->muxBoxes[2]->text();
        f->channels->muxBoxes[2]->setText(count);
        QTest::mouseClick(w->readButtons[2], Qt::LeftButton);
        QTest::mouseClick(w->writeButtons[2], Qt::LeftButton);
        f->channels->muxBoxes[2]->setText(kept);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.shown.size(), 2);
        QVERIFY(allButtonsEnabled());
        QCOMPARE(w->alertOnBoxes[0]->text(), QStringLiteral("read"));
    }

    // A count of 0 reads nothing but still marks every row "Disabled".
    void anEmptyMultiplexerSendsNothing()
    {
        QTest::mouseClick(w->readButtons[3], Qt::LeftButton);
        QTest::mouseClick(w->writeButtons[3], Qt::LeftButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(w->alertOnBoxes[0]->text(), QStringLiteral("Disabled"));
        QCOMPARE(boxColour(w->highThresholdBoxes[0]), BoxColour::PaleYellow);
        QVERIFY(rig->dialogs.shown.isEmpty());
    }

    void aCommaInAThresholdIsRefused()
    {
        QTest::mouseClick(w->readButtons[0], Qt::LeftButton);
        rig->setMark();
        w->lowThresholdBoxes[2]->setText("1,5");
        QTest::mouseClick(w->writeButtons[0], Qt::LeftButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"Low Threshold of row 2 cannot contain a comma. Nothing was written."});
        QVERIFY(allButtonsEnabled());
    }

    void smsLinesAreReadAndWritten()
    {
        QTest::mouseClick(w->readSmsButton, Qt::LeftButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("X"));
        QCOMPARE(w->smsTextBoxes[0]->text(), QStringLiteral("ALERT FROM SIM01"));
        QCOMPARE(w->smsTextBoxes[1]->text(), QStringLiteral("CHECK SENSORS"));
        QCOMPARE(boxColour(w->smsTextBoxes[4]), BoxColour::PaleYellow);

        // Lines go out untrimmed, an empty one as a lone ",".
        type(w->smsTextBoxes, {"PIEZO HIGH", " WATCH ", "", "L4", "L5"});
        QTest::mouseClick(w->writeSmsButton, Qt::LeftButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("xPIEZO HIGH, WATCH ,,L4,L5,XX"));
        const QJsonArray stored = rig->sim.state()["sms_lines"].toArray();
        QCOMPARE(stored.size(), 5);
        QCOMPARE(stored[1].toString(), QStringLiteral(" WATCH "));
        QCOMPARE(stored[2].toString(), QString());
        QCOMPARE(stored[4].toString(), QStringLiteral("L5"));
        QCOMPARE(w->smsTextBoxes[3]->text(), QStringLiteral("L4"));  // read back
        QVERIFY(allButtonsEnabled());
    }

    // A comma would make two lines of one on the datalogger and lose the fifth.
    void aCommaInAnSmsLineIsRefused()
    {
        const QJsonArray before = rig->sim.state()["sms_lines"].toArray();
        type(w->smsTextBoxes, {"ONE", "A,B", "", "", ""});
        QTest::mouseClick(w->writeSmsButton, Qt::LeftButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"SMS line 2 cannot contain a comma. Nothing was written."});
        QCOMPARE(rig->sim.state()["sms_lines"].toArray(), before);
        QVERIFY(allButtonsEnabled());
    }
};

QTEST_MAIN(AlertWindowTest)
#include "tst_alert_window.moc"
