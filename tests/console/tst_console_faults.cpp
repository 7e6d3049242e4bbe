// The console against a datalogger that answers badly, a line that stalls, a full disk
// and an operator who closes it in the middle of a read, over a scripted transport.
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "console/console_clicks.h"
#include "console/fake_console_rig.h"
#include "console/console_window.h"
#include "link/link.h"
#include "data/program_folder.h"
#include "startup/start_window.h"
#include "support/fake_transport.h"
#include "support/file_size_limit.h"
#include "support/test_link.h"
#include "support/scripted_dialogs.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QMap>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <memory>

namespace {

// What a datalogger answers to the reads after a connection.
QMap<QByteArray, QList<QByteArray>> healthyAnswers()
{
    return {{"H", {"8,"}}, {"G", {"08,12,2026,10,30,"}}, {"Y", {"01,01,2027,00,00,0,"}},
            {"C", {"001,002,005,"}}, {"E", {"01500,"}}, {"W", {"05.01,03.30,12.80,"}},
            {"M", {"5000,4800,"}}, {"Q", {"SIM01,"}}, {"D", {"1,"}}, {"U", {"0,"}},
            {"O", {"1,"}}};
}

} // namespace

class ConsoleFaults : public QObject {
    Q_OBJECT

    std::unique_ptr<FakeConsoleRig> rig;
    ConsoleWindow* f = nullptr;
    FakeTransport* port = nullptr;
    ScriptedDialogs* dialogs = nullptr;
    int& programEnds() { return rig->programEnds; }

private slots:
    void init()
    {
        rig = std::make_unique<FakeConsoleRig>();
        f = rig->console.get();
        port = &rig->port;
        dialogs = &rig->dialogs;
    }
    void cleanup() { rig.reset(); }

    // "Write channels number" calls the channel read and the memory read; the console
    // must stay locked until the write itself ends.
    void innerHandlerDoesNotUnlockTheConsole()
    {
        QList<bool> enabledDuringMemoryRead;
        auto answers = datalogger({{"H", {"2,"}}, {"M", {"5000,4800,"}}});
        port->responder = [&, answers](const QByteArray& w) {
            if (w == "M")
                enabledDuringMemoryRead << f->general->readNameButton->isEnabled() << f->channels->writeChannelsButton->isEnabled();
            return answers(w);
        };
        type(f->channels->muxBoxes, {"2", "0", "0", "0"});
        dialogs->answers.enqueue(Dialogs::Answer::Yes);
        click(f, f->channels->writeChannelsButton);
        QCOMPARE(enabledDuringMemoryRead, (QList<bool>{false, false}));
        QVERIFY(f->general->readNameButton->isEnabled() && f->channels->writeChannelsButton->isEnabled());
        QCOMPARE(rig->link.commandLockDepth(), 0);
    }

    // Counts the datalogger cannot mean are shown as received, marked and named once;
    // the write then refuses them instead of writing 0 over the real counts.
    void channelCountsOutOfRangeAreShownAndNotWrittenBack()
    {
        port->responder = datalogger({{"H", {"17,", "-5,", "99999,", "0000012,"}}});
        click(f, f->channels->readChannelsButton);
        QCOMPARE(f->channels->muxBoxes[0]->text(), QStringLiteral("17"));
        QCOMPARE(f->channels->muxBoxes[1]->text(), QStringLiteral("-5"));
        QCOMPARE(f->channels->muxBoxes[2]->text(), QStringLiteral("99999"));
        QCOMPARE(f->channels->muxBoxes[3]->text(), QStringLiteral("0000012"));
        QCOMPARE(boxColour(f->channels->muxBoxes[0]), BoxColour::Red);
        QCOMPARE(boxColour(f->channels->muxBoxes[3]), BoxColour::Yellow);
        QCOMPARE(dialogs->shown.size(), 1);
        const QString message = dialogs->shown.first().text;
        QVERIFY2(message.contains("MUX0 = 17") && message.contains("MUX1 = -5")
                     && message.contains("MUX2 = 99999") && !message.contains("MUX3"),
                 qPrintable(message));

        port->written.clear();
        click(f, f->channels->writeChannelsButton);
        QCOMPARE(dialogs->shown.size(), 2);
        QVERIFY(dialogs->shown.last().text.startsWith(QStringLiteral("MUX0 does not hold a channel count")));
        QVERIFY(port->written.isEmpty());

        // A read that timed out leaves "%%", which is not written either.
        setFieldTimeout(rig->link, 100);
        port->responder = nullptr;
        click(f, f->channels->readChannelsButton);
        QCOMPARE(f->channels->muxBoxes[0]->text(), QStringLiteral("%%"));
        QCOMPARE(dialogs->shown.size(), 2);  // a silence is not an invalid count
        port->written.clear();
        click(f, f->channels->writeChannelsButton);
        QVERIFY(!port->written.contains('b'));
    }

