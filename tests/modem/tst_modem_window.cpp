// The modem window against the simulator's modem: the port box's probe, readiness check
// and search, row and page selection, dialling, and its phone-book files.
#include "modem_rig.h"
#include "support/file_bytes.h"

#include "link/serial_port.h"
#include "modem/internet_window.h"
#include "widgets/box_colours.h"

#include <QAction>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

namespace {

void writeAll(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

} // namespace

class TestModemWindow : public QObject {
    Q_OBJECT

private slots:
    // Each press tries the next port; the probe of the number it leaves gives the verdict
    // and keeps the port where a modem answered.
    void lookupStepsThroughThePorts()
    {
        ModemRig m;
        QVERIFY(m.start());
        ModemWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->windowTitle(), QStringLiteral("GSM CONNECTION"));
        QCOMPARE(w->portBox->text(), QStringLiteral("0"));
        QCOMPARE(w->status(), QStringLiteral("Modem not found on this COM port"));

        QTest::mouseClick(w->modemLookupButton, Qt::LeftButton);
        QCOMPARE(w->portBox->text(), QStringLiteral(" 1"));
        QVERIFY2(w->status().startsWith(QStringLiteral("Modem Found on Com 1\r\nSIMULATED MODEM")), qPrintable(w->status()));
        QVERIFY(w->status().endsWith(QStringLiteral("OK\r\n\r")));
        QCOMPARE(fileBytes(m.file("pmodem.ini")), QByteArray(" 1 \r\n"));
        // The search's own look, then the probe's.
        QCOMPARE(m.receivedSinceMark(), QByteArray("ATE0\rATI3\rATE0\rATI3\r"));

        QTest::mouseClick(w->modemLookupButton, Qt::LeftButton);
        QCOMPARE(w->portBox->text(), QStringLiteral(" 2"));
        QCOMPARE(w->status(), QStringLiteral("Modem not found on this COM port"));
        QCOMPARE(fileBytes(m.file("pmodem.ini")), QByteArray(" 1 \r\n"));
        QVERIFY(w->portBox->isEnabled() && w->modemLookupButton->isEnabled());
    }

