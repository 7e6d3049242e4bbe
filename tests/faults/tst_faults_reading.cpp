// The continuous reading with a fault at each step of its first reading: the run ends
// (or goes on and is stopped) within its time-outs, the console is unlocked, and the file
// holds exactly the table, closed with its end marker.
#include "console/general_page.h"
#include "console/console_rig.h"
#include "faults/fault_matrix.h"
#include "measure/continuous_reading_window.h"

#include <QPushButton>
#include <QTimer>

#include <memory>

using FaultMatrix::Step;

namespace {

QStringList fileLines(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(f.readAll()).split(QStringLiteral("\r\n"));
}

} // namespace

class FaultsReading : public QObject {
    Q_OBJECT

private slots:

    // Eight channels: the reply to "p" is a number and a value per channel (fields 0 to 15).
    void eachStepOfTheFirstReading_data()
    {
        FaultMatrix::addRows({{"channel count", 'H'}, {"first channel number", 'p', 0}, {"first value", 'p', 1},
                              {"a channel number", 'p', 6}, {"last value", 'p', 15}});
    }
    void eachStepOfTheFirstReading()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        ConsoleRig rig(QStringList{"--channels", "8,0,0,0"} + fault);
        QVERIFY2(rig.connect(), qPrintable(rig.sim.output()));
        setPausePercent(rig.link, 10);
        setFieldTimeout(rig.link, 500);
        rig.console->show();
        std::unique_ptr<ContinuousReadingWindow> window(ContinuousReadingWindow::open(rig.testLink.services, 0));
        ContinuousReadingWindow* w = window.get();
        const QString path = rig.folder.filePath(QStringLiteral("mc_run.txt"));
        rig.dialogs.paths.enqueue(path);
        // A run the fault does not end is stopped after three readings.
        QTimer stopper;
        QObject::connect(&stopper, &QTimer::timeout, w, [w] {
            if (w->running() && w->table().rowCount() >= 5)
                QTest::mouseClick(w->stopButton, Qt::LeftButton);
        });
        stopper.start(5);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w->startButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!w->running(), 10000);
        QVERIFY(FaultMatrix::settled(rig.link, t, 12000));
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled() && !w->stopButton->isEnabled());
        QVERIFY(rig.console->general->readNameButton->isEnabled());

        if (fault.join(' ').contains(QLatin1String("H:"))) {
            // No channel count, no run: said, and no file.
            QVERIFY(!rig.dialogs.shown.isEmpty());
            QVERIFY(!QFile::exists(path) || kind == QLatin1String("garbage"));
            return;
        }
        const QStringList lines = fileLines(path);
        QVERIFY2(lines.contains(QStringLiteral("[FINE DATI]")), qPrintable(lines.join('|')));
        QCOMPARE(lines.last(), QString());  // the last line is whole
        QStringList rows;
        for (int r = 1; r < w->table().rowCount(); ++r)
            rows << w->table().row(r).join(',');
        QCOMPARE(lines.mid(2, rows.size()), rows);
        if (kind == QLatin1String("drop")) {
            QVERIFY(lines.contains(QStringLiteral("[FILE TERMINATO INASPETTATAMENTE]")));
            QCOMPARE(rig.dialogs.shown.size(), 1);
            QCOMPARE(rig.dialogs.shown.first().title, QStringLiteral("Connection lost"));
        }
        if (kind == QLatin1String("silent"))
            QVERIFY2(!rows.isEmpty() && rows.last().contains(QStringLiteral("Timeout")), qPrintable(lines.join(QLatin1Char('|'))));
    }
};

QTEST_MAIN(FaultsReading)
#include "tst_faults_reading.moc"
