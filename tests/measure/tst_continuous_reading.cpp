// The continuous reading against the simulated datalogger: the table and the file of a
// run, the ways it ends (Stop, a time-out, a lost line, a closed console), the answers
// that keep it from starting, and the console locked while it runs.
#include "console/general_page.h"
#include "console/console_rig.h"
#include "data/continuous_file.h"
#include "data/file_checks.h"
#include "measure/continuous_reading_window.h"
#include "support/fake_transport.h"
#include "support/test_link.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <functional>

namespace {

QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    QString all = QString::fromLatin1(f.readAll());
    if (!all.endsWith(QLatin1String("\r\n")))
        return {QStringLiteral("<no CR LF at the end>")};
    all.chop(2);
    return all.split(QStringLiteral("\r\n"));
}

// The value fields the simulator sent after the channel count, in order.
QStringList valuesSent(const QByteArray& sent)
{
    QList<QByteArray> fields = sent.split(',');
    fields.removeLast();  // after the last comma
    QStringList values;
    for (int i = 2; i < fields.size(); i += 2)  // field 0 is the count; then number, value
        values << QString::fromLatin1(fields.at(i)).trimmed();
    return values;
}

const QRegularExpression readingTime(QStringLiteral("^\\d\\d/\\d\\d/\\d{4} \\d\\d:\\d\\d:\\d\\d$"));

// Calls action once, from the event loop, the first time ready() holds.
void when(QObject* owner, std::function<bool()> ready, std::function<void()> action)
{
    auto* timer = new QTimer(owner);
    timer->setInterval(2);
    QObject::connect(timer, &QTimer::timeout, owner, [timer, ready, action] {
        if (!ready())
            return;
        timer->stop();
        timer->deleteLater();
        action();
    });
    timer->start();
}

} // namespace

class ContinuousReadingTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    QPointer<ContinuousReadingWindow> w;
    qsizetype sentMark = 0;

    bool connect(const QStringList& simArgs, int fieldTimeoutMs = 4000)
    {
        rig = std::make_unique<ConsoleRig>(simArgs);
        if (!rig->connect())
            return false;
        setPausePercent(rig->link, 10);  // no test here measures the pauses
        setFieldTimeout(rig->link, fieldTimeoutMs);
        rig->console->show();
        w = ContinuousReadingWindow::open(rig->testLink.services, 0);
        QTest::qWait(150);  // the reply to the probe reaches the wire log
        sentMark = rig->sim.sent().size();
        return true;
    }
    QString chosenPath() const { return rig->folder.filePath(QStringLiteral("mc_run.txt")); }
    void start()
    {
        rig->dialogs.paths.enqueue(chosenPath());
        QTest::mouseClick(w->startButton, Qt::LeftButton);
    }
    // Stops the run once it has finished `readings` readings.
    void stopAfter(int readings)
    {
        when(w, [this, readings] { return w->table().rowCount() - 2 >= readings; },
             [this] { QTest::mouseClick(w->stopButton, Qt::LeftButton); });
    }
    // The rows of the table after the titles.
    QList<QStringList> readingRows() const
    {
        QList<QStringList> rows;
        for (int r = 1; r < w->table().rowCount(); ++r)
            rows << w->table().row(r);
        return rows;
    }