    // More than eight characters in answer to "ATI3" is a modem.
    void identificationLength_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("modem");
        QTest::newRow("8 characters") << "12345678" << false;
        QTest::newRow("9 characters") << "123456789" << true;
    }
    void identificationLength()
    {
        QFETCH(QString, answer);
        QFETCH(bool, modem);
        ModemRig m({"--ati3", answer});
        QVERIFY(m.start());
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->portBox->text(), QStringLiteral("1"));
        QCOMPARE(w->status(), modem ? QStringLiteral("Modem Found on Com 1") + answer + "\r"
                                    : QStringLiteral("Modem not found on this COM port"));
    }

    // A typed number: the port named before the key is checked, then the new one probed.
    void typingAPortNumber()
    {
        ModemRig m;
        QVERIFY(m.start());
        ModemWindow* w = m.open();
        QVERIFY(w);
        w->portBox->setFocus();
        w->portBox->selectAll();
        m.receivedSinceMark();
        m.statuses.clear();
        QTest::keyClicks(w->portBox, QStringLiteral("1"));
        QTRY_COMPARE_WITH_TIMEOUT(m.statuses.size(), 2, 5000);
        QCOMPARE(m.statuses[0], QStringLiteral("MODEM NOT READY"));  // port 0
        QVERIFY(m.statuses[1].startsWith(QStringLiteral("Modem Found on Com 1")));
        QCOMPARE(m.receivedSinceMark(), QByteArray("ATE0\rATI3\r"));
        // Now port 1 answers "AT".
        m.statuses.clear();
        QTest::keyClicks(w->portBox, QStringLiteral("0"));
        QTRY_COMPARE_WITH_TIMEOUT(m.statuses.size(), 2, 5000);
        QCOMPARE(m.statuses, (QStringList{"MODEM READY", "Modem not found on this COM port"}));
    }

    void pagesAndRowSelection()
    {
        ModemRig m;
        QVERIFY(m.start());
        ModemWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->pageButtons[6]->text(), QStringLiteral("61-70"));
        QTest::mouseClick(w->pageButtons[3], Qt::LeftButton);
        for (int p = 0; p < PhoneBookWindow::Pages; ++p)
            QCOMPARE(w->pageGroups[p]->isVisible(), p == 3);
        QVERIFY(!w->connectAction->isEnabled());
        QTest::mouseClick(w->selectButtons[34], Qt::LeftButton);
        QCOMPARE(w->selectedRow, qint16(34));
        QVERIFY(w->connectAction->isEnabled());
        QCOMPARE(boxColour(w->numberBoxes[34]), 255);
        QCOMPARE(boxColour(w->lastConnectionBoxes[34]), 255);
        QCOMPARE(boxColour(w->nameBoxes[0]), 0xFFFF);
        QCOMPARE(boxColour(w->expiryBoxes[69]), 0xFFFF);
    }

    // "atx0", then "ATD" and the number; a busy line ends the dialling with its status
    // instead of being polled until "Stop".
    void dialSendsTheNumberAndBusyEndsIt()
    {
        ModemRig m({"--dial-result", "BUSY"});
        QVERIFY(m.start());
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        writeAll(m.file("modem.ini"), "Ponte\r\n0551234\r\n\r\nDiga\r\n+39 333 7654321\r\n31/12\r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->numberBoxes[1]->text(), QStringLiteral("+39 333 7654321"));
        QTest::mouseClick(w->selectButtons[1], Qt::LeftButton);
        m.receivedSinceMark();
        w->connectAction->trigger();
        QVERIFY(w->stopAction->isEnabled());
        QVERIFY(w->pollTimer->isActive());
        QCOMPARE(m.receivedSinceMark(), QByteArray("atx0\rATD+39 333 7654321\r"));
        QTRY_COMPARE_WITH_TIMEOUT(w->status(), QStringLiteral("Call ended: BUSY"), 5000);
        QVERIFY(!w->pollTimer->isActive());
        QVERIFY(m.statuses.contains(QStringLiteral("OK\r\n")));  // the "OK" of "atx0", shown alone
        QCOMPARE(m.sim.state()["pty"].toObject()["modem"].toObject()["dialled"].toString(),
                 QStringLiteral("+39 333 7654321"));
    }

    // The first digit, the modem's dial pause, the rest; a number too short or empty.
    void downloadAndGoPausesAfterTheFirstDigit()
    {
        ModemRig m({"--dial-result", "NO CARRIER"});
        QVERIFY(m.start());
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        writeAll(m.file("modem.ini"), "A\r\n0551234\r\n\r\nB\r\n5\r\n\r\nC\r\n\r\n\r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        m.receivedSinceMark();
        w->dialWithPauseAction->trigger();  // no row selected: row 0
        QCOMPARE(m.receivedSinceMark(), QByteArray("atx0\rATD0,551234\r"));
        QTRY_COMPARE_WITH_TIMEOUT(w->status(), QStringLiteral("Call ended: NO CARRIER"), 5000);

        QTest::mouseClick(w->selectButtons[1], Qt::LeftButton);
        w->dialWithPauseAction->trigger();
        QCOMPARE(m.receivedSinceMark(), QByteArray("atx0\rATD5,\r"));
        QTRY_COMPARE_WITH_TIMEOUT(w->status(), QStringLiteral("Call ended: NO CARRIER"), 5000);

        QTest::mouseClick(w->selectButtons[2], Qt::LeftButton);
        w->dialWithPauseAction->trigger();
        QCOMPARE(m.receivedSinceMark(), QByteArray("atx0\r"));
        QVERIFY(!w->pollTimer->isActive());
        QVERIFY(w->stopAction->isEnabled());
    }

    // "Stop" while dialling: the escape, the guard time, "ATH"; the modem drops the call.
    void stopHangsUp()
    {
        ModemRig m({"--dial-ms", "3000"});
        QVERIFY(m.start());
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        writeAll(m.file("modem.ini"), "A\r\n0551234\r\n\r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        setPausePercent(m.rig->link, 10);
        QTest::mouseClick(w->selectButtons[0], Qt::LeftButton);
        w->connectAction->trigger();
        m.receivedSinceMark();
        w->stopAction->trigger();
        QCOMPARE(m.receivedSinceMark(), QByteArray("+++ATH\r"));
        QCOMPARE(m.sim.state()["pty"].toObject()["modem"].toObject()["mode"].toString(), QStringLiteral("command"));
    }

    // A name with a comma, a number that starts with a quote: saved and loaded back.
    void bookSurvivesSaveAndReload()
    {
        ModemRig m;
        QVERIFY(m.start());
        ModemWindow* w = m.open();
        QVERIFY(w);
        w->nameBoxes[0]->setText(QStringLiteral("Rossi, Mario"));
        w->numberBoxes[0]->setText(QStringLiteral("\"0551\" int. 2"));
        w->expiryBoxes[0]->setText(QStringLiteral("31/12/2027"));
        w->nameBoxes[69]->setText(QStringLiteral("Last"));
        w->lastConnectionBoxes[5]->setText(QStringLiteral("01/02/2026"));
        w->saveAction->trigger();
        QVERIFY(fileBytes(m.file("modem.ini")).startsWith("\"Rossi, Mario\"\r\n\"\"\"0551\"\" int. 2\"\r\n31/12/2027\r\n"));
        QCOMPARE(fileBytes(m.file("last.ini")).count("\r\n"), qsizetype(70));
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(m.rig->start->isVisible());

        ModemWindow* again = m.open();
        QVERIFY(again);
        for (int i = 0; i < 70; ++i)
            again->nameBoxes[i]->clear();
        again->load();
        QCOMPARE(again->nameBoxes[0]->text(), QStringLiteral("Rossi, Mario"));
        QCOMPARE(again->numberBoxes[0]->text(), QStringLiteral("\"0551\" int. 2"));
        QCOMPARE(again->expiryBoxes[0]->text(), QStringLiteral("31/12/2027"));
        QCOMPARE(again->nameBoxes[1]->text(), QString());
        QCOMPARE(again->nameBoxes[69]->text(), QStringLiteral("Last"));
        QCOMPARE(again->lastConnectionBoxes[5]->text(), QStringLiteral("01/02/2026"));
    }

    // A short book (the first run) loads what it has; the port, the placement and the
    // last-connection dates are read all the same.
    void shortBookStillOpensTheRest()
    {
        ModemRig m;
        QVERIFY(m.start());
        writeAll(m.file("modem.ini"), "Ponte\r\n0551234\r\n\r\nDiga\r\n");
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        writeAll(m.file("last.ini"), "07/12/2026\r\n\r\n08/12/2026\r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        QCOMPARE(w->nameBoxes[0]->text(), QStringLiteral("Ponte"));
        QCOMPARE(w->numberBoxes[0]->text(), QStringLiteral("0551234"));
        QCOMPARE(w->nameBoxes[1]->text(), QStringLiteral("Diga"));
        QCOMPARE(w->numberBoxes[1]->text(), QString());
        QCOMPARE(w->portBox->text(), QStringLiteral("1"));
        QVERIFY(w->status().startsWith(QStringLiteral("Modem Found on Com 1")));
        QCOMPARE(w->lastConnectionBoxes[0]->text(), QStringLiteral("07/12/2026"));
        QCOMPARE(w->lastConnectionBoxes[2]->text(), QStringLiteral("08/12/2026"));
    }

    // Closing gives the start window back and closes the port.
    void closingReturnsToTheStartWindow()
    {
        ModemRig m;
        QVERIFY(m.start());
        writeAll(m.file("pmodem.ini"), " 1 \r\n");
        ModemWindow* w = m.open();
        QVERIFY(w);
        QVERIFY(m.rig->link.serial()->isOpen());
        QVERIFY(m.rig->link.portHeldOpen() && !m.rig->link.isTcp());
        w->close();
        QVERIFY(!w->isVisible());
        QVERIFY(m.rig->start->isVisible());
        QVERIFY(!m.rig->link.serial()->isOpen());

        // With "Thrugh internet" the internet window opens on a link held open over TCP.
        m.rig->start->internetBox->setChecked(true);
        QTest::mouseClick(m.rig->start->modemButton, Qt::LeftButton);
        QVERIFY(visibleWindow<InternetWindow>());
        QVERIFY(m.rig->link.portHeldOpen() && m.rig->link.isTcp());
        QVERIFY(!w->isVisible());
    }
};

QTEST_MAIN(TestModemWindow)
#include "tst_modem_window.moc"
