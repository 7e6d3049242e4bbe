// A call through the simulator's modem: "CONNECT" starts the connected phase, whose reads
// land in the console in the order of their status texts; "Retry" reads again with
// fixed-length replies; "Stop" hangs up; a memory download over the modem line writes
// the same file as over the cable.
#include "modem_rig.h"
#include "console/data_acquisition_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "support/file_bytes.h"

#include "support/download_match.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QAction>
#include <QDate>
#include <QLineEdit>

namespace {

void writeAll(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

QString today() { return QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy")); }

} // namespace

class TestModemConnection : public QObject {
    Q_OBJECT

    // Dials row 2 of the book and waits for the console; the modem is looked for at a
    // fifth of the window's pauses, ample for the simulator, and they are cut to a tenth
    // once the port has been probed.
    static bool call(ModemRig& m)
    {
        QFile book(m.file(QStringLiteral("modem.ini")));
        if (!book.open(QIODevice::WriteOnly))
            return false;
        book.write("A\r\n1\r\n\r\nB\r\n2\r\n\r\nPonte\r\n0551234\r\nMarch\r\n");
        book.close();
        writeAll(m.file(QStringLiteral("pmodem.ini")), " 1 \r\n");
        setPausePercent(m.rig->link, 20);
        ModemWindow* w = m.open();
        if (!w)
            return false;
        setPausePercent(m.rig->link, 10);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->connectAction->trigger();
        return QTest::qWaitFor([&] { return m.rig->console->isVisible(); }, 30000);
    }

private slots:
    void connectReadsTheParametersAndHandsOver_data()
    {
        QTest::addColumn<int>("model");
        QTest::newRow("vibrating wire") << 1;
        QTest::newRow("analog") << 0;
    }
    void connectReadsTheParametersAndHandsOver()
    {
        QFETCH(int, model);
        ModemRig m({"--model", QString::number(model), "--channels", "5,2,0,0"});
        QVERIFY(m.start());
        QVERIFY(call(m));
        ModemWindow* w = m.modem;
        ConsoleWindow* f = m.rig->console.get();

        const QStringList phase = {"LV210 GSM CONNECTED", "Reading internal parameters", "Sensors settings: OK",
                                   "Date and time: OK", "Timer: OK", "Preheating: OK", "Internal parameters: OK",
                                   "Memory: OK", "GPRS: OK", "Datalogger Name: OK", "Datalogger Model: OK",
                                   "Events counter: OK", "Acquisition status: OK"};
        const qsizetype at = m.statuses.indexOf(phase[0]);
        QVERIFY2(at > 0, qPrintable(m.statuses.join(" | ")));
        QCOMPARE(m.statuses.mid(at), phase);
        QVERIFY(m.statuses[at - 1].startsWith(QStringLiteral("CONNECT 9600")));

        // The reads went over the modem line into the console.
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SIM01"));
        QCOMPARE(f->channelCount(0), 5);
        QCOMPARE(f->channelCount(1), 2);
        QCOMPARE(f->dateTime->clockBoxes[2]->text(), QString::number(QDate::currentDate().year()));
        QCOMPARE(f->timers->timerBoxes[1]->text().toInt(), 10);
        QVERIFY(f->dateTime->acquisitionSwitch->isChecked());
        QCOMPARE(m.rig->datalogger.modelCode(), qint16(model));
        if (model == 0) {
            QCOMPARE(f->windowTitle(), QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"));
            QVERIFY(f->dataAcquisition->acquireTemperaturesButton->isHidden());
            QCOMPARE(f->dataAcquisition->acquireButton->text(), QStringLiteral("Acquire data"));
        } else {
            QVERIFY(!f->windowTitle().contains(QStringLiteral("MODEM")));
            QVERIFY(!f->dataAcquisition->acquireTemperaturesButton->isHidden());
        }

        // Today's date in the row dialled, and both files rewritten at once.
        QCOMPARE(w->lastConnectionBoxes[2]->text(), today());
        QCOMPARE(fileBytes(m.file("last.ini")).split('\n').value(2), (today() + "\r").toLatin1());
        QVERIFY(fileBytes(m.file("modem.ini")).contains("Ponte\r\n0551234\r\nMarch\r\n"));

        QVERIFY(!w->isVisible() && !w->isEnabled());
        QVERIFY(!w->pollTimer->isActive());
        QVERIFY(w->retryAction->isEnabled());
        QCOMPARE(f->dataAcquisition->dataFileNameBox->text(),
                 QStringLiteral("SIM01_") + QDate::currentDate().toString(QStringLiteral("dd_MM_yy")) + "_VW.txt");
        QCOMPARE(boxColour(f->dataAcquisition->dataFileNameBox), 0xFFFF);
    }

    // The fixed-length reading fills the console by position and hands over; a reply
    // that falls short ends it, keeping what had been written.
    void retryReadsFixedLengthReplies()
    {
        ModemRig m({"--channels", "3,0,0,0", "--timer", "3725"});
        QVERIFY(m.start());
        QVERIFY(call(m));
        ConsoleWindow* f = m.rig->console.get();
        for (QLineEdit* b : {f->general->nameBox, f->dateTime->clockBoxes[0], f->dateTime->clockBoxes[2], f->timers->timerBoxes[0], f->timers->timerBoxes[1],
                             f->timers->preheatingBox, f->general->nextAcquisitionBoxes[2], f->general->memoryFreeBox, f->general->memoryTotalBox})
            b->clear();
        m.rig->start->show();
        const int before = m.sim.commandCount();
        m.modem->retryAction->trigger();
        QCOMPARE(m.sim.commandsSince(before, "GCEHQNMTV"), (QStringList{"G,", "C,", "E,", "H,", "H,", "Q,", "N,", "M,", "T,"}));
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SIM01"));
        QCOMPARE(f->dateTime->clockBoxes[2]->text(), QString::number(QDate::currentDate().year()));
        QCOMPARE(f->dateTime->clockBoxes[0]->text().toInt(), QDate::currentDate().day());
        QCOMPARE(f->timers->timerBoxes[0]->text(), QStringLiteral("1"));
        QCOMPARE(f->timers->timerBoxes[1]->text(), QStringLiteral("2"));
        QVERIFY(!f->timers->preheatingBox->text().isEmpty());
        QVERIFY(f->general->nextAcquisitionBoxes[2]->text().toInt() >= 2000);
        QVERIFY(!f->general->memoryTotalBox->text().trimmed().isEmpty());
        QVERIFY(!m.rig->start->isVisible());
        QVERIFY(f->isVisible());
    }

    void retryEndsOnAShortReply()
    {
        ModemRig m({"--fault-silent-cmds", "T"});
        QVERIFY(m.start());
        QVERIFY(call(m));
        ConsoleWindow* f = m.rig->console.get();
        f->general->nameBox->clear();
        m.rig->start->show();
        tune(m.rig->link, [](Link::Settings& s) { s.fixedWaitTimeoutMs = 600; });
        m.modem->retryAction->trigger();
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SIM01"));  // read before the silence
        QCOMPARE(m.modem->status(), QStringLiteral("Retry stopped: incomplete answer to T"));
        QVERIFY(m.rig->start->isVisible());  // no hand-over
    }

    // A line end pasted into the number would end "ATD" and start a command of its own:
    // the number is refused, and only "atx0" reaches the modem.
    void aNumberHoldingALineEndIsNotDialled()
    {
        ModemRig m;
        QVERIFY(m.start());
        writeAll(m.file(QStringLiteral("pmodem.ini")), " 1 \r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        setPausePercent(m.rig->link, 10);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->numberBoxes[2]->setText(QStringLiteral("0551234\rATZ"));
        m.receivedSinceMark();
        w->connectAction->trigger();
        QCOMPARE(m.receivedSinceMark(), QByteArray("atx0\r"));
        QCOMPARE(m.dialogs.shown.size(), 1);
        QVERIFY(m.dialogs.shown[0].text.endsWith(QStringLiteral("Nothing was dialled.")));
        QVERIFY(!w->pollTimer->isActive());
    }

    // "Stop" on a line that is up: the escape after the guard time, then "ATH".
    void stopHangsUpAConnectedLine()
    {
        ModemRig m;
        QVERIFY(m.start());
        QVERIFY(call(m));
        QTest::qWait(100);  // the silence before the escape
        m.receivedSinceMark();
        m.modem->stopAction->trigger();
        QCOMPARE(m.receivedSinceMark(), QByteArray("+++ATH\r"));
        const QJsonObject modem = m.sim.state()["pty"].toObject()["modem"].toObject();
        QCOMPARE(modem["mode"].toString(), QStringLiteral("command"));
        QCOMPARE(modem["calls_ended"].toInt(), 1);
    }

    // The download's file over the modem line is the cable's, byte for byte (the time of
    // the download in its header aside).
    void memoryDownloadMatchesTheCable()
    {
        QTemporaryDir records;
        const QStringList simArgs = DownloadMatch::knownRecords(records);
        const QByteArray cable = DownloadMatch::overTheCable(simArgs);

        ModemRig m(simArgs);
        QVERIFY(m.start());
        QVERIFY(call(m));
        DownloadMatch::download(m.rig->console.get());
        const QByteArray overModem = fileBytes(m.file(DownloadMatch::fileName()));

        QVERIFY2(cable.count("\r\n") == 3 + 8, cable.constData());
        QCOMPARE(DownloadMatch::withoutDownloadTime(overModem), DownloadMatch::withoutDownloadTime(cable));
        QCOMPARE(overModem.size(), cable.size());
    }
};

QTEST_MAIN(TestModemConnection)
#include "tst_modem_connection.moc"
