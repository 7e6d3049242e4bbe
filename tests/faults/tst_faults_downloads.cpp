// The memory download and the new-data download with a fault at each step: each ends
// within its time-outs with the console unlocked and a message, the file that held data
// before is as it was (or, for new data, only appended to), and once the line is sound
// again nothing the datalogger recorded is missing.
#include "console/data_acquisition_page.h"
#include "console/general_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "console/fake_console_rig.h"
#include "data/yearly_file.h"
#include "faults/fault_matrix.h"
#include "measure/new_data_window.h"
#include "support/file_bytes.h"
#include "support/remaining_blocks.h"

#include <QDate>
#include <QDir>
#include <QJsonObject>
#include <QLineEdit>
#include <QPushButton>

using FaultMatrix::Step;

namespace {

const QByteArray earlierDownload = "the morning's download\r\n";
const QByteArray olderYear = "Date, CH0, CH1, CH2,\r\n01/01/2026 00:00:00,1.0,2.0,3.0,\r\n";

} // namespace

class FaultsDownloads : public QObject {
    Q_OBJECT

private slots:

    // Three records of three channels: fields 0 and 1 are the counts, then nine per record.
    static QList<Step> memorySteps()
    {
        return {{"record count", 'A', 0}, {"channel count", 'A', 1}, {"first time stamp", 'A', 2},
                {"first value", 'A', 8}, {"second record", 'A', 11}, {"last field", 'A', 28}};
    }

    // What must hold after a memory download that met a fault: the earlier file as it was,
    // a dropped line told once and then the download's own message, the console usable.
    static void checkFailedMemoryDownload(ConsoleWindow* f, const ScriptedDialogs& dialogs, const QString& folder,
                                          const QString& path, const QString& kind)
    {
        QCOMPARE(fileBytes(path), earlierDownload);
        QCOMPARE(dialogs.shown.size(), kind == QLatin1String("drop") ? 2 : 1);
        QVERIFY2(dialogs.shown.last().text.contains(QStringLiteral("Nothing was written")),
                 qPrintable(dialogs.texts().join('|')));
        QVERIFY(f->dataAcquisition->acquireButton->isEnabled() && f->general->readNameButton->isEnabled());
        QCOMPARE(QDir(folder).entryList({"PONTE1_*"}, QDir::Files | QDir::Hidden).size(), 1);
    }

    // The memory download of PONTE1 started over the file of an earlier one; true once the
    // link has settled.
    static bool downloadOverAnEarlierFile(ConsoleWindow* f, Link& link, const QString& path)
    {
        f->general->nameBox->setText(QStringLiteral("PONTE1"));
        if (!writeFileBytes(path, earlierDownload))
            return false;
        QElapsedTimer t;
        t.start();
        click(f, f->dataAcquisition->acquireButton);
        return FaultMatrix::settled(link, t, 8000);
    }

    static QString sensorFile(const QString& folder)
    {
        return QDir(folder).filePath(QStringLiteral("PONTE1_") + QDate::currentDate().toString("dd_MM_yy")
                                     + QStringLiteral("_SENS.txt"));
    }

