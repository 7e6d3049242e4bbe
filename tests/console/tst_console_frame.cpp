// The console's frame without a datalogger: pages, names, the lock, the edit colours,
// the switch boxes, the analog layout, colour values and the logout file.
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/read_now_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "widgets/box_colours.h"
#include "console/gprs_page.h"
#include "console/console_clicks.h"
#include "data/program_folder.h"
#include "support/scripted_dialogs.h"
#include "support/test_link.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>

class ConsoleFrame : public QObject {
    Q_OBJECT
    QTemporaryDir folder;
    ScriptedDialogs dialogs;
    TestLink testLink{folder.path()};
    std::unique_ptr<ConsoleWindow> f;
    int ends = 0;

private slots:
    void init()
    {
        dialogs.shown.clear();
        f = std::make_unique<ConsoleWindow>(testLink.services);
        f->onProgramEnd = [this] { ++ends; };
        f->setDataFolder(folder.path());
    }
    void cleanup() { f.reset(); }

    void pagesAndMenuInOrder()
    {
        QVERIFY(!f->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("Quorvel LV210-LV420"));
        const QStringList captions = {"DATE AND TIME", "TIMERS", "CHANNELS", "GENERAL",
                                      " DATA ACQUISITION", "READ NOW", "GPRS", "ALERTS"};
        QCOMPARE(f->pages->count(), captions.size());
        // The captions as shown: a mnemonic's "&" is an underline, not a character.
        const auto shown = [](QString caption) { return caption.remove(QLatin1Char('&')); };
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(shown(f->pages->tabText(i)), captions[i]);
        QStringList menu;
        for (QAction* a : f->menuBar()->actions())
            menu << shown(a->text());
        QCOMPARE(menu, (QStringList{"PROVA IN SITO", "HELP-?", "RESTORE "}));
        QCOMPARE(shown(f->helpMenu->actions().first()->text()), QStringLiteral("INFO"));
    }

