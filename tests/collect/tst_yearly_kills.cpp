// quorvel-collect killed with SIGKILL where a yearly file is at risk, at a chosen system
// call injected with strace; after each kill a clean run leaves every confirmed record in
// the yearly file once (yearly_kills.h).
#include "collect/yearly_kills.h"

class CollectKillsAtRiskTest : public CollectKills {
    Q_OBJECT

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

    void cleanupTestCase() { report(); }
};

QTEST_GUILESS_MAIN(CollectKillsAtRiskTest)
#include "tst_yearly_kills.moc"
