// Whatever the operator types: every text box of the console, the sensor window and the
// alert window is filled with long texts, commas, quotes, characters outside Latin-1
// and control characters, and every write is pressed. The program either sends the
// value or refuses it with a message; it never crashes, never puts a byte on the line
// the datalogger cannot take, and never sends a value that shifts the datalogger's
// fields into a command of their own.
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/timers_page.h"
#include "console/gprs_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "sensors/alert_window.h"
#include "sensors/sensor_window.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSet>

namespace {

const QStringList nastyTexts = {
    QString(400, QLatin1Char('9')),
    QStringLiteral("12,Q"),
    QStringLiteral("\"3\",\"V\""),
    QStringLiteral("città € 数据"),
    QStringLiteral("1\t2\r\n\x01Y"),
    QStringLiteral("-"),
    QStringLiteral("1e400"),
};

QList<QLineEdit*> editableBoxes(QWidget* window)
{
    QList<QLineEdit*> boxes;
    for (QLineEdit* box : window->findChildren<QLineEdit*>())
        if (box->isEnabled() && !box->isReadOnly())
            boxes << box;
    return boxes;
}

// Where the first byte the datalogger cannot take as text is (a control character), with
// what is around it; empty when there is none.
QByteArray foreignByte(const QByteArray& bytes)
{
    for (qsizetype i = 0; i < bytes.size(); ++i)
        if (uchar(bytes[i]) < 0x20 || (uchar(bytes[i]) >= 0x7f && uchar(bytes[i]) < 0xa0))
            return QByteArray::number(i) + ": " + bytes.mid(qMax<qsizetype>(0, i - 20), 40).toHex(' ');
    return QByteArray();
}

} // namespace

class OperatorInputTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ConsoleRig> rig;
    ConsoleWindow* f = nullptr;

    // Every write of the console and of its two parameter windows, in turn.
    QSet<char> pressEveryWrite(const QString& typed)
    {
        const int mark = rig->sim.commandCount();
        const QList<QPushButton*> writes = {f->general->writeNameButton, f->dateTime->writeClockButton, f->dateTime->writeStartTimeButton,
                                           f->timers->writePreheatingButton, f->timers->writeTimerButton, f->channels->writeChannelsButton,
                                           f->alerts->writeRainButton, f->alerts->writeGsmButton, f->gprs->writeButton};
        if (!typed.isNull())
            for (QLineEdit* box : editableBoxes(f))
                box->setText(typed);
        for (QPushButton* b : writes)
            click(f, b);

        click(f, f->channels->sensorsButton);
        if (auto* sensors = visibleWindow<SensorWindow>()) {
            if (!typed.isNull())
                for (QLineEdit* box : editableBoxes(sensors))
                    box->setText(typed);
            for (QPushButton* b : sensors->writeButtons)
                QTest::mouseClick(b, Qt::LeftButton);
            sensors->close();
        }
        click(f, f->alerts->alertsButton);
        if (auto* alerts = visibleWindow<AlertWindow>()) {
            if (!typed.isNull())
                for (QLineEdit* box : editableBoxes(alerts))
                    box->setText(typed);
            for (QPushButton* b : alerts->writeButtons)
                QTest::mouseClick(b, Qt::LeftButton);
            QTest::mouseClick(alerts->writeSmsButton, Qt::LeftButton);
            alerts->close();
        }
        QSet<char> letters;
        QString anyLetter;
        for (char c = '!'; c <= '~'; ++c)
            anyLetter += QLatin1Char(c);
        for (const QString& c : rig->sim.commandsSince(mark, anyLetter))
            if (!c.isEmpty())
                letters << c.at(0).toLatin1();
        return letters;
    }

private slots:
    void cleanup() { rig.reset(); }

    void anythingTypedIsSentWholeOrRefused()
    {
        rig = std::make_unique<ConsoleRig>(QStringList{"--channels", "4,2,0,0"});
        QVERIFY2(rig->connect(), qPrintable(rig->sim.output()));
        setPausePercent(rig->link, 5);
        setFieldTimeout(rig->link, 2000);
        f = rig->console.get();
        f->show();
        // Whatever is asked is answered yes, so that every write goes as far as it can.
        for (int i = 0; i < 5000; ++i)
            rig->dialogs.answers.enqueue(Dialogs::Answer::Yes);

        // The commands the writes send with a plain number in every box: a value that
        // shifted into a command of its own would show as a letter not among them.
        QSet<char> expected = pressEveryWrite(QString());
        expected += pressEveryWrite(QStringLiteral("12"));
        QVERIFY(!expected.isEmpty());
        const qsizetype wireMark = rig->sim.received().size();

        for (const QString& typed : nastyTexts) {
            const qsizetype shownBefore = rig->dialogs.shown.size();
            const QSet<char> sent = pressEveryWrite(typed);
            QSet<char> extra = sent - expected;
            QByteArray extraLetters;
            for (char c : extra)
                extraLetters += c;
            QVERIFY2(extra.isEmpty(), qPrintable(typed + QStringLiteral(": ") + QString::fromLatin1(extraLetters)));
            QVERIFY2(rig->dialogs.shown.size() > shownBefore, qPrintable(typed));  // refusals were said
            QVERIFY(rig->sim.isRunning());
            QCOMPARE(rig->link.commandLockDepth(), 0);
            QVERIFY(f->general->readNameButton->isEnabled());
        }
        const QByteArray wire = rig->sim.received().mid(wireMark);
        QCOMPARE(foreignByte(wire), QByteArray());
        QCOMPARE(rig->sim.state().value("pty").toObject().value("ignored_bytes").toInt(), 0);
    }
};

QTEST_MAIN(OperatorInputTest)
#include "tst_operator_input.moc"