    // Values that overflow a 16-bit number are reported, never taken as 0.
    void overflowingAnswersDuringConnect()
    {
        StartWindow start(rig->testLink.services);
        start.setConsole(f);
        auto answers = healthyAnswers();
        answers["D"] = {"40000,"};
        answers["U"] = {"70000,"};
        port->responder = datalogger(answers);
        QVERIFY(start.readSettingsAndHandOver());
        QCOMPARE(rig->datalogger.modelCode(), qint16(0));  // untouched by the bad code
        QCOMPARE(f->dataAcquisition->acquireButton->text(), QStringLiteral("Acquire"));  // no analog layout
        QVERIFY(!f->timers->preheatingFrame->isVisible());
        QCOMPARE(dialogs->texts().filter(QStringLiteral("model code")).size(), 1);
        QVERIFY(dialogs->texts().last().contains(QStringLiteral("40000")));
        QVERIFY(f->channels->eventsCounterSwitch->isChecked());
        QVERIFY(f->isVisible());
    }

    // The wire carries one byte per character: a name that cannot travel is refused.
    void nameOutsideLatin1IsRefused()
    {
        f->general->nameBox->setText(QStringLiteral("SITE\u20AC1"));
        click(f, f->general->writeNameButton);
        QCOMPARE(dialogs->texts(), QStringList{QStringLiteral("The datalogger ID can only contain printable characters of the Latin-1 set.")});
        QVERIFY(port->written.isEmpty());

        f->general->nameBox->setText(QStringLiteral("SITÉ1"));  // Latin-1 travels
        click(f, f->general->writeNameButton);
        QCOMPARE(port->written, QByteArray("qSIT\xC9" "1,"));
    }

    // A full disk (a file-size limit stands in for it) keeps the old logout file and warns.
    void logoutFileOnAFullDisk()
    {
        f->dataAcquisition->dataFileNameBox->setText(QStringLiteral("SIM01_01_02_25_VW.txt"));
        f->general->nameBox->setText(QStringLiteral("SIM01"));
        const QString path = rig->folder.filePath(QStringLiteral("LOGOUT_SIM01_01_02_25_VW.txt"));
        {
            QFile old(path);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("previous record\r\n");
        }
        {
            const FileSizeLimit fullDisk(32);
            QVERIFY(fullDisk.active());
            QVERIFY(f->close());
        }

        QCOMPARE(programEnds(), 1);
        QCOMPARE(dialogs->shown.size(), 1);
        QVERIFY(dialogs->shown.first().text.startsWith(QStringLiteral("The logout file could not be written: ")));
        QFile kept(path);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("previous record\r\n"));
    }

    // Closing the console while a read waits: the read ends, then the closing command
    // goes out, then the program ends, long before the read's time-out.
    void closingDuringAReadSendsTheClosingCommand()
    {
        setFieldTimeout(rig->link, 20000);
        f->dateTime->immediateConversionBox->setChecked(true);
        f->dateTime->acquisitionSwitch->setChecked(true);
        QTimer::singleShot(150, f, [this] { f->close(); });
        QElapsedTimer t;
        t.start();
        click(f, f->dateTime->readClockButton);  // the datalogger never answers "G"
        QTRY_COMPARE(programEnds(), 1);
        QVERIFY2(t.elapsed() < 5000, qPrintable(QString::number(t.elapsed())));
        QVERIFY2(port->written.endsWith("d0,0,0,0,0,"), port->written.constData());
        QCOMPARE(port->written, QByteArray("G,d0,0,0,0,0,"));
        QVERIFY(!rig->link.exchangesAbandoned());
    }
};

QTEST_MAIN(ConsoleFaults)
#include "tst_console_faults.moc"
