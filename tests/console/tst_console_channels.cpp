// Channels per multiplexer, the memory frame, memory erase, datalogger reset and the
// restore menu, against the simulated datalogger.
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/read_now_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "widgets/box_colours.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "data/conversions.h"

#include <QAction>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QPushButton>

class ConsoleChannels : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

    // Where each command starts in what the datalogger received, in the order given.
    static bool inOrder(const QByteArray& sent, const QList<QByteArray>& commands)
    {
        qsizetype from = 0;
        for (const QByteArray& c : commands) {
            from = sent.indexOf(c, from);
            if (from < 0)
                return false;
            from += c.size();
        }
        return true;
    }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--channels", "8,4,0,16", "--preload", "200"});
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        f = rig->console.get();
        f->show();
    }
    void cleanupTestCase() { rig.reset(); }
    void init()
    {
        setPausePercent(rig->link, 100);
        rig->dialogs.shown.clear();
        rig->dialogs.answers.clear();
        rig->setMark();
    }

    void readChannelsShowsCountsInYellowWithItsPauses()
    {
        QElapsedTimer elapsed;
        elapsed.start();
        click(f, f->channels->readChannelsButton);
        // Four reads of at least 0.2 s each and 2 s at the end.
        QVERIFY(elapsed.elapsed() >= 2800);
        QCOMPARE(rig->sentSinceMark(), QByteArray("H 0,H 1,H 2,H 3,"));
        const int expected[4] = {8, 4, 0, 16};
        for (int m = 0; m < 4; ++m) {
            QCOMPARE(Numbers::leadingNumber(f->channels->muxBoxes[m]->text()), double(expected[m]));
            QCOMPARE(boxColour(f->channels->muxBoxes[m]), BoxColour::Yellow);
        }
        QVERIFY(f->channels->readChannelsButton->isEnabled());
    }

    void editingACountMarksItAndWipesOutOfRange()
    {
        f->channels->muxBoxes[1]->clear();
        QTest::keyClicks(f->channels->muxBoxes[1], QStringLiteral("16"));
        QCOMPARE(f->channels->muxBoxes[1]->text(), QStringLiteral("16"));
        QCOMPARE(boxColour(f->channels->muxBoxes[1]), BoxColour::Red);
        f->channels->muxBoxes[1]->clear();
        QTest::keyClicks(f->channels->muxBoxes[1], QStringLiteral("17"));
        QCOMPARE(f->channels->muxBoxes[1]->text(), QStringLiteral("0"));
        f->channels->muxBoxes[1]->clear();
        QTest::keyClicks(f->channels->muxBoxes[1], QStringLiteral("-1"));
        QCOMPARE(f->channels->muxBoxes[1]->text(), QStringLiteral("0"));
        f->channels->muxBoxes[1]->clear();
        QTest::keyClicks(f->channels->muxBoxes[1], QStringLiteral("abc"));
        QCOMPARE(f->channels->muxBoxes[1]->text(), QStringLiteral("abc"));
        QCOMPARE(rig->sentSinceMark(), QByteArray());
    }

    void memoryReadShowsTotalAndFree()
    {
        click(f, f->general->readMemoryButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("H0,M,"));
        const double total = Numbers::leadingNumber(f->general->memoryTotalBox->text());
        const double free = Numbers::leadingNumber(f->general->memoryFreeBox->text());
        QVERIFY(total > 0);
        QVERIFY2(free < total, qPrintable(f->general->memoryFreeBox->text()));
    }

    void eraseMemoryAsksFirstAndShowsTheNewCounts()
    {
        rig->dialogs.answers.enqueue(Dialogs::Answer::No);
        click(f, f->channels->eraseMemoryButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.shown.size(), 1);
        const auto question = rig->dialogs.shown.first();
        QCOMPARE(question.text, QStringLiteral("Are you sure you want to delete all data?\r\nAll data will be lost."));
        QCOMPARE(question.defaultAnswer, Dialogs::Answer::No);
        QCOMPARE(question.icon, Dialogs::Icon::Critical);
        QVERIFY(f->channels->eraseMemoryButton->isEnabled());

        rig->dialogs.answers.enqueue(Dialogs::Answer::Yes);
        click(f, f->channels->eraseMemoryButton);
        QVERIFY(inOrder(rig->sentSinceMark(), {"b", "H0,", "M,"}));
        QCOMPARE(f->general->memoryFreeBox->text(), f->general->memoryTotalBox->text());
    }

    void writeChannelsNoSendsNothing()
    {
        type(f->channels->muxBoxes, {"2", "0", "0", "0"});
        rig->dialogs.answers.enqueue(Dialogs::Answer::No);
        QElapsedTimer elapsed;
        elapsed.start();
        click(f, f->channels->writeChannelsButton);
        QVERIFY(elapsed.elapsed() >= 2000);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.shown.first().text,
                 QStringLiteral("This operation will reset memory. Continue?\r\nAll data will be lost."));
        QCOMPARE(rig->dialogs.shown.first().defaultAnswer, Dialogs::Answer::No);
        QVERIFY(f->channels->writeChannelsButton->isEnabled());
    }

    void writeChannelsYesErasesWritesAndReadsBack()
    {
        setPausePercent(rig->link, 10);  // the bytes and their order are checked, not the pauses
        type(f->channels->muxBoxes, {"12", "8", "", "3"});
        rig->dialogs.answers.enqueue(Dialogs::Answer::Yes);
        click(f, f->channels->writeChannelsButton);
        const QByteArray sent = rig->sentSinceMark();
        QVERIFY2(sent.startsWith("b,h 0, 12,h 1, 8,h 2, 0,h 3, 3,H 0,H 1,H 2,H 3,H0,M,"), sent.constData());
        const QJsonArray channels = rig->sim.state().value("channels").toArray();
        QCOMPARE(channels.at(0).toInt(), 12);
        QCOMPARE(channels.at(3).toInt(), 3);
        QCOMPARE(Numbers::leadingNumber(f->channels->muxBoxes[0]->text()), 12.0);
        for (QLineEdit* box : f->channels->muxBoxes)
            QCOMPARE(boxColour(box), BoxColour::Yellow);
    }

    void writingNoChannelsStillErasesAndWarns()
    {
        setPausePercent(rig->link, 10);  // the bytes and their order are checked, not the pauses
        type(f->channels->muxBoxes, {"0", "0", "0", "0"});
        rig->dialogs.answers.enqueue(Dialogs::Answer::Yes);
        click(f, f->channels->writeChannelsButton);
        const QByteArray sent = rig->sentSinceMark();
        QVERIFY2(sent.startsWith("b,h 0, 0,h 1, 0,h 2, 0,h 3, 0,H 0,"), sent.constData());
        QVERIFY(sent.endsWith("H0,"));  // no channel: the capacity is not asked for
        QVERIFY(rig->dialogs.texts().contains("Please enable at least one channel!"));
    }

    // A reset gives the datalogger 0.4 s before the first re-read, then shows its new
    // memory, channels, timer, name and acquisition state.
    void resetWaitsThenRereads()
    {
        rig->dialogs.answers.enqueue(Dialogs::Answer::No);
        click(f, f->channels->resetButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.shown.first().text,
                 QStringLiteral("Are you sure you wanto to reset datalogger?\r\nAll data will be lost"));

        f->general->nameBox->setText(QStringLiteral("stale"));
        const qsizetype before = rig->sim.wireLog().size();
        rig->dialogs.answers.enqueue(Dialogs::Answer::Yes);
        click(f, f->channels->resetButton);
        QVERIFY(inOrder(rig->sentSinceMark(), {"z", "H0,", "M,", "H 0,", "H 3,", "C,", "Q", "O"}));

        const QList<WireEntry> log = rig->sim.wireLog().mid(before);
        qint64 zAt = -1, nextAt = -1;
        for (const WireEntry& e : log) {
            if (zAt < 0 && e.bytes.startsWith('z'))
                zAt = e.tUs;
            else if (zAt >= 0 && nextAt < 0)
                nextAt = e.tUs;
        }
        QVERIFY(zAt >= 0 && nextAt >= 0);
        // The program waits 0.4 s; the simulator's own read of "z" may be stamped a few
        // milliseconds late on a loaded machine.
        QVERIFY2(nextAt - zAt >= 395000, qPrintable(QString::number(nextAt - zAt)));
        QVERIFY(f->general->nameBox->text() != QStringLiteral("stale"));
        QCOMPARE(boxColour(f->general->nameBox), BoxColour::Yellow);
        QVERIFY(f->channels->resetButton->isEnabled());
    }

    void restoreFreesALockedConsoleAndSendsNothing()
    {
        rig->link.lockCommands();
        QVERIFY(!f->channels->readChannelsButton->isEnabled());
        QVERIFY(!f->readNow->readMuxTemperatureButtons[3]->isEnabled());
        f->restoreAction->trigger();
        for (QPushButton* b : {f->channels->readChannelsButton, f->channels->resetButton, f->timers->writeTimerButton, f->general->readMemoryButton, f->general->readInternetSwitchButton})
            QVERIFY(b->isEnabled());
        QVERIFY(f->readNow->readMuxTemperatureButtons[3]->isEnabled());
        QVERIFY(f->alerts->smsAlertSwitch->isEnabled());
        QCOMPARE(rig->sentSinceMark(), QByteArray());
    }
};

QTEST_MAIN(ConsoleChannels)
#include "tst_console_channels.moc"
