// The console's reads of name, clock, START time, timer, pre-heating, voltages and the
// next conversion date, and its closing, against the simulated datalogger.
#include "widgets/box_colours.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "link/conversions.h"

#include <QCheckBox>
#include <QFile>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

class ConsoleReads : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    Form1* f = nullptr;

    QByteArray logout(const QString& name)
    {
        QFile file(rig->folder.filePath(QStringLiteral("LOGOUT_") + name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

private slots:
    void initTestCase()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--name", "SIM01", "--timer", "3725", "--fault-slow", "700:Q"});
        Modulo1::link().pausePercent = 10;  // no test here measures the pauses
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
        click(f, f->leggi_nome);
        QCOMPARE(f->Nome_Centralina->text(), QStringLiteral("SIM01"));
        QCOMPARE(boxColour(f->Nome_Centralina), BoxColour::Yellow);

        click(f, f->Command2);
        QCOMPARE(Conversioni::Val(f->conversione[0]->text()), 1.0);
        QCOMPARE(Conversioni::Val(f->conversione[1]->text()), 2.0);
        QCOMPARE(Conversioni::Val(f->conversione[2]->text()), 5.0);
        QCOMPARE(boxColour(f->conversione[2]), BoxColour::Yellow);

        click(f, f->preacc);
        QVERIFY(Conversioni::IsNumeric(f->preaccensione->text()));
        QCOMPARE(boxColour(f->preaccensione), BoxColour::Yellow);

        click(f, f->Status);
        const QRegularExpression voltage(QStringLiteral("^\\d\\d[.,]\\d\\d$"));
        for (QLineEdit* box : f->parameters)
            QVERIFY2(voltage.match(box->text()).hasMatch(), qPrintable(box->text()));
        QCOMPARE(rig->sentSinceMark(), QByteArray("QC,E,W"));
    }

    // Day, month and year as plain numbers, hour and minute with two digits.
    // Controls left enabled during an exchange must not start a second one inside it.
    void clicksDuringAnExchangeSendNothing()
    {
        QTimer::singleShot(300, f, [this] {
            click(f, f->CONTAIMP);
            click(f, f->leggiprox);
            QTest::mouseClick(f->PLUVIOMETRO, Qt::LeftButton);
        });
        click(f, f->leggi_nome);
        QCOMPARE(rig->sentSinceMark(), QByteArray("Q"));
        QCOMPARE(f->Nome_Centralina->text(), QStringLiteral("SIM01"));
        QVERIFY(!f->PLUVIOMETRO->isChecked());
        QVERIFY(f->Text2->text().isEmpty());
    }

    void clockAndStartReadsUseTheirFormats()
    {
        click(f, f->leggidata);
        const QDate today = QDate::currentDate();
        QCOMPARE(f->data[2]->text(), QString::number(today.year()));
        QVERIFY(!f->data[1]->text().startsWith('0'));
        QCOMPARE(f->data[3]->text().size(), 2);
        QCOMPARE(f->data[4]->text().size(), 2);

        click(f, f->LeggiDataAllarme);
        QCOMPARE(rig->sentSinceMark(), QByteArray("G,Y,"));
        QVERIFY(Conversioni::Val(f->data_allarme[2]->text()) >= 2000);
        for (QLineEdit* box : f->data_allarme)
            QCOMPARE(boxColour(box), BoxColour::Yellow);
    }

    void nextConversionDateComesFromTheFixedBlock()
    {
        for (QLineEdit* box : f->Prox)
            box->clear();
        click(f, f->leggiprox);
        QCOMPARE(rig->sentSinceMark(), QByteArray("D"));
        QVERIFY2(Conversioni::Val(f->Prox[2]->text()) >= 2000, qPrintable(f->Prox[2]->text()));
        const double month = Conversioni::Val(f->Prox[1]->text());
        QVERIFY(month >= 1 && month <= 12);
        QVERIFY(Conversioni::Val(f->Prox[3]->text()) <= 23);
        QCOMPARE(f->Prox[4]->text().size(), 2);
    }

    void closingWithOnlyOneSwitchTickedSendsNothing()
    {
        rig->newConsole();
        f = rig->console.get();
        f->Immediata->setChecked(true);
        f->data_logging->setChecked(false);
        f->Nome_File_Dati->setText(QStringLiteral("SIM01_01_02_25_VW.txt"));
        f->Nome_Centralina->setText(QStringLiteral("SIM01"));
        f->conversione[1]->setText(QStringLiteral("010"));
        f->preaccensione->setText(QStringLiteral("01500"));
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
        QVERIFY(Modulo1::Apri_Seriale(1) == 1);
        rig->newConsole();
        f = rig->console.get();
        rig->setMark();
        f->Immediata->setChecked(true);
        f->data_logging->setChecked(true);
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
