// The start window without a datalogger: what it preselects from the settings file, the
// buttons that refuse before probing, the modem button, closing, the splash, the about box.
#include "start_rig.h"
#include "support/scripted_dialogs.h"

#include "widgets/box_colours.h"
#include "console/about_box.h"
#include "link/serial_port.h"
#include "link/telnet_client.h"
#include "data/data_file_name.h"
#include "startup/splash.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString firstStatus = QStringLiteral("Select a COM port, connect the cable and click Connect.");

int checkedOption(const StartWindow& w)
{
    for (int i = 0; i < 8; ++i)
        if (w.portOptions[i]->isChecked())
            return i;
    return -1;
}

} // namespace

class StartWindowTest : public QObject {
    Q_OBJECT

private slots:
    void init() { folder = std::make_unique<QTemporaryDir>(); }

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
        QCOMPARE(rig.start->settingsPath, ini);
        QVERIFY(QFile::exists(ini));
        QCOMPARE(checkedOption(*rig.start), checked);
        QCOMPARE(rig.start->statusLine->text(), status);
        QVERIFY(!rig.link.portHeldOpen());
    }

    void portOptionsShowTheirDevices()
    {
        StartRig rig(folder->path(), {QStringLiteral("/dev/pts/77"), QStringLiteral("/tmp/sim-tty")});
        QCOMPARE(rig.start->windowTitle(), QStringLiteral("Quorvel"));
        QCOMPARE(rig.start->portOptions[0]->text(), QStringLiteral("COM 1"));
        QCOMPARE(rig.start->portOptions[7]->text(), QStringLiteral("COM 8"));
        QCOMPARE(rig.start->portOptions[0]->toolTip(), QStringLiteral("/dev/pts/77"));
        QCOMPARE(rig.start->portOptions[1]->toolTip(), QStringLiteral("/tmp/sim-tty"));
        QCOMPARE(rig.start->portOptions[4]->objectName(), QStringLiteral("Option1_4"));
    }

    // These checks come before any probe: nothing is opened and nothing is saved.
    void buttonsRefuseWithoutAUsablePort()
    {
        StartRig rig(folder->path());
        const QString ini = rig.start->settingsPath;
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);
        QCOMPARE(rig.start->statusLine->text(), QStringLiteral("Select a COM port!"));

        rig.start->portOptions[4]->setChecked(true);  // COM 5: only "Connect" takes it
        QTest::mouseClick(rig.start->stepByStepButton, Qt::LeftButton);
        QCOMPARE(rig.start->statusLine->text(), QStringLiteral("No selected channel!"));
        QTest::mouseClick(rig.start->resetButton, Qt::LeftButton);
        QCOMPARE(rig.start->statusLine->text(), QStringLiteral("No channels enabled!"));

        QVERIFY(!rig.link.serial()->isOpen());
        QVERIFY(!rig.link.portHeldOpen());
        QCOMPARE(QFileInfo(ini).size(), qint64(0));
    }

    void modemButtonChoosesTheLinkAndKeepsTheWindow()
    {
        StartRig rig(folder->path());
        rig.start->show();
        QList<bool> opened;
        rig.start->openModemWindow = [&](bool internet) { opened << internet; };

        rig.start->internetBox->setChecked(true);
        QTest::mouseClick(rig.start->modemButton, Qt::LeftButton);
        QVERIFY(rig.link.isTcp());
        QVERIFY(rig.link.portHeldOpen());

        rig.start->internetBox->setChecked(false);
        QTest::mouseClick(rig.start->modemButton, Qt::LeftButton);
        QVERIFY(!rig.link.isTcp());
        QCOMPARE(opened, (QList<bool>{true, false}));
        QVERIFY(rig.start->isVisible());
    }

    void gsmBoxSetsTheLinkSpeedChoice()
    {
        StartRig rig(folder->path());
        rig.start->show();
        QTest::mouseClick(rig.start->gsmBox, Qt::LeftButton);
        QVERIFY(rig.datalogger.gsm());
        QTest::mouseClick(rig.start->gsmBox, Qt::LeftButton);
        QVERIFY(!rig.datalogger.gsm());
    }

    void telnetErrorsAreShownWithTheirNumber()
    {
        ScriptedDialogs script;
        StartRig rig(folder->path());
        emit rig.link.telnet()->Error(10061, QStringLiteral("Connection refused"));
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
        Splash splash(rig.start.get());
        QCOMPARE(splash.size(), rig.start->size());
        QSignalSpy finished(&splash, &Splash::finished);
        QElapsedTimer t;
        t.start();
        splash.start();
        QVERIFY(splash.isVisible());
        QVERIFY(!rig.start->isVisible());
        QVERIFY(finished.wait(4000));
        QVERIFY(t.elapsed() >= Splash::shownMs);
        QVERIFY(rig.start->isVisible());
        QVERIFY(!splash.isVisible());
        QVERIFY(!splash.isEnabled());
    }

    void aboutBoxTexts()
    {
        ScriptedDialogs script;
        AboutBox info(script, folder->path());
        QCOMPARE(info.windowTitle(), QStringLiteral("Informazioni su ") + QGuiApplication::applicationDisplayName());
        QCOMPARE(info.titleLabel->text(), QGuiApplication::applicationDisplayName());
        QCOMPARE(AboutBox::versionText(1, 0, 12), QStringLiteral("Versione  1. 0. 12"));
        QVERIFY(info.versionLabel->text().startsWith(QStringLiteral("Versione  ")));
        QCOMPARE(info.systemInfoButton->text(), QStringLiteral("&System Info..."));
        QCOMPARE(info.folderLabel->text(), QStringLiteral("Program folder: ") + folder->path());

        info.systemInfoPrograms = {QStringLiteral("no-such-system-information-program")};
        QTest::mouseClick(info.systemInfoButton, Qt::LeftButton);
        QCOMPARE(script.texts(), QStringList{QStringLiteral("Information not available at the moment.")});

        info.systemInfoPrograms = {QStringLiteral("no-such-program"), QStringLiteral("true")};
        QTest::mouseClick(info.systemInfoButton, Qt::LeftButton);
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
