// The console's GSM, GPRS, e-mail and internet controls against the simulator: the bytes
// the datalogger received, what it stored, and the boxes afterwards.
#include "console/alerts_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/gprs_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "widgets/box_colours.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QPushButton>

class GsmSettingsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

    QJsonObject state() { return rig->sim.state(); }

    void press(SwitchBox* box)
    {
        showPageOf(f, box);
        QTest::mouseClick(box, Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>();
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        setPausePercent(rig->link, 10);
        f = rig->console.get();
        f->show();
    }
    void cleanupTestCase() { rig.reset(); }
    void init()
    {
        rig->dialogs.shown.clear();
        rig->setMark();
    }

    void readFillsTheGsmBoxesPaleYellow()
    {
        click(f, f->alerts->readGsmButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("IF"));
        QCOMPARE(f->alerts->smsNumberBoxes[0]->text(), QStringLiteral("+393331234567"));
        QCOMPARE(f->alerts->smsNumberBoxes[9]->text(), QString());
        QCOMPARE(f->alerts->smsCountBox->text(), QStringLiteral("1"));
        QCOMPARE(f->alerts->phoneNumberBox->text(), QStringLiteral("+393331234567"));
        QVERIFY(!f->alerts->smsAlertSwitch->isChecked() && !f->alerts->phoneAlertSwitch->isChecked());
        for (QLineEdit* box : {f->alerts->smsNumberBoxes[0], f->alerts->smsNumberBoxes[9], f->alerts->smsCountBox,
                               f->alerts->phoneNumberBox})
            QCOMPARE(boxColour(box), BoxColour::PaleYellow);
        QTest::keyClicks(f->alerts->smsNumberBoxes[4], "3");
        QCOMPARE(boxColour(f->alerts->smsNumberBoxes[4]), BoxColour::Red);
        QVERIFY(f->alerts->readGsmButton->isEnabled());
    }

    // Switches that come from "Write" travel with the blank of their sign position.
    void writeWithEverythingEmptySendsEmptyFields()
    {
        type(f->alerts->smsNumberBoxes, {});
        f->alerts->smsCountBox->clear();
        f->alerts->phoneNumberBox->clear();
        QVERIFY(!f->alerts->smsAlertSwitch->isChecked() && !f->alerts->phoneAlertSwitch->isChecked());
        click(f, f->alerts->writeGsmButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i,,,,,,,,,,, 0,f, 0,IF"));
        const QJsonObject s = state();
        QCOMPARE(s["sms_numbers"].toArray()[0].toString(), QString());
        QCOMPARE(s["sms_count"].toString(), QString());
        QCOMPARE(s["call_number"].toString(), QString());
        QVERIFY(!s["sms_alert"].toBool());
        QCOMPARE(f->alerts->smsNumberBoxes[0]->text(), QString());  // read back
        QCOMPARE(boxColour(f->alerts->smsNumberBoxes[0]), BoxColour::PaleYellow);
    }

    // The state being changed goes out as a bare digit, the other one as it stands (with
    // its blank); the count goes out as typed, even above ten.
    void theSwitchesSendTheNewStateWithTheNumbers()
    {
        type(f->alerts->smsNumberBoxes, {" +391 ", "+392"});
        f->alerts->smsCountBox->setText("12");
        f->alerts->phoneNumberBox->setText("+3999");
        press(f->alerts->smsAlertSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12,1,f+3999, 0,IF"));
        QJsonObject s = state();
        QVERIFY(s["sms_alert"].toBool());
        QCOMPARE(s["sms_numbers"].toArray()[0].toString(), QStringLiteral("+391"));
        QCOMPARE(s["sms_count"].toString(), QStringLiteral("12"));
        QVERIFY(f->alerts->smsAlertSwitch->isChecked());  // what the datalogger answered

        press(f->alerts->phoneAlertSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12, 1,f+3999,1,IF"));
        s = state();
        QVERIFY(s["phone_alert"].toBool() && s["sms_alert"].toBool());
        QVERIFY(f->alerts->phoneAlertSwitch->isChecked());

        press(f->alerts->smsAlertSwitch);  // and off again
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12,0,f+3999, 1,IF"));
        QVERIFY(!state()["sms_alert"].toBool());
        QVERIFY(!f->alerts->smsAlertSwitch->isChecked());
    }

    // A comma would shift every later field on the datalogger: nothing goes out.
    void aCommaInANumberIsRefusedBeforeSending()
    {
        f->alerts->smsNumberBoxes[2]->setText("+39,333");
        click(f, f->alerts->writeGsmButton);
        press(f->alerts->smsAlertSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(),
                 QStringList(2, QStringLiteral("SMS number 3 cannot contain a comma. Nothing was written.")));
        f->alerts->smsNumberBoxes[2]->clear();
        f->alerts->phoneNumberBox->setText(QStringLiteral("+39\u20ac"));
        click(f, f->alerts->writeGsmButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts().last(),
                 QStringLiteral("Phone number to call can only contain printable characters of the Latin-1 set. "
                                "Nothing was written."));
        QVERIFY(f->alerts->writeGsmButton->isEnabled());
        f->alerts->phoneNumberBox->clear();
    }

    void eMailAndGsmSwitches()
    {
        press(f->alerts->emailSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray("y1,Y"));
        QVERIFY(state()["email"].toBool());
        QVERIFY(f->alerts->emailSwitch->isChecked());

        // The GSM function has no read: the box shows what was sent, and the acquisition
        // switch is read again.
        press(f->dateTime->gsmSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray("j1,O"));
        QVERIFY(state()["gsm"].toBool());
        QVERIFY(f->dateTime->gsmSwitch->isChecked());
        press(f->dateTime->gsmSwitch);
        QCOMPARE(rig->sentSinceMark(), QByteArray("j0,O"));
        QVERIFY(!state()["gsm"].toBool());
        QVERIFY(!f->dateTime->gsmSwitch->isChecked());
    }

    void gprsReadAndTrimmedWrite()
    {
        click(f, f->gprs->readButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("K"));
        QCOMPARE(f->gprs->boxes[2]->text(), QStringLiteral("internet.apn"));
        QCOMPARE(f->gprs->boxes[9]->text(), QStringLiteral("0"));
        QCOMPARE(boxColour(f->gprs->boxes[0]), BoxColour::Yellow);
        QTest::keyClicks(f->gprs->boxes[3], "x");
        QCOMPARE(boxColour(f->gprs->boxes[3]), BoxColour::Red);

        f->gprs->boxes[3]->setText("  ftp.new.net ");
        click(f, f->gprs->writeButton);
        QCOMPARE(f->gprs->boxes[3]->text(), QStringLiteral("ftp.new.net"));  // trimmed in the box itself
        QCOMPARE(rig->sentSinceMark(), QByteArray("kuser,pass,internet.apn,ftp.new.net,ftpuser,ftppass,data,21,1,0,"));
        QCOMPARE(state()["gprs"].toArray()[3].toString(), QStringLiteral("ftp.new.net"));
        QCOMPARE(boxColour(f->gprs->boxes[3]), BoxColour::Yellow);

        f->gprs->boxes[5]->setText("pa,ss");
        click(f, f->gprs->writeButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"FTP PASSWORD cannot contain a comma. Nothing was written."});
        QCOMPARE(f->gprs->boxes[3]->text(), QStringLiteral("ftp.new.net"));
        QCOMPARE(state()["gprs"].toArray()[5].toString(), QStringLiteral("ftppass"));
    }

    void tickingTheInternetSwitchWritesAndReadsItBack()
    {
        showPageOf(f, f->general->internetSwitchBox);
        QVERIFY(!f->general->internetSwitchBox->isChecked());
        QTest::mouseClick(f->general->internetSwitchBox, Qt::LeftButton, {}, QPoint(8, f->general->internetSwitchBox->height() / 2));
        QCOMPARE(rig->sentSinceMark(), QByteArray("<1,>"));
        QVERIFY(state()["web"].toBool());
        QVERIFY(f->general->internetSwitchBox->isChecked());

        // A read that changes the box writes the state just read back and reads it again;
        // the second read finds the box unchanged and the round ends.
        {
            const QSignalBlocker block(f->general->internetSwitchBox);
            f->general->internetSwitchBox->setChecked(false);
        }
        click(f, f->general->readInternetSwitchButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("><1,>"));
        QVERIFY(f->general->internetSwitchBox->isChecked());
        QVERIFY(state()["web"].toBool());
        QVERIFY(f->general->readInternetSwitchButton->isEnabled());
    }
};

QTEST_MAIN(GsmSettingsTest)
#include "tst_gsm_settings.moc"
