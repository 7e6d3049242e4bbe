// The console's reads of name, clock, START time, timer, pre-heating, voltages and the
// next conversion date, and its closing, against the simulated datalogger.
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/read_now_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "widgets/box_colours.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "data/conversions.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

class ConsoleReads : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

    QByteArray logout(const QString& name)
    {
        QFile file(rig->folder.filePath(QStringLiteral("LOGOUT_") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--name", "SIM01", "--timer", "3725", "--fault-slow", "700:Q"});
        setPausePercent(rig->link, 10);  // no test here measures the pauses
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        f = rig->console.get();
        f->show();
    }
    void cleanupTestCase() { rig.reset(); }
    void init()
    {
        rig->dialogs.shown.clear();
        rig->setMark();
    }

    void readsFillTheBoxesInYellow()
    {
        click(f, f->general->readNameButton);
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SIM01"));
        QCOMPARE(boxColour(f->general->nameBox), BoxColour::Yellow);

        click(f, f->timers->readTimerButton);
        QCOMPARE(Numbers::leadingNumber(f->timers->timerBoxes[0]->text()), 1.0);
        QCOMPARE(Numbers::leadingNumber(f->timers->timerBoxes[1]->text()), 2.0);
        QCOMPARE(Numbers::leadingNumber(f->timers->timerBoxes[2]->text()), 5.0);
        QCOMPARE(boxColour(f->timers->timerBoxes[2]), BoxColour::Yellow);

        click(f, f->timers->readPreheatingButton);
        QVERIFY(Numbers::isNumeric(f->timers->preheatingBox->text()));
        QCOMPARE(boxColour(f->timers->preheatingBox), BoxColour::Yellow);

        click(f, f->readNow->readInternalParametersButton);
        const QRegularExpression voltage(QStringLiteral("^\\d\\d[.,]\\d\\d$"));
        for (QLineEdit* box : f->readNow->parameters)
            QVERIFY2(voltage.match(box->text()).hasMatch(), qPrintable(box->text()));
        QCOMPARE(rig->sentSinceMark(), QByteArray("QC,E,W"));
    }

    // Day, month and year as plain numbers, hour and minute with two digits.
    // Controls left enabled during an exchange must not start a second one inside it.
    void clicksDuringAnExchangeSendNothing()
    {
        QTimer::singleShot(300, f, [this] {
            click(f, f->dataAcquisition->eventsCounterButton);
            click(f, f->general->readNextAcquisitionButton);
            QTest::mouseClick(f->channels->eventsCounterSwitch, Qt::LeftButton);
        });
        click(f, f->general->readNameButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("Q"));
        QCOMPARE(f->general->nameBox->text(), QStringLiteral("SIM01"));
        QVERIFY(!f->channels->eventsCounterSwitch->isChecked());
        QVERIFY(f->dataAcquisition->eventsCounterBox->text().isEmpty());
    }

    void clockAndStartReadsUseTheirFormats()
    {
        click(f, f->dateTime->readClockButton);
        const QDate today = QDate::currentDate();
        QCOMPARE(f->dateTime->clockBoxes[2]->text(), QString::number(today.year()));
        QVERIFY(!f->dateTime->clockBoxes[1]->text().startsWith('0'));
        QCOMPARE(f->dateTime->clockBoxes[3]->text().size(), 2);
        QCOMPARE(f->dateTime->clockBoxes[4]->text().size(), 2);

        click(f, f->dateTime->readStartTimeButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("G,Y,"));
        QVERIFY(Numbers::leadingNumber(f->dateTime->startTimeBoxes[2]->text()) >= 2000);
        for (QLineEdit* box : f->dateTime->startTimeBoxes)
            QCOMPARE(boxColour(box), BoxColour::Yellow);
    }

    void nextConversionDateComesFromTheFixedBlock()
    {
        for (QLineEdit* box : f->general->nextAcquisitionBoxes)
            box->clear();
        click(f, f->general->readNextAcquisitionButton);
        QCOMPARE(rig->sentSinceMark(), QByteArray("D"));
        QVERIFY2(Numbers::leadingNumber(f->general->nextAcquisitionBoxes[2]->text()) >= 2000, qPrintable(f->general->nextAcquisitionBoxes[2]->text()));
        const double month = Numbers::leadingNumber(f->general->nextAcquisitionBoxes[1]->text());
        QVERIFY(month >= 1 && month <= 12);
        QVERIFY(Numbers::leadingNumber(f->general->nextAcquisitionBoxes[3]->text()) <= 23);
        QCOMPARE(f->general->nextAcquisitionBoxes[4]->text().size(), 2);
    }

    void closingWithOnlyOneSwitchTickedSendsNothing()
    {
        rig->newConsole();
        f = rig->console.get();
        f->dateTime->immediateConversionBox->setChecked(true);
        f->dateTime->acquisitionSwitch->setChecked(false);
        f->dataAcquisition->dataFileNameBox->setText(QStringLiteral("SIM01_01_02_25_VW.txt"));
        f->general->nameBox->setText(QStringLiteral("SIM01"));
        f->timers->timerBoxes[1]->setText(QStringLiteral("010"));
        f->timers->preheatingBox->setText(QStringLiteral("01500"));
        const int endsBefore = rig->programEnds;
        QVERIFY(f->close());
        QCOMPARE(rig->programEnds, endsBefore + 1);
        QCOMPARE(rig->sentSinceMark(), QByteArray());
        QCOMPARE(logout(QStringLiteral("SIM01_01_02_25_VW.txt")),
                 QByteArray("ID MICROLOGGER: SIM01\r\nPO ACQUISITION: \r\nAV ACQUISITION: \r\n"
                            "ACQ HOURS     : \r\nACQ MINUTES   : 010\r\nACQ SECONDS   : \r\n"
                            "PRE-HEATING   : 01500\r\n"));
        QVERIFY(rig->dialogs.shown.isEmpty());
    }

    // With both switches ticked the datalogger is told to go on converting by itself.
    void closingWithBothSwitchesSendsD()
    {
        QVERIFY(rig->link.probeSerialPort(1, false) == 1);
        rig->newConsole();
        f = rig->console.get();
        rig->setMark();
        f->dateTime->immediateConversionBox->setChecked(true);
        f->dateTime->acquisitionSwitch->setChecked(true);
        const int endsBefore = rig->programEnds;
        QVERIFY(f->close());
        QCOMPARE(rig->programEnds, endsBefore + 1);
        QCOMPARE(rig->sentSinceMark(), QByteArray("d0,0,0,0,0,"));
        QCOMPARE(rig->sim.state().value("last_d").toString(), QStringLiteral("0,0,0,0,0,"));
        // An empty data-file name gives the bare prefix.
        QVERIFY(logout(QString()).startsWith("ID MICROLOGGER: "));
    }
};

QTEST_MAIN(ConsoleReads)
#include "tst_console_reads.moc"