    // The download is the same over any link: each step and kind over the scripted
    // transport, and one step of each kind end to end against the simulator.
    void eachFieldOfTheMemoryDownload_data()
    {
        FaultMatrix::addRows({memorySteps()[4]});
    }
    void eachFieldOfTheMemoryDownload()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        ConsoleRig rig(QStringList{"--name", "PONTE1", "--channels", "3,0,0,0", "--preload", "3",
                                   "--acquisition", "0"} + fault);
        FaultMatrix::quicken(rig.link, 500);
        QVERIFY2(rig.connect(), qPrintable(rig.sim.output()));
        ConsoleWindow* f = rig.console.get();
        f->show();
        const QString path = sensorFile(rig.folder.path());
        QVERIFY(downloadOverAnEarlierFile(f, rig.link, path));
        checkFailedMemoryDownload(f, rig.dialogs, rig.folder.path(), path, kind);
    }

    void eachFieldOfTheMemoryDownloadOverAnyLink_data()
    {
        QTest::addColumn<int>("field");
        QTest::addColumn<QString>("kind");
        for (const Step& s : memorySteps())
            for (const QString& kind : FaultMatrix::kinds())
                QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(s.name), kind))) << s.field << kind;
    }
    void eachFieldOfTheMemoryDownloadOverAnyLink()
    {
        QFETCH(int, field);
        QFETCH(QString, kind);
        FakeConsoleRig rig;
        setFieldTimeout(rig.link, 100);  // nothing comes late over the script: silence is silence
        // Three records of three channels, as the simulator sends them.
        QByteArray reply = "3,3,";
        for (int r = 0; r < 3; ++r)
            reply += "09,12,26,10,0" + QByteArray::number(r) + ",00,1.5,22.25,-3,";
        const FaultMatrix::FaultyReply faulty = FaultMatrix::faultyReply(reply, field, kind);
        FakeTransport& port = rig.port;
        port.responder = [&port, faulty](const QByteArray& written) -> QByteArray {
            if (written != "A")
                return {};
            if (faulty.drop)
                port.dropLater(0);
            return faulty.bytes;
        };
        ConsoleWindow* f = rig.console.get();
        const QString path = sensorFile(rig.folder.path());
        QVERIFY(downloadOverAnEarlierFile(f, rig.link, path));
        QCOMPARE(port.written, QByteArray("A"));
        checkFailedMemoryDownload(f, rig.dialogs, rig.folder.path(), path, kind);
    }

    // Three records of three channels in the block: field 0 is the start marker, then a
    // reading time and three values per record, then the end marker (field 13).
    void eachStepOfTheNewDataDownload_data()
    {
        FaultMatrix::addRows({{"channel count", 'H'}, {"start marker", '['}, {"first reading time", '[', 1},
                              {"a value", '[', 3}, {"last record", '[', 9}, {"end marker", '[', 13},
                              {"confirmation", ']'}});
    }
    void eachStepOfTheNewDataDownload()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        // The wake-up text comes after half the field time-out of quiet, as it came after
        // 400 ms against 800 ms before these waits were cut.
        ConsoleRig rig(QStringList{"--wake-idle", "150", "--channels", "3,0,0,0", "--preload", "3",
                                   "--acquisition", "0"} + fault);
        FaultMatrix::quicken(rig.link, 300);
        QVERIFY2(rig.connect(), qPrintable(rig.sim.output()));
        rig.console->newDataTiming = {.minuteMs = 150, .dtrPauseMs = 100};
        rig.console->show();
        QTest::mouseClick(rig.console->dataAcquisition->newDataButton, Qt::LeftButton);
        NewDataWindow* w = rig.console->newDataWindow();
        QVERIFY(w && w->isVisible());
        const QString path = YearlyFile::path(rig.folder.path(), QDate::currentDate().year());
        QVERIFY(writeFileBytes(path, olderYear));
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(w->startButton, Qt::LeftButton);
        QVERIFY(FaultMatrix::settled(rig.link, t, 10000));
        QVERIFY(w->startButton->isEnabled() && w->closeButton->isEnabled());
        QVERIFY(!w->noticeBox->text().isEmpty());

        using NewDataDownload::Outcome;
        const Outcome outcome = w->lastResult().outcome;
        const QByteArray after = fileBytes(path);
        const QList<QByteArray> blocks = blocksSent(rig.sim.sent());
        if (outcome == Outcome::Appended) {
            // Only a fault after the block was on disk lets it through.
            QVERIFY2(fault.join(' ').contains(QLatin1Char(']')), qPrintable(w->noticeBox->text()));
            QCOMPARE(after, olderYear + blocks.last() + "\r\n");
        } else {
            QCOMPARE(after, olderYear);
            QVERIFY(!rig.sim.received().contains(']'));
        }
        if (kind == QLatin1String("drop"))
            return;  // the line is gone; what the datalogger kept is checked above

        // The line is sound again: a second download leaves every record in the file.
        QTest::mouseClick(w->startButton, Qt::LeftButton);
        QVERIFY2(w->lastResult().outcome == Outcome::Appended || w->lastResult().outcome == Outcome::NothingNew,
                 qPrintable(w->noticeBox->text()));
        const QByteArray whole = fileBytes(path);
        QVERIFY(whole.startsWith(olderYear));
        // "]" goes without an answer: the datalogger may take it a moment after the file is whole.
        QTRY_VERIFY([&] {
            const QJsonObject memory = rig.sim.state();
            return memory.value("fetched").toInt() == memory.value("records").toInt();
        }());
        for (const QByteArray& line : blocksSent(rig.sim.sent()).last().split('\n'))
            QVERIFY2(whole.contains(line.trimmed()), line.constData());
    }
};

QTEST_MAIN(FaultsDownloads)
#include "tst_faults_downloads.moc"
