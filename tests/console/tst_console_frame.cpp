// The console's frame without a datalogger: pages, names, the lock, the edit colours,
// the switch boxes, the analog layout, colour values and the logout file.
#include "widgets/box_colours.h"
#include "console/console_clicks.h"
#include "link/modulo1.h"
#include "link/program_folder.h"
#include "support/scripted_dialogs.h"

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
    std::unique_ptr<Form1> f;
    int ends = 0;

private slots:
    void init()
    {
        ProgramFolder::setOverride(folder.path());
        dialogs.shown.clear();
        f = std::make_unique<Form1>();
        f->onProgramEnd = [this] { ++ends; };
        f->setDataFolder(folder.path());
    }
    void cleanup() { f.reset(); }

    void pagesAndMenuInOrder()
    {
        QCOMPARE(Form1::instance(), f.get());
        QVERIFY(!f->isVisible());
        QCOMPARE(f->windowTitle(), QStringLiteral("Quorvel LV210-LV420"));
        const QStringList captions = {"DATE AND TIME", "TIMERS", "CHANNELS", "GENERAL",
                                      " DATA ACQUISITION", "READ NOW", "GPRS", "ALERTS"};
        QCOMPARE(f->SSTab1->count(), captions.size());
        // The captions as shown: a mnemonic's "&" is an underline, not a character.
        const auto shown = [](QString caption) { return caption.remove(QLatin1Char('&')); };
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(shown(f->SSTab1->tabText(i)), captions[i]);
        QStringList menu;
        for (QAction* a : f->menuBar()->actions())
            menu << shown(a->text());
        QCOMPARE(menu, (QStringList{"PROVA IN SITO", "HELP-?", "RESTORE "}));
        QCOMPARE(shown(f->HLP->actions().first()->text()), QStringLiteral("INFO"));
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
        for (QWidget* w : f->SSTab1->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractButton*>(w);
            if (control && !w->objectName().startsWith(QLatin1String("qt_")))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(w->objectName()));
        }
        QCOMPARE(f->GPRS[2]->maxLength(), 29);
        QCOMPARE(f->LABCANALI[3]->text(), QStringLiteral("CH 3"));
    }

    void lockSwitchesEveryCommandControl()
    {
        Modulo1::Disabilita_Comandi();
        const QList<QWidget*> locked = {f->leggi_nome, f->Aggiorna_acq, f->Acquisisci_Temp,
                                        f->MISCONTINUA[0], f->MISCONTINUA_TEMP[2], f->Status,
                                        f->ReadSt, f->Scrivicanali, f->Leggi_poprieta,
                                        f->Leggi_Allarmi, f->SCRIVI_GSM, f->Abilita_Telefono,
                                        f->LeggiGPRS, f->cmdWebLeggi};
        for (QWidget* w : locked)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        // Controls outside the list stay usable during an exchange.
        QVERIFY(f->leggiprox->isEnabled());
        QVERIFY(f->CONTAIMP->isEnabled());
        QVERIFY(f->ScriviGPRS->isEnabled());
        Modulo1::Abilita_Comandi();
        for (QWidget* w : locked)
            QVERIFY(w->isEnabled());
    }

    void typingMarksBoxesRedButMovingDoesNot()
    {
        setBoxColour(f->data[3], BoxColour::Yellow);
        QTest::keyClick(f->data[3], Qt::Key_Tab);
        QCOMPARE(boxColour(f->data[3]), BoxColour::Yellow);
        QTest::keyClicks(f->data[3], QStringLiteral("7"));
        QCOMPARE(boxColour(f->data[3]), BoxColour::Red);
        QTest::keyClicks(f->mmpioggia, QStringLiteral("2"));
        QCOMPARE(boxColour(f->mmpioggia), BoxColour::Red);

        // Timer and pre-heating boxes never keep blanks around their value.
        f->conversione[1]->setText(QStringLiteral(" 12 "));
        QCOMPARE(f->conversione[1]->text(), QStringLiteral("12"));
        QTest::keyClicks(f->preaccensione, QStringLiteral(" 5 "));
        QCOMPARE(f->preaccensione->text(), QStringLiteral("5"));
    }

    // The box must not change by itself: only the datalogger's answer changes it.
    void switchBoxRequestsInsteadOfToggling()
    {
        f->show();
        showPageOf(f.get(), f->EMAIL);
        QSignalSpy requests(f->EMAIL, &SwitchBox::switchRequested);
        QTest::mouseClick(f->EMAIL, Qt::LeftButton);
        QTest::keyClick(f->EMAIL, Qt::Key_Space);
        QCOMPARE(requests.count(), 2);
        QVERIFY(!f->EMAIL->isChecked());
        f->EMAIL->setEnabled(false);
        QTest::mouseClick(f->EMAIL, Qt::LeftButton);
        QCOMPARE(requests.count(), 2);
    }

    void analogModelLayout()
    {
        QVERIFY(f->preheatingFrame->isHidden());
        f->adaptForAnalogModel();
        QCOMPARE(f->windowTitle(), QStringLiteral("Quorvel LV210-LV420 16 BIT DATALOGGER"));
        QVERIFY(f->Acquisisci_Temp->isHidden());
        QCOMPARE(f->Acquisisci->text(), QStringLiteral("Acquire data"));
        QVERIFY(!f->preheatingFrame->isHidden());
        QVERIFY(f->TipoF[0]->isHidden() && f->TipoF[1]->isHidden());
    }

    void colourValuesKeepBlueInTheHighByte()
    {
        QCOMPARE(colourFromValue(BoxColour::Yellow), QColor(255, 255, 15));
        QCOMPARE(colourFromValue(BoxColour::PaleYellow), QColor(255, 255, 128));
        QCOMPARE(colourFromValue(BoxColour::Red), QColor(255, 0, 0));
        QCOMPARE(colourFromValue(BoxColour::Green), QColor(0, 192, 0));
        QCOMPARE(colourFromValue(BoxColour::Magenta), QColor(255, 0, 255));
        QCOMPARE(boxColour(f->Text1), -1);
        setBoxColour(f->Text1, BoxColour::StatusDone);
        QCOMPARE(f->Text1->palette().color(QPalette::Base), QColor(0, 255, 0));
    }

    // The program must end even when its record cannot be written.
    void logoutFileInAMissingFolderStillEnds()
    {
        f->setDataFolder(folder.filePath(QStringLiteral("gone")));
        f->Nome_File_Dati->setText(QStringLiteral("X.txt"));
        f->close();
        QCOMPARE(ends, 1);
        QCOMPARE(dialogs.shown.size(), 1);
        QVERIFY(dialogs.shown.first().text.contains(QStringLiteral("gone/LOGOUT_X.txt")));
        // A second close does not run the closing again.
        f->Form_Unload();
        QCOMPARE(ends, 1);
    }
};

QTEST_MAIN(ConsoleFrame)
#include "tst_console_frame.moc"
