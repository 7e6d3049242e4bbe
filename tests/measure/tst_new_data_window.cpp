// The new-data window against the simulated datalogger: blocks appended under one title
// line exactly as sent, confirmed only once on disk; the ends without data; the year and
// interval clean-ups; the minute timer and its countdown; closing.
#include "console/data_acquisition_page.h"
#include "console/general_page.h"
#include "charts/history_chart_window.h"
#include "console/console_rig.h"
#include "data/yearly_file.h"
#include "measure/new_data_window.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"
#include "support/remaining_blocks.h"

#include <QDate>
#include <QDir>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <unistd.h>

namespace {

const QByteArray title3 = "Date, CH0, CH1, CH2,\r\n";
const QByteArray olderData = title3 + "01/01/2026 00:00:00,1.0,2.0,3.0,\r\n";

} // namespace

class NewDataWindowTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    NewDataWindow* w = nullptr;
    int commandMark = 0;

    bool open(QStringList simArgs, int fieldTimeoutMs = 3000)
    {
        simArgs = QStringList{"--wake-idle", "400", "--channels", "3,0,0,0"} + simArgs;
        rig = std::make_unique<ConsoleRig>(simArgs);
        if (!rig->connect())
            return false;
        setPausePercent(rig->link, 10);
        setFieldTimeout(rig->link, fieldTimeoutMs);
        rig->console->newDataTiming = {.minuteMs = 150, .dtrPauseMs = 100};
        rig->console->show();
        QTest::mouseClick(rig->console->dataAcquisition->newDataButton, Qt::LeftButton);
        w = rig->console->newDataWindow();
        commandMark = rig->sim.commandCount();
        return w && w->isVisible();
    }
    QString yearlyPath() const
    {
        return YearlyFile::path(rig->folder.path(), QDate::currentDate().year());
    }
    QStringList commands(const QString& letters) { return rig->sim.commandsSince(commandMark, letters); }
    void acquireNow() { QTest::mouseClick(w->startButton, Qt::LeftButton); }

