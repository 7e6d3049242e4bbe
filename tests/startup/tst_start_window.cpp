// The start window without a datalogger: what it preselects from the settings file, the
// buttons that refuse before probing, the modem button, closing, the splash, the about box.
#include "start_rig.h"
#include "support/scripted_dialogs.h"

#include "widgets/box_colours.h"
#include "console/info.h"
#include "link/serial_port.h"
#include "link/telnet_tty_client.h"
#include "data/data_file_name.h"
#include "startup/ini.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString firstStatus = QStringLiteral("Select a COM port, connect the cable and click Connect.");

int checkedOption(const Form2& w)
{
    for (int i = 0; i < 8; ++i)
        if (w.Option1[i]->isChecked())
            return i;
    return -1;
}

} // namespace

class StartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }
    void cleanup() { ProgramFolder::setOverride(QString()); }

    void loadPreselectsTheSavedPort_data()
    {
        QTest::addColumn<QByteArray>("content");  // "-" : no file at all
        QTest::addColumn<int>("checked");
        QTest::addColumn<QString>("status");
        QTest::newRow("first run") << QByteArray("-") << -1 << QStringLiteral("Select a RS232");
        QTest::newRow("empty file") << QByteArray("") << -1 << QStringLiteral("Select a RS232");
        QTest::newRow("COM 3") << QByteArray(" 3 \r\n") << 2 << firstStatus;
        QTest::newRow("last of several lines") << QByteArray(" 2 \r\n 4 \r\n") << 3 << firstStatus;
        QTest::newRow("comma separated") << QByteArray("4,1") << 0 << firstStatus;
        QTest::newRow("COM 7 is not preselected") << QByteArray(" 7 \r\n") << -1 << firstStatus;
        QTest::newRow("not a number") << QByteArray("COM2\r\n") << -1 << firstStatus;
    }
    void loadPreselectsTheSavedPort()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, checked);
        QFETCH(QString, status);
        const QString ini = folder->filePath(QStringLiteral("rk550.ini"));
        if (content != "-") {
            QFile f(ini);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        StartRig rig(folder->path());
        QCOMPARE(rig.start->IniPath, ini);
        QVERIFY(QFile::exists(ini));
        QCOMPARE(checkedOption(*rig.start), checked);
        QCOMPARE(rig.start->Label2->text(), status);
        QVERIFY(!Modulo1::link().PortHeldOpen);
    }

    void portOptionsShowTheirDevices()
    {
        StartRig rig(folder->path(), {QStringLiteral("/dev/pts/77"), QStringLiteral("/tmp/sim-tty")});
        QCOMPARE(rig.start->windowTitle(), QStringLiteral("Quorvel"));
        QCOMPARE(rig.start->Option1[0]->text(), QStringLiteral("COM 1"));
        QCOMPARE(rig.start->Option1[7]->text(), QStringLiteral("COM 8"));
        QCOMPARE(rig.start->Option1[0]->toolTip(), QStringLiteral("/dev/pts/77"));
        QCOMPARE(rig.start->Option1[1]->toolTip(), QStringLiteral("/tmp/sim-tty"));
        QCOMPARE(rig.start->Option1[4]->objectName(), QStringLiteral("Option1_4"));
    }

    // These checks come before any probe: nothing is opened and nothing is saved.
    void buttonsRefuseWithoutAUsablePort()
    {
        StartRig rig(folder->path());
        const QString ini = rig.start->IniPath;
        QTest::mouseClick(rig.start->Command1, Qt::LeftButton);
        QCOMPARE(rig.start->Label2->text(), QStringLiteral("Select a COM port!"));

        rig.start->Option1[4]->setChecked(true);  // COM 5: only "Connect" takes it
        QTest::mouseClick(rig.start->No_conn, Qt::LeftButton);
        QCOMPARE(rig.start->Label2->text(), QStringLiteral("No selected channel!"));
        QTest::mouseClick(rig.start->Command3, Qt::LeftButton);
        QCOMPARE(rig.start->Label2->text(), QStringLiteral("No channels enabled!"));

        QVERIFY(!Modulo1::serial()->isOpen());
        QVERIFY(!Modulo1::link().PortHeldOpen);
        QCOMPARE(QFileInfo(ini).size(), qint64(0));
    }

    void modemButtonChoosesTheLinkAndKeepsTheWindow()
    {
        StartRig rig(folder->path());
        rig.start->show();
        QList<bool> opened;
        rig.start->openModemWindow = [&](bool internet) { opened << internet; };

        rig.start->chkTCP->setChecked(true);
        QTest::mouseClick(rig.start->Command2, Qt::LeftButton);
        QVERIFY(Modulo1::linkIsTcp());
        QVERIFY(Modulo1::link().PortHeldOpen);

        rig.start->chkTCP->setChecked(false);
        QTest::mouseClick(rig.start->Command2, Qt::LeftButton);
        QVERIFY(!Modulo1::linkIsTcp());
        QCOMPARE(opened, (QList<bool>{true, false}));
        QVERIFY(rig.start->isVisible());

        // Without the modem windows the operator is told, and the cable link stays.
        rig.start->openModemWindow = nullptr;
        rig.start->chkTCP->setChecked(true);
        QTest::mouseClick(rig.start->Command2, Qt::LeftButton);
        QVERIFY(rig.start->Label2->text().contains(QStringLiteral("not available")));
        QVERIFY(!Modulo1::linkIsTcp());
    }

    void gsmBoxSetsTheLinkSpeedChoice()
    {
        StartRig rig(folder->path());
        rig.start->show();
        QTest::mouseClick(rig.start->GSM, Qt::LeftButton);
        QVERIFY(Modulo1::link().GsmSelected);
        QTest::mouseClick(rig.start->GSM, Qt::LeftButton);
        QVERIFY(!Modulo1::link().GsmSelected);
    }

    void telnetErrorsAreShownWithTheirNumber()
    {
        ScriptedDialogs script;
        StartRig rig(folder->path());
        emit Modulo1::telnet()->Error(10061, QStringLiteral("Connection refused"));
        QCOMPARE(script.texts(), QStringList{QStringLiteral("10061 Connection refused")});
    }

    void closingTheStartWindowEndsTheProgram()
    {
        StartRig rig(folder->path());
        rig.start->show();
        rig.start->close();
        QCOMPARE(rig.programEnds, 1);
    }

    void splashShowsTheStartWindowAfterItsTime()
    {
        StartRig rig(folder->path());
        Ini splash(rig.start.get());
        QCOMPARE(splash.size(), rig.start->size());
        QSignalSpy finished(&splash, &Ini::finished);
        QElapsedTimer t;
        t.start();
        splash.start();
        QVERIFY(splash.isVisible());
        QVERIFY(!rig.start->isVisible());
        QVERIFY(finished.wait(4000));
        QVERIFY(t.elapsed() >= Ini::shownMs);
        QVERIFY(rig.start->isVisible());
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.isEnabled());
    }

    void aboutBoxTexts()
    {
        ScriptedDialogs script;
        Info info;
        QCOMPARE(info.windowTitle(), QStringLiteral("Informazioni su ") + QGuiApplication::applicationDisplayName());
        QCOMPARE(info.lblTitle->text(), QGuiApplication::applicationDisplayName());
        QCOMPARE(Info::versionText(1, 0, 12), QStringLiteral("Versione  1. 0. 12"));
        QVERIFY(info.lblVersion->text().startsWith(QStringLiteral("Versione  ")));
        QCOMPARE(info.cmdSysInfo->text(), QStringLiteral("&System Info..."));
        QCOMPARE(info.lblFolder->text(), QStringLiteral("Program folder: ") + ProgramFolder::path());

        info.systemInfoPrograms = {QStringLiteral("no-such-system-information-program")};
        QTest::mouseClick(info.cmdSysInfo, Qt::LeftButton);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Information not available at the moment.")});

        info.systemInfoPrograms = {QStringLiteral("no-such-program"), QStringLiteral("true")};
        QTest::mouseClick(info.cmdSysInfo, Qt::LeftButton);
        QCOMPARE(script.shown.size(), 1);
    }

    void dataFileNameFromTheDate_data()
    {
        QTest::addColumn<QString>("id");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("name");
        QTest::newRow("day first") << "ABC" << QDate(2015, 3, 7) << "ABC_07_03_15_VW.txt";
        QTest::newRow("year 2000") << "SIM01" << QDate(2000, 12, 31) << "SIM01_31_12_00_VW.txt";
        QTest::newRow("empty ID") << "" << QDate(2024, 1, 2) << "_02_01_24_VW.txt";
        QTest::newRow("time-out mark") << "%%" << QDate(2024, 1, 2) << "%%_02_01_24_VW.txt";
        QTest::newRow("separators stay in the folder") << "../up\\x" << QDate(2024, 1, 2)
                                                       << ".._up_x_02_01_24_VW.txt";
    }
    void dataFileNameFromTheDate()
    {
        QFETCH(QString, id);
        QFETCH(QDate, date);
        QFETCH(QString, name);
        QCOMPARE(suggestedDataFileName(id, date), name);
    }

private:
    std::unique_ptr<QTemporaryDir> folder;
};

QTEST_MAIN(StartWindowTest)
#include "tst_start_window.moc"
