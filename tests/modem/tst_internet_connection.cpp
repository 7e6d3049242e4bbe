// The internet window against the simulator as FTP server and datalogger: "Connect"
// fetches the address with an account a URL could not carry and hands over to the
// console; address files that name no host stop before any connection; a server that
// never answers ends at the time-out or at "Stop" while the window stays alive; a
// datalogger that sends nothing ends at the field time-out, one that floods the window
// leaves it usable; "Stop", "Retry" and "Download and Go" on the internet; the FTP book is its owner's alone; a
// memory download over the internet writes the same file as over the cable.
#include "internet_rig.h"

#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "data/phone_book.h"
#include "link/telnet_client.h"
#include "support/download_match.h"
#include "support/peak_memory.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QDate>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>


namespace {

// The permission bits of a file, as the system keeps them.
int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestInternetConnection : public QObject {
    Q_OBJECT

private slots:
    void connectFetchesTheAddressAndHandsOver_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<QString>("addressFile");
        QTest::newRow("vibrating wire") << 1 << QString();  // the simulator's "127.0.0.1OK"
        QTest::newRow("analog, blank before OK") << 0 << QStringLiteral(" 127.0.0.1 OK");
    }
    void connectFetchesTheAddressAndHandsOver()
    {
        QFETCH(int, model);
        QFETCH(QString, addressFile);
        QStringList args = {"--model", QString::number(model), "--name", "PONTE"};
        if (!addressFile.isEmpty())
            args << "--ftp-address" << addressFile;
        InternetRig m(args);
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        // A copy an older version left behind is not read and does not stay.
        QFile stale(m.file(QStringLiteral("IPaddress.ip")));
        QVERIFY(stale.open(QIODevice::WriteOnly) && stale.write("10.9.9.9OK,\r\n") > 0);
        stale.close();
        InternetWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("Internet Connection"));
        QCOMPARE(w->lastConnectionBoxes[2]->text(), InternetRig::password);
        QVERIFY(m.connect());
        ConsoleWindow* f = m.rig->console.get();

        QCOMPARE(w->remoteAddress, QStringLiteral("127.0.0.1"));
        const QStringList phase = {"LV210 CONNECTED VIA INTERNET", "Datalogger Name: OK", "Modello Datalogger: OK",
                                   "Acquisition status: OK"};
        const qsizetype at = m.statuses.indexOf(phase[0]);
        QVERIFY2(at >= 2, qPrintable(m.statuses.join(" | ")));
        QCOMPARE(m.statuses.mid(at), phase);
        QCOMPARE(m.statuses[at - 2], QStringLiteral("Connecting to 127.0.0.1"));
        QCOMPARE(m.statuses[at - 1], QStringLiteral("CONNECT\r\n"));  // the greeting, less its CR LF

        // The closing message, once the console is up.
        QCOMPARE(m.dialogs.shown.size(), 1);
        QCOMPARE(m.dialogs.shown[0].title, QStringLiteral("WARNING"));
        QCOMPARE(m.dialogs.shown[0].text, InternetWindow::establishedMessage());