private slots:
    void cleanup()
    {
        w = nullptr;
        rig.reset();
    }

    // Two downloads: one title line, then each block exactly as the datalogger sent it,
    // and each confirmed, so the datalogger has handed over all it recorded.
    void twoDownloadsAppendTwoBlocksUnderOneTitle()
    {
        QVERIFY2(open({"--preload", "4", "--timer", "1"}), qPrintable(rig->sim.output()));
        QCOMPARE(rig->console->dataAcquisition->newDataButton->text(), QStringLiteral("Scarica nuovi dati"));
        QCOMPARE(w->yearBox->text(), QString::number(QDate::currentDate().year()));
        QCOMPARE(w->noticeBox->text(), QStringLiteral("Ready."));
        QVERIFY(w->startButton->isEnabled() && w->timerButton->isEnabled() && !w->graphButton->isEnabled()
                && !w->stopTimerButton->isEnabled());

        QStringList notices;
        bool consoleLockedWhileReceiving = false;
        connect(w->noticeBox, &QLineEdit::textChanged, this, [&](const QString& t) {
            notices << t;
            if (t == QLatin1String("Receiving data from datalogger..."))
                consoleLockedWhileReceiving = !rig->console->general->readNameButton->isEnabled()
                                              && !w->startButton->isEnabled() && !w->closeButton->isEnabled();
        });
        acquireNow();
        QCOMPARE(notices.mid(0, 3), (QStringList{"Connecting to Datalogger...", "Connecting to datalogger...",
                                                 "Receiving data from datalogger..."}));
        QVERIFY(consoleLockedWhileReceiving);
        QVERIFY(w->noticeBox->text().startsWith(QStringLiteral("Last acquired: ")));
        QVERIFY(!w->yearBox->isEnabled());
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled() && w->graphButton->isEnabled());
        QCOMPARE(rig->console->general->readNameButton->isEnabled(), true);

        // The datalogger records again meanwhile.
        QVERIFY(QTest::qWaitFor([&] {
            const QJsonObject memory = rig->sim.state();
            return memory.value("records").toInt() > memory.value("fetched").toInt();
        }, 5000));
        acquireNow();
        QCOMPARE(w->lastResult().outcome, NewDataDownload::Outcome::Appended);

        const QList<QByteArray> blocks = blocksSent(rig->sim.sent());
        QCOMPARE(blocks.size(), 2);
        QVERIFY(!blocks[0].isEmpty() && !blocks[1].isEmpty());
        QCOMPARE(fileBytes(yearlyPath()), title3 + blocks[0] + "\r\n" + blocks[1] + "\r\n");
        QCOMPARE(commands("H[]"), (QStringList{"H 0,", "[,", "],", "H 0,", "[,", "],"}));
        QTRY_COMPARE(rig->sim.state().value("fetched").toInt(), recordsIn(blocks));

        // "Graph" charts the file; closing the chart gives the button back.
        QTest::mouseClick(w->graphButton, Qt::LeftButton);
        QVERIFY(w->chartWindow() && w->chartWindow()->isVisible());
        QVERIFY(w->chartOpen && !w->graphButton->isEnabled());
        w->chartWindow()->close();
        QVERIFY(!w->chartOpen && w->graphButton->isEnabled());
    }

    // Nothing new: nothing appended, the empty block still confirmed; a file that held
    // data keeps it.
    void aBlankBlockAppendsNothingButIsConfirmed()
    {
        QVERIFY2(open({"--preload", "0", "--acquisition", "0"}), qPrintable(rig->sim.output()));
        QVERIFY(writeFileBytes(yearlyPath(), olderData));
        acquireNow();
        QCOMPARE(w->lastResult().outcome, NewDataDownload::Outcome::NothingNew);
        QCOMPARE(fileBytes(yearlyPath()), olderData);
        QCOMPARE(commands("[]"), (QStringList{"[,", "],"}));

        QVERIFY(QFile::remove(yearlyPath()));
        QTest::mouseClick(w->graphButton, Qt::LeftButton);
        QCOMPARE(rig->dialogs.texts(), QStringList{"Data not found."});
        QVERIFY(!w->chartWindow() && w->graphButton->isEnabled() && !w->chartOpen);
    }

    // Every way the block can fail to arrive: a notice, nothing appended, no "]".
    void aBlockThatDoesNotArriveIsNeitherWrittenNorConfirmed_data()
    {
        QTest::addColumn<QStringList>("fault");
        QTest::addColumn<QString>("notice");
        QTest::addColumn<QStringList>("sent");
        QTest::newRow("silent") << QStringList{"--fault-silent-cmds", "["} << "Timeout." << QStringList{"H 0,", "[,"};
        QTest::newRow("no start marker") << QStringList{"--fault-garbage", "["}
                                         << "Error while receiving data." << QStringList{"H 0,", "[,"};
        QTest::newRow("cut short") << QStringList{"--fault-truncate", "40:["}
                                   << "Timeout: the datalogger stopped sending after 27 bytes of the block; the "
                                      "data stays in the datalogger."
                                   << QStringList{"H 0,", "[,"};
        QTest::newRow("no channel count") << QStringList{"--fault-silent-cmds", "H"}
                                          << "The datalogger did not answer." << QStringList{"H 0,"};
    }
    void aBlockThatDoesNotArriveIsNeitherWrittenNorConfirmed()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, notice);
        QFETCH(QStringList, sent);
        QVERIFY2(open(fault << "--preload" << "5", 800), qPrintable(rig->sim.output()));
        QVERIFY(writeFileBytes(yearlyPath(), olderData));
        acquireNow();
        QCOMPARE(w->noticeBox->text(), notice);
        QVERIFY(w->noticeBox->isVisible());
        QCOMPARE(fileBytes(yearlyPath()), olderData);
        QCOMPARE(commands("H[]"), sent);
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled());
        QCOMPARE(rig->link.commandLockDepth(), 0);
    }

    // A block the disk cannot take is not confirmed: the datalogger sends it again, and
    // the next download appends it whole.
    void aBlockThatCannotBeWrittenIsNotConfirmed()
    {
        // The datalogger holds its wake-up text back after a block it has not had
        // confirmed: the second download waits one field time-out for it.
        QVERIFY2(open({"--preload", "5", "--acquisition", "0"}, 1500), qPrintable(rig->sim.output()));
        QVERIFY(writeFileBytes(yearlyPath(), olderData));
        {
            // Room for the yearly file's lock, not for the block.
            const FileSizeLimit fullDisk(olderData.size() + 100);
            QVERIFY(fullDisk.active());
            acquireNow();
        }
        QCOMPARE(w->lastResult().outcome, NewDataDownload::Outcome::WriteFailed);
        QVERIFY2(w->noticeBox->text().startsWith(yearlyPath() + QStringLiteral(" could not be written")),
                 qPrintable(w->noticeBox->text()));
        QCOMPARE(fileBytes(yearlyPath()), olderData);
        QCOMPARE(commands("[]"), QStringList{"[,"});

        acquireNow();
        const QList<QByteArray> blocks = blocksSent(rig->sim.sent());
        QCOMPARE(blocks.size(), 2);
        QCOMPARE(blocks[1], blocks[0]);
        QCOMPARE(fileBytes(yearlyPath()), olderData + blocks[1] + "\r\n");
    }

    // A backlog that takes longer to come than the time-out on silence (the whole memory,
    // 5000 records of 64 channels, for about 6 s against 1.5 s) is read for as long as it
    // keeps coming, appended whole and confirmed.
    void aBacklogLongerThanTheTimeOutComesIn()
    {
        QVERIFY2(open({"--channels", "16,16,16,16", "--preload", "5000", "--acquisition", "0", "--baud", "4000000"},
                      1500),
                 qPrintable(rig->sim.output()));
        acquireNow();
        QCOMPARE(w->lastResult().outcome, NewDataDownload::Outcome::Appended);
        QCOMPARE(w->lastResult().records, 5000);
        const QList<QByteArray> blocks = blocksSent(rig->sim.sent());
        QCOMPARE(blocks.size(), 1);
        QVERIFY(blocks[0].size() > 2000000);
        QCOMPARE(fileBytes(yearlyPath()), YearlyFile::titleLine(w->lastResult().channels) + "\r\n" + blocks[0] + "\r\n");
        QTRY_COMPARE(rig->sim.state().value("fetched").toInt(), 5000);
    }

    // A download that died after writing the block and before confirming it: the block
    // comes again with what was recorded since, and only that is appended; then confirmed.
    void aBlockTheFileHoldsAlreadyIsNotAppendedAgain()
    {
        const QString records = QDir::temp().filePath(QStringLiteral("quorvel-known-records-%1").arg(getpid()));
        QVERIFY(writeFileBytes(records, "2026-03-01T10:00:00;1000 1001 1002;20 20 20;0\n"
                                        "2026-03-01T10:10:00;1010 1011 1012;20 20 20;0\n"
                                        "2026-03-01T10:20:00;1020 1021 1022;20 20 20;0\n"));
        const QByteArray first = "01/03/2026 10:00:00,1000.0,1001.0,1002.0,\r\n"
                                 "01/03/2026 10:10:00,1010.0,1011.0,1012.0,\r\n";
        const QByteArray third = "01/03/2026 10:20:00,1020.0,1021.0,1022.0,";
        QVERIFY2(open({"--records", records, "--acquisition", "0"}), qPrintable(rig->sim.output()));
        QFile::remove(records);
        QVERIFY(writeFileBytes(yearlyPath(), title3 + first));
        acquireNow();
        QCOMPARE(w->lastResult().outcome, NewDataDownload::Outcome::Appended);
        QCOMPARE(w->lastResult().records, 1);
        QCOMPARE(w->lastResult().alreadyOnFile, 2);
        QCOMPARE(fileBytes(yearlyPath()), title3 + first + third + "\r\n");
        QCOMPARE(commands("[]"), (QStringList{"[,", "],"}));
        QTRY_COMPARE(rig->sim.state().value("fetched").toInt(), 3);
    }

    // "2.026" is the year 2026; an empty or a non-numeric year ends the download before
    // anything is asked, with the box open again for a correction.
    void theYearBox()
    {
        QVERIFY2(open({"--preload", "2", "--acquisition", "0"}), qPrintable(rig->sim.output()));
        w->yearBox->setText(QString());
        acquireNow();
        w->yearBox->setText(QStringLiteral("20x6"));
        acquireNow();
        QCOMPARE(rig->dialogs.texts(), (QStringList{"Insert a value for Year.", "Insert a valid Year value."}));
        QCOMPARE(rig->dialogs.shown.last().title, QStringLiteral("Canceled"));
        QVERIFY(commands("H[]").isEmpty());
        QVERIFY(w->yearBox->isEnabled() && w->startButton->isEnabled());

        w->yearBox->setText(QStringLiteral("2.026"));
        acquireNow();
        QCOMPARE(w->yearBox->text(), QStringLiteral("2026"));
        QVERIFY(!w->yearBox->isEnabled());
        QVERIFY(fileBytes(YearlyFile::path(rig->folder.path(), 2026)).startsWith(title3));
    }

    // "-2" minutes: a download at once, then one each time the countdown reaches 0.
    // Closing asks while the timer runs.
    void theTimerCountsDownAndDownloadsAtZero()
    {
        QVERIFY2(open({"--preload", "3", "--timer", "1"}), qPrintable(rig->sim.output()));
        QStringList countdown;
        connect(w->countdownBox, &QLineEdit::textChanged, this, [&](const QString& t) { countdown << t; });
        w->intervalBox->setText(QStringLiteral("-2"));
        QTest::mouseClick(w->timerButton, Qt::LeftButton);
        QCOMPARE(commands("]").size(), 1);
        QCOMPARE(w->countdownBox->text(), QStringLiteral("2"));
        QVERIFY(!w->startButton->isEnabled() && !w->timerButton->isEnabled() && !w->closeButton->isEnabled());
        QVERIFY(w->stopTimerButton->isEnabled() && w->timerMode());

        QTRY_COMPARE_WITH_TIMEOUT(commands("]").size(), 2, 5000);
        QTRY_COMPARE_WITH_TIMEOUT(w->countdownBox->text(), QStringLiteral("2"), 3000);
        QCOMPARE(countdown.mid(0, 5), (QStringList{"0", "2", "1", "0", "2"}));

        rig->dialogs.answers.enqueue(Dialogs::Answer::No);
        QVERIFY(!w->close());
        QCOMPARE(rig->dialogs.texts().last(), QStringLiteral("Data acqisition timer will be stopped.\n\nClose?"));
        QTest::mouseClick(w->stopTimerButton, Qt::LeftButton);
        QCOMPARE(w->countdownBox->text(), QStringLiteral("---"));
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled() && !w->timerMode());
        const qsizetype asked = rig->dialogs.shown.size();
        QVERIFY(w->close());
        QCOMPARE(rig->dialogs.shown.size(), asked);
    }

    // The countdown reaches 0 while the console waits for a slow reply: the download
    // waits for the link instead of interleaving with it.
    void aDueDownloadWaitsForAnExchangeInProgress()
    {
        QVERIFY2(open({"--preload", "3", "--fault-slow", "900:Q"}), qPrintable(rig->sim.output()));
        w->intervalBox->setText(QStringLiteral("1"));
        QTest::mouseClick(w->timerButton, Qt::LeftButton);
        const int afterFirst = rig->sim.commandCount();
        QVERIFY(QTest::qWaitFor([&] { return w->minuteTimer->isActive(); }, 2000));

        bool interleaved = false;
        QTimer probe;
        connect(&probe, &QTimer::timeout, this, [&] {
            interleaved = interleaved || w->downloading()
                          || !rig->sim.commandsSince(afterFirst, QStringLiteral("H")).isEmpty();
        });
        probe.start(50);
        QTest::mouseClick(rig->console->general->readNameButton, Qt::LeftButton);  // waits 0.9 s for its reply
        probe.stop();
        QVERIFY(!interleaved);
        QCOMPARE(w->minutesLeft(), 0);
        QVERIFY(!rig->console->general->nameBox->text().isEmpty());
        QTRY_VERIFY_WITH_TIMEOUT(!rig->sim.commandsSince(afterFirst, QStringLiteral("]")).isEmpty(), 5000);
        QTest::mouseClick(w->stopTimerButton, Qt::LeftButton);
    }
};

QTEST_MAIN(NewDataWindowTest)
#include "tst_new_data_window.moc"
