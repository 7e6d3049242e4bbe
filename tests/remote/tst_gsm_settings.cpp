// The console's GSM, GPRS, e-mail and internet controls against the simulator: the bytes
// the datalogger received, what it stored, and the boxes afterwards.
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "widgets/box_colours.h"

#include <QCheckBox>
#include <QJsonArray>
#include <QPushButton>

class GsmSettingsTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    Form1* f = nullptr;

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
        Modulo1::link().pausePercent = 10;
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
        click(f, f->LEGGI_GSM);
        QCOMPARE(rig->sentSinceMark(), QByteArray("IF"));
        QCOMPARE(f->NUMERO_ALLARME_SMS[0]->text(), QStringLiteral("+393331234567"));
        QCOMPARE(f->NUMERO_ALLARME_SMS[9]->text(), QString());
        QCOMPARE(f->NUMERO_ALLARMI_SMS->text(), QStringLiteral("1"));
        QCOMPARE(f->NUMERO_ALLARME_TELEFONO->text(), QStringLiteral("+393331234567"));
        QVERIFY(!f->Abilita_SMS->isChecked() && !f->Abilita_Telefono->isChecked());
        for (QLineEdit* box : {f->NUMERO_ALLARME_SMS[0], f->NUMERO_ALLARME_SMS[9], f->NUMERO_ALLARMI_SMS,
                               f->NUMERO_ALLARME_TELEFONO})
            QCOMPARE(boxColour(box), BoxColour::PaleYellow);
        QTest::keyClicks(f->NUMERO_ALLARME_SMS[4], "3");
        QCOMPARE(boxColour(f->NUMERO_ALLARME_SMS[4]), BoxColour::Red);
        QVERIFY(f->LEGGI_GSM->isEnabled());
    }

    // Switches that come from "Write" travel with the blank of their sign position.
    void writeWithEverythingEmptySendsEmptyFields()
    {
        type(f->NUMERO_ALLARME_SMS, {});
        f->NUMERO_ALLARMI_SMS->clear();
        f->NUMERO_ALLARME_TELEFONO->clear();
        QVERIFY(!f->Abilita_SMS->isChecked() && !f->Abilita_Telefono->isChecked());
        click(f, f->SCRIVI_GSM);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i,,,,,,,,,,, 0,f, 0,IF"));
        const QJsonObject s = state();
        QCOMPARE(s["sms_numbers"].toArray()[0].toString(), QString());
        QCOMPARE(s["sms_count"].toString(), QString());
        QCOMPARE(s["call_number"].toString(), QString());
        QVERIFY(!s["sms_alert"].toBool());
        QCOMPARE(f->NUMERO_ALLARME_SMS[0]->text(), QString());  // read back
        QCOMPARE(boxColour(f->NUMERO_ALLARME_SMS[0]), BoxColour::PaleYellow);
    }

    // The state being changed goes out as a bare digit, the other one as it stands (with
    // its blank); the count goes out as typed, even above ten.
    void theSwitchesSendTheNewStateWithTheNumbers()
    {
        type(f->NUMERO_ALLARME_SMS, {" +391 ", "+392"});
        f->NUMERO_ALLARMI_SMS->setText("12");
        f->NUMERO_ALLARME_TELEFONO->setText("+3999");
        press(f->Abilita_SMS);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12,1,f+3999, 0,IF"));
        QJsonObject s = state();
        QVERIFY(s["sms_alert"].toBool());
        QCOMPARE(s["sms_numbers"].toArray()[0].toString(), QStringLiteral("+391"));
        QCOMPARE(s["sms_count"].toString(), QStringLiteral("12"));
        QVERIFY(f->Abilita_SMS->isChecked());  // what the datalogger answered

        press(f->Abilita_Telefono);
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12, 1,f+3999,1,IF"));
        s = state();
        QVERIFY(s["phone_alert"].toBool() && s["sms_alert"].toBool());
        QVERIFY(f->Abilita_Telefono->isChecked());

        press(f->Abilita_SMS);  // and off again
        QCOMPARE(rig->sentSinceMark(), QByteArray("i+391,+392,,,,,,,,,12,0,f+3999, 1,IF"));
        QVERIFY(!state()["sms_alert"].toBool());
        QVERIFY(!f->Abilita_SMS->isChecked());
    }

    // A comma would shift every later field on the datalogger: nothing goes out.
    void aCommaInANumberIsRefusedBeforeSending()
    {
        f->NUMERO_ALLARME_SMS[2]->setText("+39,333");
        click(f, f->SCRIVI_GSM);
        press(f->Abilita_SMS);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(),
                 QStringList(2, QStringLiteral("SMS number 3 cannot contain a comma. Nothing was written.")));
        f->NUMERO_ALLARME_SMS[2]->clear();
        f->NUMERO_ALLARME_TELEFONO->setText(QStringLiteral("+39\u20ac"));
        click(f, f->SCRIVI_GSM);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts().last(),
                 QStringLiteral("Phone number to call can only contain printable characters of the Latin-1 set. "
                                "Nothing was written."));
        QVERIFY(f->SCRIVI_GSM->isEnabled());
        f->NUMERO_ALLARME_TELEFONO->clear();
    }

    void eMailAndGsmSwitches()
    {
        press(f->EMAIL);
        QCOMPARE(rig->sentSinceMark(), QByteArray("y1,Y"));
        QVERIFY(state()["email"].toBool());
        QVERIFY(f->EMAIL->isChecked());

        // The GSM function has no read: the box shows what was sent, and the acquisition
        // switch is read again.
        press(f->Telefono);
        QCOMPARE(rig->sentSinceMark(), QByteArray("j1,O"));
        QVERIFY(state()["gsm"].toBool());
        QVERIFY(f->Telefono->isChecked());
        press(f->Telefono);
        QCOMPARE(rig->sentSinceMark(), QByteArray("j0,O"));
        QVERIFY(!state()["gsm"].toBool());
        QVERIFY(!f->Telefono->isChecked());
    }

    void gprsReadAndTrimmedWrite()
    {
        click(f, f->LeggiGPRS);
        QCOMPARE(rig->sentSinceMark(), QByteArray("K"));
        QCOMPARE(f->GPRS[2]->text(), QStringLiteral("internet.apn"));
        QCOMPARE(f->GPRS[9]->text(), QStringLiteral("0"));
        QCOMPARE(boxColour(f->GPRS[0]), BoxColour::Yellow);
        QTest::keyClicks(f->GPRS[3], "x");
        QCOMPARE(boxColour(f->GPRS[3]), BoxColour::Red);

        f->GPRS[3]->setText("  ftp.new.net ");
        click(f, f->ScriviGPRS);
        QCOMPARE(f->GPRS[3]->text(), QStringLiteral("ftp.new.net"));  // trimmed in the box itself
        QCOMPARE(rig->sentSinceMark(), QByteArray("kuser,pass,internet.apn,ftp.new.net,ftpuser,ftppass,data,21,1,0,"));
        QCOMPARE(state()["gprs"].toArray()[3].toString(), QStringLiteral("ftp.new.net"));
        QCOMPARE(boxColour(f->GPRS[3]), BoxColour::Yellow);

        f->GPRS[5]->setText("pa,ss");
        click(f, f->ScriviGPRS);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(rig->dialogs.texts(), QStringList{"FTP PASSWORD cannot contain a comma. Nothing was written."});
        QCOMPARE(f->GPRS[3]->text(), QStringLiteral("ftp.new.net"));
        QCOMPARE(state()["gprs"].toArray()[5].toString(), QStringLiteral("ftppass"));
    }

    void tickingTheInternetSwitchWritesAndReadsItBack()
    {
        showPageOf(f, f->chkWebAbilita);
        QVERIFY(!f->chkWebAbilita->isChecked());
        QTest::mouseClick(f->chkWebAbilita, Qt::LeftButton, {}, QPoint(8, f->chkWebAbilita->height() / 2));
        QCOMPARE(rig->sentSinceMark(), QByteArray("<1,>"));
        QVERIFY(state()["web"].toBool());
        QVERIFY(f->chkWebAbilita->isChecked());

        // A read that changes the box writes the state just read back and reads it again;
        // the second read finds the box unchanged and the round ends.
        {
            const QSignalBlocker block(f->chkWebAbilita);
            f->chkWebAbilita->setChecked(false);
        }
        click(f, f->cmdWebLeggi);
        QCOMPARE(rig->sentSinceMark(), QByteArray("><1,>"));
        QVERIFY(f->chkWebAbilita->isChecked());
        QVERIFY(state()["web"].toBool());
        QVERIFY(f->cmdWebLeggi->isEnabled());
    }
};

QTEST_MAIN(GsmSettingsTest)
#include "tst_gsm_settings.moc"