        // Name, model and acquisition status, then the internet settings; nothing else.
        QCOMPARE(m.sim.commandsSince(0, "QDOGCEHMTUKLV").mid(0, 3), (QStringList{"Q,", "D,", "O,"}));
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("PONTE"));
        QCOMPARE(m.rig->datalogger.modelCode(), qint16(model));
        QVERIFY(f->dateTime->acquisitionSwitch->isChecked());
        if (model == 0) {
            QCOMPARE(f->windowTitle(), QStringLiteral("LV210-LV420 VW DATALOGGER - MODEM"));
            QVERIFY(f->dataAcquisition->acquireTemperaturesButton->isHidden());
            QCOMPARE(f->dataAcquisition->acquireButton->text(), QStringLiteral("Acquire Data"));
        }
        QCOMPARE(f->dataAcquisition->dataFileNameBox->text(),
                 QStringLiteral("PONTE_") + QDate::currentDate().toString(QStringLiteral("dd_MM_yy")) + "_VW.txt");
        QCOMPARE(boxColour(f->dataAcquisition->dataFileNameBox), 0xFFFF);
        QVERIFY(!w->isVisible() && !w->isEnabled() && !w->pollTimer->isActive());
        QVERIFY(m.rig->link.isTcp());

        // Nothing of the address file on disk; the book rewritten for its owner alone.
        QVERIFY(!QFile::exists(m.file(QStringLiteral("IPaddress.ip"))));
        QCOMPARE(modeOf(m.file(QStringLiteral("ftp.ini"))), 0600);

        // Every console read now goes over the connection.
        const int before = m.sim.commandCount();
        click(f, f->dateTime->readClockButton);
        QCOMPARE(f->dateTime->clockBoxes[2]->text(), QString::number(QDate::currentDate().year()));
        QCOMPARE(m.sim.commandsSince(before, "G"), QStringList{"G,"});
        QCOMPARE(m.connections(), 1);
    }

    // Files that name no host, a file that is not there and a refused password stop with
    // their message; no connection is tried.
    void noAddressNoConnection_data()
    {
        QTest::addColumn<QString>("addressFile");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("directory");
        QTest::addColumn<QString>("message");
        const QString pw = InternetRig::password;
        const QString dir = InternetRig::directory;
        QTest::newRow("OK alone") << "OK" << pw << dir << "The address file holds an empty address.";
        QTest::newRow("no OK") << "127.0.0.1" << pw << dir << "its first field does not end with \"OK\"";
        QTest::newRow("not an address") << "127.0.0.1 & x OK" << pw << dir << "which is not an internet address";
        QTest::newRow("missing file") << "" << pw << "station 8" << "does not exist";
        QTest::newRow("wrong password") << "" << "p@ss:w" << dir << "530";
    }
    void noAddressNoConnection()
    {
        QFETCH(QString, addressFile);
        QFETCH(QString, password);
        QFETCH(QString, directory);
        QFETCH(QString, message);
        InternetRig m(addressFile.isEmpty() ? QStringList{} : QStringList{"--ftp-address", addressFile});
        QVERIFY(m.start());
        QVERIFY(m.writeBook({directory, m.site(), InternetRig::user, password}));
        InternetWindow* w = m.open();
        QVERIFY(w);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->connectAction->trigger();

        QCOMPARE(m.dialogs.shown.size(), 1);
        QVERIFY2(m.dialogs.shown[0].text.contains(message), qPrintable(m.dialogs.shown[0].text));
        QVERIFY(!m.dialogs.shown[0].text.contains(QStringLiteral("p@ss")));
        QVERIFY(w->remoteAddress.isEmpty());
        QVERIFY(!w->pollTimer->isActive());
        QVERIFY(!m.statuses.join('|').contains(QStringLiteral("Connecting to")));
        QTest::qWait(200);
        QCOMPARE(m.connections(), 0);
        QVERIFY(w->isVisible() && !m.rig->console->isVisible());
    }

    // A server that takes the connection and never answers ends at the time-out, and
    // sooner when "Stop" is pressed or the window closed; the window's events go on
    // meanwhile.
    void aMuteServerNeverHoldsTheWindow()
    {
        InternetRig m({"--fault-ftp-mute"});
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        InternetWindow* w = m.open();
        QVERIFY(w);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->ftpTotalTimeoutMs = 800;
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] {
            if (w->fetching())
                ++ticks;
        });
        ticker.start(50);
        QElapsedTimer clock;
        clock.start();
        w->connectAction->trigger();
        QVERIFY2(clock.elapsed() >= 700 && clock.elapsed() < 3000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY2(ticks >= 5, qPrintable(QString::number(ticks)));
        QCOMPARE(m.dialogs.shown.size(), 1);
        QVERIFY2(m.dialogs.shown[0].text.contains(QStringLiteral("imeout"))
                     || m.dialogs.shown[0].text.contains(QStringLiteral("timed out")),
                 qPrintable(m.dialogs.shown[0].text));
        QVERIFY(!w->pollTimer->isActive());

        // "Stop" while the transfer runs: no box, the window is free again at once.
        w->ftpTotalTimeoutMs = 60000;
        QVERIFY(w->stopAction->isEnabled());
        QTimer::singleShot(300, w, [w] { w->stopAction->trigger(); });
        clock.restart();
        w->connectAction->trigger();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(m.dialogs.shown.size(), 1);
        QCOMPARE(w->status(), QStringLiteral("The transfer was cancelled."));
        QVERIFY(!w->fetching() && !w->pollTimer->isActive());

        // Closing the window while the transfer runs ends it, then closes.
        QTimer::singleShot(300, w, [w] { w->close(); });
        clock.restart();
        w->connectAction->trigger();
        QVERIFY2(clock.elapsed() < 2000, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!w->isVisible() && m.rig->start->isVisible());
        QCOMPARE(m.dialogs.shown.size(), 1);
        QCOMPARE(m.connections(), 0);
    }

    // A datalogger that connects and stays silent keeps the poll waiting until "Stop"
    // closes the connection, or until the field time-out passes; "Download and Go"
    // connects as "Connect" does.
    void aSilentConnectionEndsAtStopOrAtTheFieldTimeOut()
    {
        InternetRig m({}, false);
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        InternetWindow* w = m.open();
        QVERIFY(w);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        setFieldTimeout(m.rig->link, 60000);
        w->dialWithPauseAction->trigger();
        QTRY_COMPARE(m.connections(), 1);
        QTest::qWait(400);
        QVERIFY(w->pollTimer->isActive());
        QCOMPARE(w->status(), QStringLiteral("Connecting to 127.0.0.1"));
        w->stopAction->trigger();
        QVERIFY(!w->pollTimer->isActive());
        QVERIFY(!m.rig->link.telnet()->isConnected());
        QCOMPARE(w->status(), QStringLiteral("Internet connection closed"));
        QVERIFY(!w->retryAction->isEnabled());

        setFieldTimeout(m.rig->link, 1500);
        QElapsedTimer waited;
        waited.start();
        w->connectAction->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(!w->pollTimer->isActive(), 10000);
        QVERIFY(waited.elapsed() >= 1500);
        QCOMPARE(w->status(), QStringLiteral("No data from the datalogger within 1.5 s: internet connection closed"));
        QCOMPARE(InternetWindow::noDataMessage(60000),
                 QStringLiteral("No data from the datalogger within 60 s: internet connection closed"));
        QCOMPARE(m.connections(), 2);
        QVERIFY(!m.rig->link.telnet()->isConnected());
        QVERIFY(m.dialogs.shown.isEmpty());
        QVERIFY(w->isVisible() && !m.rig->console->isVisible());
    }

    // A first burst of over a megabyte without a line end: the status shows a short,
    // printable start of it, memory stays bounded, the window goes on serving its
    // events, and "Stop" during the connected phase's first read ends it at once.
    void aFloodWithoutLineEndKeepsTheWindowUsable()
    {
        InternetRig m;
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        QTcpServer datalogger;
        QVERIFY(datalogger.listen(QHostAddress::LocalHost));
        tune(m.rig->link, [&](Link::Settings& s) { s.dataloggerTcpPort = datalogger.serverPort(); });
        setFieldTimeout(m.rig->link, 20000);
        const QByteArray start = "\r\nGREETING\x1b[2J";
        QByteArray flood = start;
        for (int i = 0; flood.size() < (3 << 19); ++i)
            flood += i % 13 ? char('a' + i % 26) : '\x07';
        InternetWindow* w = m.open();
        QVERIFY(w);

        const qint64 peakBefore = peakResidentBytes();
        QTcpSocket* peer = nullptr;
        QByteArray commands;
        QElapsedTimer sinceStop;
        QObject::connect(&datalogger, &QTcpServer::newConnection, [&] {
            peer = datalogger.nextPendingConnection();
            peer->write(flood);
            QObject::connect(peer, &QIODevice::readyRead, [&] {
                commands += peer->readAll();
                if (commands == "Q" && !sinceStop.isValid()) {
                    sinceStop.start();
                    QTimer::singleShot(0, w->stopAction, &QAction::trigger);
                }
            });
        });
        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(50);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->connectAction->trigger();
        QTRY_VERIFY_WITH_TIMEOUT(m.statuses.contains(QStringLiteral("Internet connection closed")), 15000);
        const qint64 stopTook = sinceStop.elapsed();
        const double grewMb = peakGrowthMb(peakBefore);
        qInfo("flood of %lld bytes: peak memory grew %.1f MB; stop took %lld ms", qint64(flood.size()), grewMb,
              stopTook);

        const qsizetype at = m.statuses.indexOf(QStringLiteral("LV210 CONNECTED VIA INTERNET"));
        QVERIFY2(at >= 1, qPrintable(m.statuses.join(" | ").left(500)));
        const QString shown = m.statuses[at - 1];
        QVERIFY2(shown.startsWith(QStringLiteral("GREETING?[2J")) && shown.endsWith(QStringLiteral("...")),
                 qPrintable(shown));
        QVERIFY(shown.size() <= 90);
        QVERIFY(std::all_of(shown.begin(), shown.end(), [](QChar c) { return c.isPrint(); }));
        QVERIFY2(grewMb < 64, qPrintable(QString::number(grewMb)));
        QVERIFY(ticks >= 4);

        // "Stop" in the middle of the name's read: nothing more is sent or handed over.
        QVERIFY2(stopTook < 1000, qPrintable(QString::number(stopTook)));
        QCOMPARE(m.statuses.last(), QStringLiteral("Internet connection closed"));
        QCOMPARE(commands, QByteArray("Q"));
        QVERIFY(!m.rig->link.telnet()->isConnected() && !w->pollTimer->isActive());
        QVERIFY(!m.rig->link.exchangesAbandoned());
        QVERIFY(w->isVisible() && !m.rig->console->isVisible());
        QVERIFY(m.dialogs.shown.isEmpty());
    }

    // "Retry" connects again to the same address and reads once more.
    void retryConnectsAgain()
    {
        InternetRig m;
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        QVERIFY(m.open());
        QVERIFY(m.connect());
        InternetWindow* w = m.window;
        QVERIFY(w->retryAction->isEnabled());
        m.rig->console->hide();
        m.statuses.clear();
        w->retryAction->trigger();
        QVERIFY(QTest::qWaitFor([&] { return m.rig->console->isVisible(); }, 10000));
        QCOMPARE(m.connections(), 2);
        QCOMPARE(m.statuses.mid(0, 2), (QStringList{"Trying again...", "Connecting to 127.0.0.1"}));
        QVERIFY(m.statuses.contains(QStringLiteral("Acquisition status: OK")));
        QCOMPARE(m.dialogs.shown.size(), 2);
    }

    // No datalogger behind the address: the refusal ends the wait.
    void aRefusedConnectionEndsTheWait()
    {
        InternetRig m;
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        tune(m.rig->link, [&](Link::Settings& s) { s.dataloggerTcpPort = closed.serverPort(); });
        closed.close();  // nothing listens there now
        InternetWindow* w = m.open();
        QVERIFY(w);
        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->connectAction->trigger();
        QTRY_VERIFY(!w->pollTimer->isActive());
        QVERIFY2(w->status().startsWith(QStringLiteral("No connection to 127.0.0.1: ")), qPrintable(w->status()));
        QVERIFY(!m.rig->console->isVisible());
    }

    // "Save data": every value comes back whole, and no one else may read the passwords,
    // even when the file was readable by others before.
    void theBookIsPrivateAndKeepsEveryValue()
    {
        InternetRig m;
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        const QString path = m.file(QStringLiteral("ftp.ini"));
        QVERIFY(::chmod(QFile::encodeName(path).constData(), 0644) == 0);
        InternetWindow* w = m.open();
        QVERIFY(w);
        w->nameBoxes[69]->setText(QStringLiteral("north, upper"));
        w->numberBoxes[69]->setText(QStringLiteral("ftp.example.net"));
        w->expiryBoxes[69]->setText(QStringLiteral("\"quoted\" user"));
        w->lastConnectionBoxes[69]->setText(QStringLiteral("a,b\"c"));
        QVERIFY(w->save());
        QCOMPARE(modeOf(path), 0600);

        InternetWindow again(m.rig->testLink.services, m.rig->console.get());
        again.load();
        QCOMPARE(again.nameBoxes[69]->text(), QStringLiteral("north, upper"));
        QCOMPARE(again.expiryBoxes[69]->text(), QStringLiteral("\"quoted\" user"));
        QCOMPARE(again.lastConnectionBoxes[69]->text(), QStringLiteral("a,b\"c"));
        QCOMPARE(again.lastConnectionBoxes[2]->text(), InternetRig::password);
        QCOMPARE(PhoneBook::readBook(path, 280).values.size(), 280);
    }

    // The download's file over the internet is the cable's, byte for byte (the time of
    // the download in its header aside).
    void memoryDownloadMatchesTheCable()
    {
        QTemporaryDir records;
        const QStringList simArgs = DownloadMatch::knownRecords(records);
        const QByteArray cable = DownloadMatch::overTheCable(simArgs);

        InternetRig m(simArgs + QStringList{"--name", "SIM01"});
        QVERIFY(m.start());
        QVERIFY(m.writeBook());
        QVERIFY(m.open());
        QVERIFY(m.connect());
        ConsoleWindow* f = m.rig->console.get();
        click(f, f->channels->readChannelsButton);
        DownloadMatch::download(f);
        const QByteArray overInternet = fileBytes(m.file(DownloadMatch::fileName()));

        QVERIFY2(cable.count("\r\n") == 3 + 8, cable.constData());
        QCOMPARE(DownloadMatch::withoutDownloadTime(overInternet), DownloadMatch::withoutDownloadTime(cable));
        QCOMPARE(overInternet.size(), cable.size());
    }
};

QTEST_MAIN(TestInternetConnection)
#include "tst_internet_connection.moc"