private slots:
    void cleanup()
    {
        delete w.data();
        rig.reset();
    }

    // The file holds exactly the table, and the table exactly what the datalogger sent.
    void runGivesTheTableAndTheFile()
    {
        QVERIFY2(connect({"--channels", "8,0,0,0"}), qPrintable(rig->sim.output()));
        QVERIFY(w->startButton->isEnabled() && !w->stopButton->isEnabled() && !w->graphButton->isEnabled());
        bool consoleLocked = false;
        when(w, [this] { return w->table().rowCount() >= 3; }, [&] {
            consoleLocked = !rig->console->general->readNameButton->isEnabled() && rig->link.commandLockDepth() > 0
                            && !w->startButton->isEnabled() && !w->closeButton->isEnabled()
                            && w->stopButton->isEnabled() && w->graphButton->isEnabled();
            // A console button reached now does not start an exchange of its own.
            rig->console->general->readNameButton->setEnabled(true);
            QTest::mouseClick(rig->console->general->readNameButton, Qt::LeftButton);
        });
        stopAfter(5);
        start();
        QVERIFY(consoleLocked);
        QVERIFY(!w->running());
        QVERIFY(rig->console->general->readNameButton->isEnabled());
        QCOMPARE(rig->link.commandLockDepth(), 0);
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled() && w->graphButton->isEnabled());
        QVERIFY(!w->stopButton->isEnabled());

        const QList<QStringList> rows = readingRows();
        QVERIFY(rows.size() >= 5);
        const QByteArray received = rig->sim.received();
        QVERIFY2(!received.contains('Q'), "the console's read went out during the run");
        QCOMPARE(received.count("H 0,"), 1);
        QCOMPARE(received.count("p0,"), rows.size());

        QTRY_COMPARE(valuesSent(rig->sim.sent().mid(sentMark)).size(), rows.size() * 8);
        const QStringList values = valuesSent(rig->sim.sent().mid(sentMark));
        QCOMPARE(w->table().row(0),
                 (QStringList{"Date", "CH 0", "CH 1", "CH 2", "CH 3", "CH 4", "CH 5", "CH 6", "CH 7"}));
        QStringList expected{"[INIZIO DATI]", "Date,CH 0,CH 1,CH 2,CH 3,CH 4,CH 5,CH 6,CH 7"};
        for (int i = 0; i < rows.size(); ++i) {
            QVERIFY2(readingTime.match(rows[i][0]).hasMatch(), qPrintable(rows[i][0]));
            QCOMPARE(rows[i].mid(1), values.mid(i * 8, 8));
            expected << rows[i].join(',');
        }
        expected << "[FINE DATI]";
        QCOMPARE(fileLines(chosenPath()), expected);
        QCOMPARE(w->filePath(), chosenPath());
        QVERIFY(rig->dialogs.shown.isEmpty());
    }

    // "Stop" while a reading waits for its reply: that reading is finished and written,
    // and no empty row is left behind.
    void stopFinishesTheReadingInProgress()
    {
        QVERIFY2(connect({"--channels", "8,0,0,0", "--fault-slow", "250:p"}), qPrintable(rig->sim.output()));
        bool midReading = false;
        // Once the fourth reading has its time, it waits for the datalogger's answer.
        when(w, [this] { return w->table().rowCount() >= 4 && !w->table().cell(3, 0).isEmpty(); }, [&] {
            const int last = w->table().last();
            midReading = !w->table().cell(last, 0).isEmpty() && w->table().cell(last, 1).isEmpty();
            QTest::mouseClick(w->stopButton, Qt::LeftButton);
            QCOMPARE(w->noticeBox->text(), QStringLiteral("Completing current reading..."));
            QVERIFY(w->noticeBox->isVisible() && !w->stopButton->isEnabled());
        });
        start();
        QVERIFY(midReading);
        const QList<QStringList> rows = readingRows();
        QCOMPARE(rows.size(), 3);
        for (const QStringList& row : rows) {
            for (const QString& value : row.mid(1))
                QVERIFY2(!value.isEmpty() && value != "Timeout", qPrintable(row.join(',')));
        }
        const QStringList lines = fileLines(chosenPath());
        QCOMPARE(lines.size(), 2 + 3 + 1);
        QCOMPARE(lines.at(4), rows.last().join(','));
        QCOMPARE(lines.last(), QStringLiteral("[FINE DATI]"));
        QVERIFY(!w->noticeBox->isVisible());
    }

    // Channel 3 of 8 gets no answer: channels 3..8 read "Timeout" and the run ends.
    void timeoutOnTheThirdChannelEndsTheRun()
    {
        // 20 bytes hold the first two channels whole and never the third value.
        QVERIFY2(connect({"--channels", "8,0,0,0", "--fault-truncate", "20:p"}, 600),
                 qPrintable(rig->sim.output()));
        start();
        const QList<QStringList> rows = readingRows();
        QCOMPARE(rows.size(), 1);
        QTRY_VERIFY(rig->sim.sent().size() >= sentMark + 22);
        const QStringList values = valuesSent(rig->sim.sent().mid(sentMark));
        QCOMPARE(rows[0].mid(1, 2), values.mid(0, 2));
        QCOMPARE(rows[0].mid(3), QStringList(6, QStringLiteral("Timeout")));
        const QStringList lines = fileLines(chosenPath());
        QCOMPARE(lines.size(), 4);
        QCOMPARE(lines.at(2), rows[0].join(','));
        QCOMPARE(lines.last(), QStringLiteral("[FINE DATI]"));
        QVERIFY(rig->dialogs.shown.isEmpty());
        QVERIFY(w->startButton->isEnabled() && !w->stopButton->isEnabled());
    }

    // The line goes in the middle of a run: the reading in progress is written as far as
    // it got, the file gets both end markers, and the loss is told once, at once.
    void droppedLineWritesBothEndMarkers()
    {
        QVERIFY2(connect({"--channels", "8,0,0,0", "--fault-drop-after", "400"}, 20000),
                 qPrintable(rig->sim.output()));
        QElapsedTimer t;
        t.start();
        start();
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
        const QList<QStringList> rows = readingRows();
        QVERIFY(rows.size() >= 2);
        QVERIFY(rows.last().contains(QStringLiteral("Timeout")));
        QVERIFY(!rows.first().contains(QStringLiteral("Timeout")));
        const QStringList lines = fileLines(chosenPath());
        QCOMPARE(lines.size(), 2 + rows.size() + 2);
        QCOMPARE(lines.at(lines.size() - 3), rows.last().join(','));
        QCOMPARE(lines.mid(lines.size() - 2),
                 (QStringList{"[FINE DATI]", "[FILE TERMINATO INASPETTATAMENTE]"}));
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QCOMPARE(rig->dialogs.shown.first().title, QStringLiteral("Connection lost"));
        QVERIFY(w->closeButton->isEnabled());
    }

    // Closing the console during a run: the run ends, its file is closed with the end
    // markers, and only then does the console unload.
    void closingTheConsoleEndsTheRunFirst()
    {
        QVERIFY2(connect({"--channels", "8,0,0,0", "--fault-slow", "100:p"}), qPrintable(rig->sim.output()));
        int endsAtClose = -1;
        when(w, [this] { return w->table().rowCount() >= 4; }, [&] {
            rig->console->close();
            endsAtClose = rig->programEnds;
        });
        start();
        QCOMPARE(endsAtClose, 0);
        QTRY_COMPARE(rig->programEnds, 1);
        const QList<QStringList> rows = readingRows();
        QCOMPARE(rows.size(), 2);  // the reading cut short is not kept
        const QStringList lines = fileLines(chosenPath());
        QCOMPARE(lines.mid(2, 2), (QStringList{rows[0].join(','), rows[1].join(',')}));
        QCOMPARE(lines.mid(4), (QStringList{"[FINE DATI]", "[FILE TERMINATO INASPETTATAMENTE]"}));
    }

    // A send that fails in the middle of a run (a line that no longer drains): the file
    // gets both end markers and the operator the failure's own description.
    void failedSendWritesBothEndMarkers()
    {
        QTemporaryDir folder;
        ScriptedDialogs dialogs;
        TestLink testLink(folder.path());
        Link& link = testLink.link;
        setPausePercent(link, 5);
        FakeTransport port;
        link.takeOver(&port, true);
        int readings = 0;
        port.responder = [&](const QByteArray& written) -> QByteArray {
            if (written == "H")
                return "2,";
            if (written == "p" && ++readings == 3)
                port.stallWrites = true;  // the values of this command do not leave
            return written == "p" ? QByteArray("0,1234.5,1,987.6,") : QByteArray();
        };
        w = ContinuousReadingWindow::open(testLink.services, 0);
        const QString path = folder.filePath(QStringLiteral("mc_fail.txt"));
        dialogs.paths.enqueue(path);
        QTest::mouseClick(w->startButton, Qt::LeftButton);
        QCOMPARE(readingRows().size(), 2);
        QCOMPARE(readingRows().last(), (QStringList{readingRows().last()[0], "1234.5", "987.6"}));
        QCOMPARE(fileLines(path).mid(4), (QStringList{"[FINE DATI]", "[FILE TERMINATO INASPETTATAMENTE]"}));
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(!dialogs.shown[0].text.isEmpty());
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled() && !w->stopButton->isEnabled());
        QCOMPARE(link.commandLockDepth(), 0);
        delete w.data();
    }

    // Nothing to read, no answer, no file name, a busy file: no run and no new file.
    void runsThatDoNotStart()
    {
        QVERIFY2(connect({"--channels", "0,4,0,0"}), qPrintable(rig->sim.output()));
        start();
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QCOMPARE(rig->dialogs.shown[0].text, QStringLiteral("At least 1 channel must be enabled."));
        QCOMPARE(rig->dialogs.shown[0].title, QStringLiteral("Canceled"));
        QCOMPARE(w->noticeBox->text(), QStringLiteral("Canceled"));
        QVERIFY(w->noticeBox->isVisible());
        QVERIFY(!w->graphButton->isEnabled() && !w->stopButton->isEnabled());
        QCOMPARE(rig->dialogs.paths.size(), 1);  // no file was asked for
        QVERIFY(!QFile::exists(chosenPath()));
        cleanup();

        QVERIFY2(connect({"--fault-silent-cmds", "H"}, 500), qPrintable(rig->sim.output()));
        start();
        QCOMPARE(rig->dialogs.texts(), QStringList{"Connection error."});
        QVERIFY(w->closeButton->isEnabled());
        QVERIFY(!QFile::exists(chosenPath()));
        QVERIFY(!rig->sim.received().contains("p0,"));
        cleanup();

        QVERIFY2(connect({}), qPrintable(rig->sim.output()));
        QTest::mouseClick(w->startButton, Qt::LeftButton);  // the save dialog is cancelled
        QVERIFY(rig->dialogs.shown.isEmpty());
        QVERIFY(!rig->sim.received().contains("p0,"));
        QVERIFY(w->startButton->isEnabled() && !w->noticeBox->isVisible());
        QCOMPARE(QDir(rig->folder.path()).entryList({"mc_*"}, QDir::Files).size(), 0);

        // A file another program holds: the operator gives up and nothing is touched.
        {
            QFile old(chosenPath());
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("earlier run\r\n");
        }
        const QString officeLock = QFileInfo(chosenPath()).dir().filePath(
            QStringLiteral(".~lock.") + QFileInfo(chosenPath()).fileName() + QLatin1Char('#'));
        QVERIFY(writeFileBytes(officeLock, "someone,office"));
        rig->dialogs.answers.enqueue(Dialogs::Answer::Cancel);
        start();
        QCOMPARE(rig->dialogs.shown.size(), 2);
        QCOMPARE(rig->dialogs.shown[0].title, QStringLiteral("Azione annullata"));
        QVERIFY(rig->dialogs.shown[1].text.contains(chosenPath()));
        QVERIFY(rig->dialogs.shown[1].text.contains(QStringLiteral("not started")));
        QCOMPARE(fileLines(chosenPath()), QStringList{"earlier run"});
        QVERIFY(!rig->sim.received().contains("p0,"));
        QVERIFY(w->startButton->isEnabled());
        QFile::remove(officeLock);
    }
};

QTEST_MAIN(ContinuousReadingTest)
#include "tst_continuous_reading.moc"
