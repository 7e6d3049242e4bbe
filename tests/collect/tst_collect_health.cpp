// quorvel-collect's health reads against simulated stations: a low battery, a clock off
// by 90 s and a memory 95 % full each warn and end the run with status 3; --set-clock
// puts the datalogger's clock right; --json gives one object per station; a plain run
// asks nothing more of the datalogger than before; an unanswered read warns, a failed
// download is not followed by health reads, and a parallel run passes the status on.
#include "collector_process.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// A station that answers at once, with a few records to fetch.
QStringList quickStation(const QStringList& more = {})
{
    return QStringList{"--wake-idle", "300", "--channels", "2,0,0,0", "--preload", "5", "--acquisition", "0"} + more;
}

} // namespace

class CollectHealthTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int files = 0;

    // One serial station on sim; runs the collector with args and the stations file.
    CollectorRun collectOne(const SimProcess& sim, const QStringList& args)
    {
        const QString name = QStringLiteral("S%1").arg(++files);
        const QString file = writeStationsFile(dir.filePath(name + ".ini"),
                                               serialStationText(name, sim.ptyPath(), dir.filePath(name)));
        return runCollector(dir.path(), args + QStringList{file});
    }

private slots:
    void aLowBattery()
    {
        SimProcess sim(quickStation({"--battery", "11.2"}));
        QVERIFY(sim.start());
        const CollectorRun run = collectOne(sim, {"--warn-battery", "11.8"});
        QVERIFY2(run.status == 3, qPrintable(run.out + run.err));
        QCOMPARE(run.lines().size(), 1);
        const QString line = run.lines().first();
        QVERIFY2(line.contains(": WARNING: battery 11.20 V, below 11.80 V: 5 records appended"), qPrintable(line));
        QVERIFY2(line.contains("battery 11.20 V, 5 Volt 5.0"), qPrintable(line));
    }

    void aClockNinetySecondsOff()
    {
        SimProcess sim(quickStation({"--clock-offset", "90"}));
        QVERIFY(sim.start());
        const CollectorRun run = collectOne(sim, {"--warn-clock", "45"});
        QVERIFY2(run.status == 3, qPrintable(run.out + run.err));
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("WARNING: clock off by \\+(\\d+) s, more than 45 s: 5 records"))
                .match(run.out);
        QVERIFY2(m.hasMatch(), qPrintable(run.out));
        // The minute shown leaves half a minute either way.
        QVERIFY2(m.captured(1).toInt() >= 59 && m.captured(1).toInt() <= 121, qPrintable(run.out));
        QCOMPARE(sim.commandsSince(0, "g").size(), 0);  // warned of, not set
    }

    void aMemoryNinetyFivePercentFull()
    {
        SimProcess sim({"--wake-idle", "300", "--channels", "2,0,0,0", "--memory", "100", "--preload", "95",
                        "--acquisition", "0"});
        QVERIFY(sim.start());
        const CollectorRun run = collectOne(sim, {"--warn-memory", "95"});
        QVERIFY2(run.status == 3, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(": WARNING: memory 95.0 % used, at or above 95 %: 95 records appended"),
                 qPrintable(run.out));
        QVERIFY2(run.out.contains("memory 95.0 % used (5 of 100 free)"), qPrintable(run.out));
        // One record less is no warning.
        SimProcess less({"--wake-idle", "300", "--channels", "2,0,0,0", "--memory", "100", "--preload", "94",
                         "--acquisition", "0"});
        QVERIFY(less.start());
        const CollectorRun below = collectOne(less, {"--warn-memory", "95"});
        QVERIFY2(below.status == 0, qPrintable(below.out + below.err));
    }

    // Five minutes behind: written at the collector's minute boundary with the console's
    // encoding, read back, and right to the second in the datalogger.
    void setClockPutsTheClockRight()
    {
        SimProcess sim(quickStation({"--clock-offset", "-300"}));
        QVERIFY(sim.start());
        const CollectorRun run = collectOne(sim, {"--set-clock", "60", "--warn-clock", "60"});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        const QRegularExpressionMatch m =
            QRegularExpression(QStringLiteral("clock -(\\d+) s, set, now ([-+]\\d+) s")).match(run.out);
        QVERIFY2(m.hasMatch(), qPrintable(run.out));
        QVERIFY2(std::abs(m.captured(2).toInt()) <= 31, qPrintable(run.out));
        const QJsonObject state = sim.state();
        QVERIFY2(std::abs(state.value("clock_offset_ms").toDouble()) < 3000,
                 qPrintable(QString::number(state.value("clock_offset_ms").toDouble())));
        const QStringList writes = sim.commandsSince(0, "g");
        QCOMPARE(writes.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^g\\d{1,2},\\d{1,2}, ?1\\d\\d,\\d\\d,\\d\\d,$")).match(writes[0]).hasMatch(),
                 qPrintable(writes[0]));
        // Read before the write and after it.
        QCOMPARE(sim.commandsSince(0, "Gg").join(QString()).count(QLatin1Char('G')), 2);
    }

    void jsonObjects()
    {
        SimProcess sim(quickStation({"--battery", "12.4"}));
        QVERIFY(sim.start());
        const CollectorRun run = collectOne(sim, {"--json"});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QCOMPARE(run.lines().size(), 1);
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(run.lines().first().toUtf8(), &error).object();
        QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(error.errorString()));
        QCOMPARE(o.value("status").toString(), QStringLiteral("collected"));
        QCOMPARE(o.value("ok").toBool(), true);
        QCOMPARE(o.value("records").toInt(), 5);
        QCOMPARE(o.value("link").toString(), QStringLiteral("serial"));
        QCOMPARE(o.value("warnings").toArray().size(), 0);
        const QJsonObject health = o.value("health").toObject();
        const QJsonObject clock = health.value("clock").toObject();
        QCOMPARE(clock.value("outcome").toString(), QStringLiteral("answered"));
        QVERIFY2(std::abs(clock.value("offset_s").toDouble()) <= 31, qPrintable(run.out));
        QCOMPARE(clock.value("resolution_s").toInt(), 60);
        QCOMPARE(health.value("internal_parameters").toObject().value("battery_v").toDouble(), 12.4);
        const QJsonObject memory = health.value("memory").toObject();
        QCOMPARE(memory.value("total").toInt(), 5000);
        QCOMPARE(memory.value("free").toInt(), 4995);
        QCOMPARE(memory.value("outcome").toString(), QStringLiteral("answered"));
    }

    // Without a health flag the datalogger is asked what it was asked before; with one,
    // the clock, the voltages and the memory, in that order, after the confirmation.
    void healthOnlyWhenAsked()
    {
        SimProcess sim(quickStation());
        QVERIFY(sim.start());
        CollectorRun run = collectOne(sim, {});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QVERIFY(sim.commandsSince(0, "GWMg").isEmpty());
        QVERIFY2(!run.out.contains("battery"), qPrintable(run.out));
        const int before = sim.commandCount();
        run = collectOne(sim, {"--health"});
        QVERIFY2(run.status == 0, qPrintable(run.out + run.err));
        QCOMPARE(sim.commandsSince(before, "]GWM"), (QStringList{"],", "G,", "W,", "M,"}));
    }

    // An unanswered read warns and the data still counts as collected; after a failed
    // download nothing is asked.
    void unansweredHealthAndFailedDownloads()
    {
        SimProcess mute(quickStation({"--fault-silent-cmds", "W"}));
        QVERIFY(mute.start());
        CollectorRun run = collectOne(mute, {"--health"});
        QVERIFY2(run.status == 3, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains(": WARNING: internal parameters: no answer: 5 records appended"), qPrintable(run.out));
        QVERIFY(mute.commandsSince(0, "M").isEmpty());  // a silent datalogger is asked no more

        SimProcess failing(quickStation({"--fault-silent-cmds", "["}));
        QVERIFY(failing.start());
        run = collectOne(failing, {"--health", "--warn-battery", "11"});
        QVERIFY2(run.status == 1, qPrintable(run.out + run.err));
        QVERIFY2(run.out.contains("FAILED"), qPrintable(run.out));
        QVERIFY(failing.commandsSince(0, "GWM").isEmpty());
    }

    // Children on two ports: warnings alone give 3, a failure among them 1.
    void aParallelRunPassesTheStatusOn()
    {
        SimProcess low(quickStation({"--battery", "10.5"}));
        SimProcess fine(quickStation());
        SimProcess silent({"--fault-silent"});
        QVERIFY(low.start() && fine.start() && silent.start());
        const QString two = serialStationText("Low", low.ptyPath(), dir.filePath("Low"))
                            + serialStationText("Fine", fine.ptyPath(), dir.filePath("Fine"));
        CollectorRun run = runCollector(dir.path(), {"--warn-battery", "11.5", "--jobs", "2",
                                                     writeStationsFile(dir.filePath("two.ini"), two)});
        QVERIFY2(run.status == 3, qPrintable(run.out + run.err));
        QCOMPARE(run.lines().size(), 2);
        QVERIFY2(run.lines()[0].startsWith("Low: serial ") && run.lines()[0].contains("WARNING: battery 10.50 V"),
                 qPrintable(run.out));
        QVERIFY2(run.lines()[1].startsWith("Fine: serial ") && !run.lines()[1].contains("WARNING"), qPrintable(run.out));

        const QString three = two + serialStationText("Silent", silent.ptyPath(), dir.filePath("Silent"));
        run = runCollector(dir.path(), {"--warn-battery", "11.5", "--json",
                                        writeStationsFile(dir.filePath("three.ini"), three)});
        QVERIFY2(run.status == 1, qPrintable(run.out + run.err));
        QCOMPARE(run.lines().size(), 3);
        QStringList statuses;
        for (const QString& line : run.lines())
            statuses << QJsonDocument::fromJson(line.toUtf8()).object().value("status").toString();
        QCOMPARE(statuses, (QStringList{"warning", "collected", "failed"}));
    }

    void badFlagValues_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("message");
        QTest::newRow("clock limit under half a minute") << QStringList{"--warn-clock", "29"} << "--warn-clock takes whole seconds from 30";
        QTest::newRow("set-clock not a number") << QStringList{"--set-clock", "soon"} << "--set-clock takes whole seconds from 30";
        QTest::newRow("no memory share") << QStringList{"--warn-memory", "0"} << "--warn-memory takes";
        QTest::newRow("memory over 100") << QStringList{"--warn-memory", "101"} << "--warn-memory takes";
        QTest::newRow("battery not a number") << QStringList{"--warn-battery", "low"} << "--warn-battery takes";
        QTest::newRow("battery negative") << QStringList{"--warn-battery", "-1"} << "--warn-battery takes";
    }
    void badFlagValues()
    {
        QFETCH(QStringList, args);
        QFETCH(QString, message);
        const QString file = writeStationsFile(dir.filePath("flags.ini"), serialStationText("X", "/dev/null", dir.filePath("X")));
        const CollectorRun run = runCollector(dir.path(), args + QStringList{file});
        QCOMPARE(run.status, 2);
        QVERIFY2(run.err.contains(message), qPrintable(run.err));
        QVERIFY(run.out.isEmpty());
    }
};

QTEST_GUILESS_MAIN(CollectHealthTest)
#include "tst_collect_health.moc"