    // Tests, the screen reader and the later windows find controls by these names.
    void everyControlIsNamedAndSpoken()
    {
        for (const char* name : {"MUX_2", "data_allarme_4", "conversione_0", "continua_15",
                                 "LABCANALI_15", "GPRS_9", "NUMERO_ALLARME_SMS_9", "Label6_10",
                                 "TipoF_1", "MISCONTINUA_TEMP_3", "cmdApriMisuraContinua_0",
                                 "Nome_File_Dati", "PLUVIOMETRO", "Command1"})
            QVERIFY2(f->findChild<QWidget*>(QString::fromLatin1(name)), name);
        QVERIFY(f->findChild<QPushButton*>(QStringLiteral("Leggi_popriet") + QChar(0xE0)));
        for (QWidget* w : f->pages->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w);
            if (control && !w->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(f->gprs->boxes[2]->maxLength(), 29);
        QCOMPARE(f->readNow->readingLabels[3]->text(), QStringLiteral("CH 3"));
    }

    void lockSwitchesEveryCommandControl()
    {
        testLink.link.lockCommands();
        const QList<QWidget*> locked = {f->general->readNameButton, f->general->readMemoryButton, f->dataAcquisition->acquireTemperaturesButton,
                                        f->readNow->readMuxButtons[0], f->readNow->readMuxTemperatureButtons[2], f->readNow->readInternalParametersButton,
                                        f->dateTime->readAcquisitionSwitchButton, f->channels->writeChannelsButton, f->channels->sensorsButton,
                                        f->alerts->alertsButton, f->alerts->writeGsmButton, f->alerts->phoneAlertSwitch,
                                        f->gprs->readButton, f->general->readInternetSwitchButton};
        for (QWidget* w : locked)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        // Controls outside the list stay usable during an exchange.
        QVERIFY(f->general->readNextAcquisitionButton->isEnabled());
        QVERIFY(f->dataAcquisition->eventsCounterButton->isEnabled());
        QVERIFY(f->gprs->writeButton->isEnabled());
        testLink.link.unlockCommands();
        for (QWidget* w : locked)
            QVERIFY(w->isEnabled());
    }

    void typingMarksBoxesRedButMovingDoesNot()
    {
        setBoxColour(f->dateTime->clockBoxes[3], BoxColour::Yellow);
        QTest::keyClick(f->dateTime->clockBoxes[3], Qt::Key_Tab);
        QCOMPARE(boxColour(f->dateTime->clockBoxes[3]), BoxColour::Yellow);
        QTest::keyClicks(f->dateTime->clockBoxes[3], QStringLiteral("7"));
        QCOMPARE(boxColour(f->dateTime->clockBoxes[3]), BoxColour::Red);
        QTest::keyClicks(f->alerts->rainBox, QStringLiteral("2"));
        QCOMPARE(boxColour(f->alerts->rainBox), BoxColour::Red);

        // Timer and pre-heating boxes never keep blanks around their value.
        f->timers->timerBoxes[1]->setText(QStringLiteral(" 12 "));
        QCOMPARE(f->timers->timerBoxes[1]->text(), QStringLiteral("12"));
        QTest::keyClicks(f->timers->preheatingBox, QStringLiteral(" 5 "));
        QCOMPARE(f->timers->preheatingBox->text(), QStringLiteral("5"));
    }

    // The box must not change by itself: only the datalogger's answer changes it.
    void switchBoxRequestsInsteadOfToggling()
    {
        f->show();
        showPageOf(f.get(), f->alerts->emailSwitch);
        QSignalSpy requests(f->alerts->emailSwitch, &SwitchBox::switchRequested);
        QTest::mouseClick(f->alerts->emailSwitch, Qt::LeftButton);
        QTest::keyClick(f->alerts->emailSwitch, Qt::Key_Space);
        QCOMPARE(requests.count(), 2);
        QVERIFY(!f->alerts->emailSwitch->isChecked());
        f->alerts->emailSwitch->setEnabled(false);
        QTest::mouseClick(f->alerts->emailSwitch, Qt::LeftButton);
        QCOMPARE(requests.count(), 2);
    }

    void analogModelLayout()
    {
        QVERIFY(f->timers->preheatingFrame->isHidden());
        f->adaptForAnalogModel();
        QCOMPARE(f->windowTitle(), QStringLiteral("Quorvel LV210-LV420 16 BIT DATALOGGER"));
        QVERIFY(f->dataAcquisition->acquireTemperaturesButton->isHidden());
        QCOMPARE(f->dataAcquisition->acquireButton->text(), QStringLiteral("Acquire data"));
        QVERIFY(!f->timers->preheatingFrame->isHidden());
        QVERIFY(f->dataAcquisition->downloadKindOptions[0]->isHidden() && f->dataAcquisition->downloadKindOptions[1]->isHidden());
    }

    void colourValuesKeepBlueInTheHighByte()
    {
        QCOMPARE(colourFromValue(BoxColour::Yellow), QColor(255, 255, 15));
        QCOMPARE(colourFromValue(BoxColour::PaleYellow), QColor(255, 255, 128));
        QCOMPARE(colourFromValue(BoxColour::Red), QColor(255, 0, 0));
        QCOMPARE(colourFromValue(BoxColour::Green), QColor(0, 192, 0));
        QCOMPARE(colourFromValue(BoxColour::Magenta), QColor(255, 0, 255));
        QCOMPARE(boxColour(f->dataAcquisition->progressBox), -1);
        setBoxColour(f->dataAcquisition->progressBox, BoxColour::StatusDone);
        QCOMPARE(f->dataAcquisition->progressBox->palette().color(QPalette::Base), QColor(0, 255, 0));
    }

    // The program must end even when its record cannot be written.
    void logoutFileInAMissingFolderStillEnds()
    {
        f->setDataFolder(folder.filePath(QStringLiteral("gone")));
        f->dataAcquisition->dataFileNameBox->setText(QStringLiteral("X.txt"));
        f->close();
        QCOMPARE(ends, 1);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown.first().text.contains(QStringLiteral("gone/LOGOUT_X.txt")));
        // A second close does not run the closing again.
        f->unload();
        QCOMPARE(ends, 1);
    }
};

QTEST_MAIN(ConsoleFrame)
#include "tst_console_frame.moc"
