// The internet-connection switch against datalogger answers a simulator does not give:
// no answer at all, and an answer that contradicts every write.
#include "console/general_page.h"
#include "console/console_clicks.h"
#include "console/fake_console_rig.h"

#include <QCheckBox>
#include <QPushButton>
#include <QSignalBlocker>

class WebSwitchFaultsTest : public QObject {
    Q_OBJECT

private slots:
    // No answer is not the datalogger saying 0: writing "<0," back would close it to
    // internet connections.
    void aReadWithoutAnswerLeavesTheBoxAndWritesNothing()
    {
        FakeConsoleRig rig;
        ConsoleWindow* f = rig.console.get();
        rig.port.responder = datalogger({});
        {
            const QSignalBlocker block(f->general->internetSwitchBox);
            f->general->internetSwitchBox->setChecked(true);
        }
        click(f, f->general->readInternetSwitchButton);
        QCOMPARE(rig.port.written, QByteArray(">"));
        QVERIFY(f->general->internetSwitchBox->isChecked());
        QVERIFY(f->general->readInternetSwitchButton->isEnabled());
    }

    // Each write is read back and a read that changes the box writes again; a datalogger
    // that always answers the other state must not make that endless.
    void aContradictingDataloggerEndsAfterTheSecondRound()
    {
        FakeConsoleRig rig;
        ConsoleWindow* f = rig.console.get();
        rig.port.responder = datalogger({{">", {"0,", "1,", "0,", "1,", "0,"}}});
        showPageOf(f, f->general->internetSwitchBox);
        QTest::mouseClick(f->general->internetSwitchBox, Qt::LeftButton, {}, QPoint(8, f->general->internetSwitchBox->height() / 2));
        QCOMPARE(rig.port.written, QByteArray("<1,><0,>"));
        QVERIFY(f->general->internetSwitchBox->isChecked());  // the last answer is shown
        QVERIFY(f->general->readInternetSwitchButton->isEnabled());
    }
};

QTEST_MAIN(WebSwitchFaultsTest)
#include "tst_web_switch_faults.moc"
