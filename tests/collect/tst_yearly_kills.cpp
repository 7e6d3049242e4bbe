// quorvel-collect killed with SIGKILL where a yearly file is at risk (at a chosen system
// call, injected with strace) and at random instants of runs over a cable and over the
// internet: after each kill a clean run leaves every record the datalogger counts as
// confirmed in the yearly file exactly once, in order, under one title, and nothing of
// the program's beside it.
#include "data/phone_book.h"
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/sim_process.h"

#include <QDate>
#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

constexpr int channels = 3;

// A simulated station recording every second, and how the collector reaches it.
struct Station {
    QString name;
    std::unique_ptr<SimProcess> sim;
    QString folder;
    QString stationsFile;
};

// "dd,MM,yyyy,hh,mm,ss," as the state gives a record's time, as the block writes it.
QByteArray readingTime(const QString& stamp)
{
    const QStringList f = stamp.split(QLatin1Char(','));
    return QStringLiteral("%1/%2/%3 %4:%5:%6,").arg(f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5)).toLatin1();
}

// The yearly file that holds exactly the records the datalogger counts as confirmed.
QByteArray fileOfConfirmed(const QJsonObject& state)
{
    QByteArray file = YearlyFile::titleLine(channels) + "\r\n";
    const QJsonArray memory = state.value("memory").toArray();
    const int fetched = state.value("fetched").toInt();
    for (int i = 0; i < fetched && i < memory.size(); ++i) {
        const QJsonObject record = memory.at(i).toObject();
        file += readingTime(record.value("stamp").toString());
        for (const QJsonValue& v : record.value("values").toArray())
            file += v.toString().toLatin1() + ',';
        file += "\r\n";
    }
    return file;
}

} // namespace

class CollectKillsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    int kills = 0;
    int checks = 0;
    int recordsChecked = 0;  // by the last check of each station

    QHash<QString, int> lastChecked_;

    QString yearly(const Station& s) const { return YearlyFile::path(s.folder, QDate::currentDate().year()); }

    std::unique_ptr<Station> cable(const QString& name)
    {
        auto s = std::make_unique<Station>();
        s->name = name;
        s->sim = std::make_unique<SimProcess>(QStringList{"--wake-idle", "150", "--channels", "3,0,0,0",
                                                          "--preload", "4", "--timer", "1"});
        if (!s->sim->start())
            return nullptr;
        s->folder = dir.filePath(name);
        s->stationsFile = writeStations(name, QStringLiteral("[%1]\nlink = serial\nport = %2\nfolder = %3\n")
                                                  .arg(name, s->sim->ptyPath(), s->folder));
        return s;
    }

    std::unique_ptr<Station> internet(const QString& name)
    {
        auto s = std::make_unique<Station>();
        s->name = name;
        s->sim = std::make_unique<SimProcess>(QStringList{"--telnet", "--ftp", "127.0.0.1:0", "--ftp-dir", name,
                                                          "--wake-idle", "150", "--channels", "3,0,0,0",
                                                          "--preload", "4", "--timer", "1"});
        if (!s->sim->startTcp() || !QTest::qWaitFor([&] { return s->sim->ftpPort() != 0; }, 5000))
            return nullptr;
        if (!PhoneBook::writeBook(dir.filePath("ftp.ini"), {name, QStringLiteral("127.0.0.1:%1").arg(s->sim->ftpPort()),
                                                            "datalogger", "secret"}))
            return nullptr;
        s->folder = dir.filePath(name);
        s->stationsFile = writeStations(name, QStringLiteral("[%1]\nlink = internet\nentry = %1\ntcp-port = %2\nfolder = %3\n")
                                                  .arg(name).arg(s->sim->tcpPort()).arg(s->folder));
        return s;
    }

    QString writeStations(const QString& name, const QString& text)
    {
        const QString path = dir.filePath(name + ".ini");
        return writeFileBytes(path, text.toUtf8()) ? path : QString();
    }

    // The collector on the station, under strace when injection is given ("link:1": die
    // at the first link system call).
    std::unique_ptr<QProcess> collector(const Station& s, const QString& injection = {})
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(childEnvironment(QStringLiteral("quorvel-collect")));
        const QStringList args{"--timeout", "3", "--lock-wait", "3", "--program-folder", dir.path(), s.stationsFile};
        if (injection.isEmpty()) {
            p->start(QStringLiteral(QUORVEL_COLLECT_PATH), args);
        } else {
            const QStringList call = injection.split(QLatin1Char(':'));
            p->start(QStringLiteral("strace"),
                     QStringList{"-f", "-qq", "-o", "/dev/null", "-e", "trace=" + call[0], "-e",
                                 QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call[0], call[1]),
                                 QStringLiteral(QUORVEL_COLLECT_PATH)}
                         + args);
        }
        return p;
    }

    // A clean run, then the file checked against what the datalogger confirmed.
    void cleanRunLeavesEveryRecordOnce(Station& s)
    {
        std::unique_ptr<QProcess> p = collector(s);
        QVERIFY(p->waitForFinished(30000));
        const QString out = QString::fromUtf8(p->readAllStandardOutput() + p->readAllStandardError());
        QVERIFY2(p->exitCode() == 0, qPrintable(out));
        const QJsonObject state = s.sim->state();
        QVERIFY(state.value("fetched").toInt() > 0);
        QCOMPARE(fileBytes(yearly(s)), fileOfConfirmed(state));
        ++checks;
        recordsChecked += state.value("fetched").toInt() - lastChecked_.value(s.name);
        lastChecked_[s.name] = state.value("fetched").toInt();
        const QStringList beside = QDir(s.folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
        QCOMPARE(beside, QStringList{QFileInfo(yearly(s)).fileName()});
    }

    // Dies at the given system call; then a clean run.
    void dieAt(Station& s, const QString& injection)
    {
        std::unique_ptr<QProcess> p = collector(s, injection);
        QVERIFY(p->waitForFinished(30000));
        QVERIFY2(p->exitStatus() == QProcess::CrashExit || p->exitCode() != 0,
                 qPrintable(injection + ": the run was not killed"));
        ++kills;
        cleanRunLeavesEveryRecordOnce(s);
    }

private slots:
    void initTestCase()
    {
        QProcess strace;
        strace.start(QStringLiteral("strace"), {"-V"});
        QVERIFY2(strace.waitForFinished(5000) && strace.exitCode() == 0, "strace is needed (scripts/setup installs it)");
    }

    // The instants of one download where a file is at risk, each on a datalogger whose
    // yearly file does not exist yet or exists, as the instant needs.
    void killedWhereTheFileIsAtRisk_data()
    {
        QTest::addColumn<bool>("fileFirst");
        QTest::addColumn<bool>("leftAside");
        QTest::addColumn<QString>("injection");
        // A new file: its title written beside it and not yet linked into place; linked
        // and the name beside it not yet removed; the block appended, not yet on disk
        // nor confirmed.
        QTest::newRow("title not in place") << false << false << "link:1";
        QTest::newRow("title in place, its other name left") << false << false << "unlink:3";
        QTest::newRow("block written, not confirmed, new file") << false << false << "fsync:3";
        // A file that holds blocks already: the next block written and not confirmed.
        QTest::newRow("block written, not confirmed") << true << false << "fsync:1";
        // The file an older version's check left renamed aside ("NAME.temp"), while it is
        // given its name back: before the link, and after it with both names still there.
        QTest::newRow("left aside, before its name comes back") << false << true << "link:1";
        QTest::newRow("left aside, both names") << false << true << "unlink:2";
    }
    void killedWhereTheFileIsAtRisk()
    {
        QFETCH(bool, fileFirst);
        QFETCH(bool, leftAside);
        QFETCH(QString, injection);
        std::unique_ptr<Station> s = cable(QStringLiteral("Risk%1").arg(QTest::currentDataTag()).remove(' ').remove(','));
        QVERIFY(s);
        if (fileFirst || leftAside) {
            cleanRunLeavesEveryRecordOnce(*s);
            QTest::qWait(1100);  // a record more
        }
        if (leftAside)
            QVERIFY(QFile::rename(yearly(*s), yearly(*s) + ".temp"));
        dieAt(*s, injection);
    }

    // Kills at random instants of runs over a cable and over the internet, both at once.
    void killedAtRandom()
    {
        std::unique_ptr<Station> stations[] = {cable(QStringLiteral("RandomCable")),
                                               internet(QStringLiteral("RandomInternet"))};
        for (auto& s : stations)
            QVERIFY(s);
        QElapsedTimer clean;
        clean.start();
        for (auto& s : stations)
            cleanRunLeavesEveryRecordOnce(*s);
        const int runMs = int(clean.elapsed() / 2);
        QRandomGenerator random(QRandomGenerator::global()->generate());
        // Some kills come after the run has ended; only those that struck are counted.
        int struck = 0;
        for (int round = 0; struck < 100 && round < 200; ++round) {
            std::unique_ptr<QProcess> runs[2];
            for (int i = 0; i < 2; ++i) {
                runs[i] = collector(*stations[i]);
                QProcess* p = runs[i].get();
                QTimer::singleShot(int(random.bounded(runMs + 1)), p, [p] { p->kill(); });
            }
            // The kills come from the event loop, which a blocking wait would not run.
            QVERIFY(QTest::qWaitFor([&] { return runs[0]->state() == QProcess::NotRunning
                                                 && runs[1]->state() == QProcess::NotRunning; }, 30000));
            for (auto& p : runs)
                struck += p->exitStatus() == QProcess::CrashExit;
            for (auto& s : stations)
                cleanRunLeavesEveryRecordOnce(*s);
        }
        QVERIFY(struck >= 100);
        kills += struck;
    }

    void cleanupTestCase()
    {
        qInfo("%d kills; %d clean runs checked, their files holding %d confirmed records in all", kills, checks,
              recordsChecked);
    }
};

QTEST_GUILESS_MAIN(CollectKillsTest)
#include "tst_yearly_kills.moc"
