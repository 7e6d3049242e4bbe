// Readings now over a scripted transport: one multiplexer's values and temperatures as
// the datalogger sends them, "Acquire now", the stand-alone recording and the field test.
#include "console/channels_page.h"
#include "console/read_now_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/console_clicks.h"
#include "console/fake_console_rig.h"
#include "widgets/box_colours.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

class ReadNow : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeConsoleRig> rig;
    ConsoleWindow* f = nullptr;

private slots:
    void init()
    {
        rig = std::make_unique<FakeConsoleRig>();
        f = rig->console.get();
    }
    void cleanup() { rig.reset(); }

    void multiplexerValuesByModel()
    {
        f->channels->muxBoxes[1]->setText("3");
        rig->datalogger.setModelCode(1);
        rig->port.responder = datalogger({{"p", {"0,1234.50,1,987,2,2500.25,"}}});
        click(f, f->readNow->readMuxButtons[1]);
        QCOMPARE(rig->port.written, QByteArray("p 1,"));
        QCOMPARE(f->readNow->readingLabels[0]->text(), QStringLiteral("CH 16"));
        QCOMPARE(f->readNow->readingLabels[15]->text(), QStringLiteral("CH 31"));
        QCOMPARE(f->readNow->readingBoxes[0]->text(), QStringLiteral("1234.5"));
        QCOMPARE(f->readNow->readingBoxes[1]->text(), QStringLiteral("987"));
        QCOMPARE(f->readNow->readingBoxes[2]->text(), QStringLiteral("2500.25"));
        QCOMPARE(f->readNow->readingBoxes[3]->text(), QStringLiteral("N.R."));
        QCOMPARE(textColour(f->readNow->readingLabels[0]), BoxColour::Black);

        // The analog model shows its volts with up to three decimals.
        rig->datalogger.setModelCode(0);
        rig->port.responder = datalogger({{"p", {"0,1.25000,1,0.1,2,12.34567,"}}});
        click(f, f->readNow->readMuxButtons[1]);
        QCOMPARE(f->readNow->readingBoxes[0]->text(), QStringLiteral("1.25"));
        QCOMPARE(f->readNow->readingBoxes[1]->text(), QStringLiteral("0.1"));
        QCOMPARE(f->readNow->readingBoxes[2]->text(), QStringLiteral("12.346"));
    }

    // Temperatures outside -30..80 are no reading; a position outside 0..15 is ignored.
    void temperaturesAndStrayPositions()
    {
        f->channels->muxBoxes[0]->setText("6");
        rig->port.responder = datalogger({{"t", {"0,-30,1,80,2,-30.1,3,80.1,17,5,5,21.25,"}}});
        click(f, f->readNow->readMuxTemperatureButtons[0]);
        QCOMPARE(rig->port.written, QByteArray("t 0,"));
        const QStringList shown = {"-030.0", "080.0", "**N.F.**", "**N.F.**", "N.R.", "021.3"};
        for (int i = 0; i < shown.size(); ++i)
            QCOMPARE(f->readNow->readingBoxes[i]->text(), shown[i]);
        // An empty count reads nothing but still asks.
        f->channels->muxBoxes[2]->clear();
        rig->port.written.clear();
        click(f, f->readNow->readMuxTemperatureButtons[2]);
        QCOMPARE(rig->port.written, QByteArray("t 2,"));
        for (QLineEdit* box : f->readNow->readingBoxes)
            QCOMPARE(box->text(), QStringLiteral("N.R."));
    }

    void acquireNowChecksTheStartTimeAndSendsAPastOne()
    {
        f->dateTime->startTimeBoxes[3]->setText("24");
        f->dateTime->startTimeBoxes[4]->setText("00");
        click(f, f->dateTime->acquireNowButton);
        QCOMPARE(rig->dialogs.texts(), QStringList{"Values not valid! "});
        QCOMPARE(rig->dialogs.beeps, 1);
        QVERIFY(rig->port.written.isEmpty());

        f->dateTime->startTimeBoxes[3]->setText("23");
        f->dateTime->startTimeBoxes[4]->setText("59");
        rig->port.responder = datalogger({{"Y", {"07,12,2026,10,00,0,"}}});
        click(f, f->dateTime->acquireNowButton);
        QCOMPARE(rig->port.written, QByteArray("y1,1,100,00,00,Y,"));
        QCOMPARE(f->dateTime->startTimeBoxes[0]->text(), QStringLiteral("7"));
        QCOMPARE(boxColour(f->dateTime->clockBoxes[0]), BoxColour::Yellow);
        QVERIFY(f->dateTime->acquireNowButton->isEnabled() && f->general->readNameButton->isEnabled());
    }

    void standAloneAndFieldTest()
    {
        click(f, f->readNow->standAloneButton);
        QCOMPARE(rig->port.written, QByteArray("^"));
        f->fieldTestAction->trigger();
        QCOMPARE(rig->port.written, QByteArray("^J"));
        QWidget* window = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "ProvaInSito")
                window = w;
        QVERIFY(window && window->isVisible() && window->isEnabled());
    }
};

QTEST_MAIN(ReadNow)
#include "tst_read_now.moc"
