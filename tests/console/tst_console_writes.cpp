// The console's writes of clock, START time, timer, pre-heating, name and switches, as
// the simulated datalogger receives them.
#include "console/channels_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "widgets/box_colours.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"

#include <QPushButton>

class ConsoleWrites : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>();
        setPausePercent(rig->link, 10);  // no test here measures the pauses
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        f = rig->console.get();
        f->show();
    }
    void cleanupTestCase() { rig.reset(); }
    void init()
    {
        rig->datalogger.setGsm(false);
        rig->dialogs.shown.clear();
        rig->setMark();
    }

    void clockWriteSendsTypedValuesAndReadsBack()
    {
        type(f->dateTime->clockBoxes, {"5", "3", "2015", "23", "59"});
        click(f, f->dateTime->writeClockButton);
        const QByteArray sent = rig->sentSinceMark();
        QVERIFY2(sent.startsWith("g5,3, 115,23,59,G,"), sent.constData());
        QCOMPARE(f->dateTime->clockBoxes[0]->text(), QStringLiteral("5"));
        QCOMPARE(f->dateTime->clockBoxes[1]->text(), QStringLiteral("3"));
        QCOMPARE(f->dateTime->clockBoxes[2]->text(), QStringLiteral("2015"));
        QCOMPARE(f->dateTime->clockBoxes[3]->text(), QStringLiteral("23"));
        for (QLineEdit* box : f->dateTime->clockBoxes)
            QCOMPARE(boxColour(box), BoxColour::Yellow);
        QVERIFY(rig->dialogs.shown.isEmpty());
        QVERIFY(f->dateTime->writeClockButton->isEnabled());
    }

    void badHourOrMinuteSendsNothing_data()
    {
        QTest::addColumn<bool>("startRow");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QString>("message");
        const QString clockMsg = QStringLiteral("Controlla i dati inseriti! ");
        const QString startMsg = QStringLiteral("Values not valid! ");
        QTest::newRow("clock hour 24") << false << QStringList{"5", "3", "2015", "24", "00"} << clockMsg;
        QTest::newRow("clock minute 60") << false << QStringList{"5", "3", "2015", "10", "60"} << clockMsg;
        QTest::newRow("clock hour -1") << false << QStringList{"5", "3", "2015", "-1", "00"} << clockMsg;
        QTest::newRow("clock comma in day") << false << QStringList{"5,1", "3", "2015", "1", "0"} << clockMsg;
        QTest::newRow("start hour 24") << true << QStringList{"1", "1", "2016", "24", "0"} << startMsg;
        QTest::newRow("start minute 75") << true << QStringList{"1", "1", "2016", "2", "75"} << startMsg;
    }
    void badHourOrMinuteSendsNothing()
    {
        QFETCH(bool, startRow);
        QFETCH(QStringList, boxes);
        QFETCH(QString, message);
        const int beeps = rig->dialogs.beeps;
        type(startRow ? f->dateTime->startTimeBoxes : f->dateTime->clockBoxes, boxes);
        click(f, startRow ? f->dateTime->writeStartTimeButton : f->dateTime->writeClockButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{message});
        QCOMPARE(rig->dialogs.shown.first().title,
                 startRow ? QStringLiteral("Warning!!") : QStringLiteral("Attenzione!!"));
        QCOMPARE(rig->dialogs.beeps, beeps + 1);
        QVERIFY(f->dateTime->writeClockButton->isEnabled() && f->dateTime->writeStartTimeButton->isEnabled());
    }

    void startTimeWriteAndTwoDigitYear()
    {
        type(f->dateTime->startTimeBoxes, {"1", "12", "2030", "07", "30"});
        click(f, f->dateTime->writeStartTimeButton);
        QByteArray sent = rig->sentSinceMark();
        QVERIFY2(sent.startsWith("y1,12, 130,07,30,Y,"), sent.constData());
        QCOMPARE(f->dateTime->startTimeBoxes[2]->text(), QStringLiteral("2030"));
        QCOMPARE(boxColour(f->dateTime->startTimeBoxes[4]), BoxColour::Yellow);

        // The year is not corrected: 15 travels as 15 less 1900.
        type(f->dateTime->startTimeBoxes, {"1", "12", "15", "07", "30"});
        click(f, f->dateTime->writeStartTimeButton);
        sent = rig->sentSinceMark();
        QVERIFY2(sent.startsWith("y1,12,-1885,07,30,"), sent.constData());
    }

    void timerWriteFormatsAndChecksTheMinimum()
    {
        type(f->timers->timerBoxes, {"0", "1", "0"});
        click(f, f->timers->writeTimerButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("c000,001,000,"));
        QCOMPARE(f->timers->timerBoxes[1]->text(), QStringLiteral("001"));
        QCOMPARE(boxColour(f->timers->timerBoxes[0]), BoxColour::Yellow);
        QCOMPARE(rig->sim.state().value("timer_seconds").toInt(), 60);

        // Under a minute: refused, but the boxes keep the three-digit form.
        type(f->timers->timerBoxes, {"0", "0", "59"});
        click(f, f->timers->writeTimerButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(f->timers->timerBoxes[2]->text(), QStringLiteral("059"));
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QCOMPARE(rig->dialogs.shown.first().title, QStringLiteral("Warning!!"));
        QVERIFY(rig->dialogs.shown.first().text.startsWith("Please check acquisition timer"));
    }

    void timerRangesAndGsmMinimum_data()
    {
        QTest::addColumn<bool>("gsm");
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("hours 24") << false << QStringList{"24", "0", "0"} << QByteArray();
        QTest::newRow("minutes 60") << false << QStringList{"0", "60", "0"} << QByteArray();
        QTest::newRow("seconds 60") << false << QStringList{"1", "0", "60"} << QByteArray();
        QTest::newRow("gsm 9:59") << true << QStringList{"0", "9", "59"} << QByteArray();
        QTest::newRow("gsm 10:00") << true << QStringList{"0", "10", "0"} << QByteArray("c000,010,000,");
        QTest::newRow("not a number counts as 0") << false << QStringList{"x", "5", "0"}
                                                  << QByteArray("c000,005,000,");
    }
    void timerRangesAndGsmMinimum()
    {
        QFETCH(bool, gsm);
        QFETCH(QStringList, boxes);
        QFETCH(QByteArray, expected);
        rig->datalogger.setGsm(gsm);
        type(f->timers->timerBoxes, boxes);
        click(f, f->timers->writeTimerButton);
        QCOMPARE(rig->sentSinceMark(), expected);
        QCOMPARE(rig->dialogs.shown.size(), expected.isEmpty() ? 1 : 0);
        QVERIFY(f->timers->writeTimerButton->isEnabled());
    }

    void preheatingLimit()
    {
        f->timers->preheatingBox->setText(QStringLiteral("30000"));
        click(f, f->timers->writePreheatingButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("e30000,"));
        QCOMPARE(boxColour(f->timers->preheatingBox), BoxColour::Yellow);

        f->timers->preheatingBox->setText(QStringLiteral("1500"));
        click(f, f->timers->writePreheatingButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("e01500,"));
        QCOMPARE(f->timers->preheatingBox->text(), QStringLiteral("01500"));

        f->timers->preheatingBox->setText(QStringLiteral("30001"));
        click(f, f->timers->writePreheatingButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(f->timers->preheatingBox->text(), QStringLiteral("0"));
        QCOMPARE(rig->dialogs.texts(), QStringList{"Pre-heating time is too high "});
        QCOMPARE(rig->sim.state().value("preheat_ms").toInt(), 1500);
    }

    // What the operator types is what gets checked: an over-long value is refused, not
    // cut to a shorter one that passes and goes to the datalogger.
    void overLongTypedValuesAreRefusedWhole()
    {
        showPageOf(f, f->timers->preheatingBox);
        f->timers->preheatingBox->clear();
        QTest::keyClicks(f->timers->preheatingBox, QStringLiteral("100000"));
        click(f, f->timers->writePreheatingButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"Pre-heating time is too high "});
        QCOMPARE(f->timers->preheatingBox->text(), QStringLiteral("0"));

        rig->dialogs.shown.clear();
        type(f->dateTime->clockBoxes, {"5", "3", "2015", "", "30"});
        showPageOf(f, f->dateTime->clockBoxes[3]);
        QTest::keyClicks(f->dateTime->clockBoxes[3], QStringLiteral("123"));
        click(f, f->dateTime->writeClockButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"Controlla i dati inseriti! "});
    }

    void nameWriteTrimsAndRefusesCommas()
    {
        f->general->nameBox->setText(QStringLiteral("  SITE 7 "));
        click(f, f->general->writeNameButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("qSITE 7,"));
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SITE 7"));
        QCOMPARE(boxColour(f->general->nameBox), BoxColour::Yellow);
        QCOMPARE(rig->sim.state().value("name").toString(), QStringLiteral("SITE 7"));

        f->general->nameBox->setText(QStringLiteral("A,B"));
        click(f, f->general->writeNameButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QVERIFY(f->general->writeNameButton->isEnabled());
    }

    // The boxes ask for the opposite state and then show the datalogger's answer.
    void switchesWriteThenShowTheDataloggersState()
    {
        const bool acquiring = rig->sim.state().value("acquisition").toBool();
        f->dateTime->acquisitionSwitch->setChecked(acquiring);
        showPageOf(f, f->dateTime->acquisitionSwitch);
        QTest::mouseClick(f->dateTime->acquisitionSwitch, Qt::LeftButton);
        QByteArray sent = rig->sentSinceMark();
        QCOMPARE(sent, acquiring ? QByteArray("o0,O") : QByteArray("o1,O"));
        QCOMPARE(f->dateTime->acquisitionSwitch->isChecked(), !acquiring);
        QCOMPARE(rig->sim.state().value("acquisition").toBool(), !acquiring);

        f->channels->eventsCounterSwitch->setChecked(false);
        showPageOf(f, f->channels->eventsCounterSwitch);
        QTest::keyClick(f->channels->eventsCounterSwitch, Qt::Key_Space);
        sent = rig->sentSinceMark();
        QCOMPARE(sent, QByteArray("u1,U,"));
        QVERIFY(f->channels->eventsCounterSwitch->isChecked());
        QVERIFY(rig->sim.state().value("events_counter").toBool());
    }
};

QTEST_MAIN(ConsoleWrites)
#include "tst_console_writes.moc"
