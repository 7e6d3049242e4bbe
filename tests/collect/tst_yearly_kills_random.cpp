// quorvel-collect killed with SIGKILL at random instants of runs over a cable and over
// the internet, both at once; after each kill a clean run leaves every confirmed record in
// the yearly file once (yearly_kills.h).
#include "collect/yearly_kills.h"

class CollectKillsAtRandomTest : public CollectKills {
    Q_OBJECT

private slots:
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
            cleanRunsLeaveEveryRecordOnce({stations[0].get(), stations[1].get()});
        }
        QVERIFY(struck >= 100);
        kills += struck;
    }

    void cleanupTestCase() { report(); }
};

QTEST_GUILESS_MAIN(CollectKillsAtRandomTest)
#include "tst_yearly_kills_random.moc"
