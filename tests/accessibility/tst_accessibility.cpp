// Every window of the program as a screen-reader and keyboard user meets it: each
// interactive control has a name in the accessibility tree, Tab reaches every control
// that takes the focus, and no two visible captions share a mnemonic.
#include "window_audit.h"

#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "charts/live_chart_window.h"
#include "charts/history_chart_window.h"
#include "console/console_clicks.h"
#include "console/fake_console_rig.h"
#include "console/about_box.h"
#include "data/memory_download.h"
#include "measure/data_table.h"
#include "measure/new_data_window.h"
#include "measure/continuous_reading_window.h"
#include "modem/modem_window.h"
#include "modem/internet_window.h"
#include "sensors/alert_window.h"
#include "sensors/sensor_window.h"
#include "startup/start_rig.h"
#include "startup/start_window.h"
#include "support/sim_process.h"
#include "support/yearly_file_maker.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>

#include <memory>

namespace {

// Fails the test with every finding, the window (and page) named.
void audit(QWidget* window, const QString& where)
{
    const QStringList unnamed = WindowAudit::unnamedControls(window);
    QVERIFY2(unnamed.isEmpty(), qPrintable(where + QStringLiteral(": controls without an accessible name: ")
                                           + unnamed.join(QStringLiteral("; "))));
    const QStringList unreachable = WindowAudit::unreachableByTab(window);
    QVERIFY2(unreachable.isEmpty(),
             qPrintable(where + QStringLiteral(": never reached by Tab: ") + unreachable.join(QStringLiteral("; "))
                        + QStringLiteral("\n  Tab order: ")
                        + WindowAudit::tabOrder(window).join(QStringLiteral(" > "))));
    // AUDIT_TAB_ORDER=1 prints each window's Tab order, to review that it is sensible.
    if (qEnvironmentVariableIsSet("AUDIT_TAB_ORDER"))
        qInfo("%s: %s", qPrintable(where), qPrintable(WindowAudit::tabOrder(window).join(QStringLiteral(" > "))));
    const QStringList clashes = WindowAudit::clashingMnemonics(window);
    QVERIFY2(clashes.isEmpty(),
             qPrintable(where + QStringLiteral(": mnemonics shared: ") + clashes.join(QStringLiteral("; "))));
}

MemoryDownload::Store smallDownload()
{
    MemoryDownload::Store s;
    s.records = 3;
    s.channels = 2;
    for (int r = 0; r < s.records; ++r) {
        s.stamps << std::array<QByteArray, 6>{" 1", " 3", " 2026", " 10", " " + QByteArray::number(r), " 0"};
        s.values << QByteArray("   1234.50   2345.75");
    }
    return s;
}

// The phone-book windows: every page of the book, as Page buttons show them.
template <class Window>
void auditBookWindow(ConsoleWindow* console, const QString& name)
{
    Window w(console->services(), console);
    w.pollTimer->setInterval(3600000);  // no poll while the audit presses keys
    w.open();
    for (int page = 0; page < Window::Pages; ++page) {
        w.showPage(page);
        audit(&w, name + QStringLiteral(", page %1 of the book").arg(page + 1));
        if (QTest::currentTestFailed())
            break;
    }
    w.close();
}

} // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
    std::unique_ptr<FakeConsoleRig> rig;

private slots:
    void init() { rig = std::make_unique<FakeConsoleRig>(); }
    void cleanup()
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w != rig->console.get() && w->isVisible())
                w->close();
        rig.reset();
    }

    // The audit itself: a window with one fault of each kind.
    void auditFindsEachFault()
    {
        QWidget w;
        auto* layout = new QVBoxLayout(&w);
        auto* unnamed = new QLineEdit(&w);
        unnamed->setObjectName(QStringLiteral("unnamed"));
        auto* clickOnly = new QLineEdit(&w);
        clickOnly->setObjectName(QStringLiteral("clickOnly"));
        clickOnly->setAccessibleName(QStringLiteral("Reached by the mouse only"));
        clickOnly->setFocusPolicy(Qt::ClickFocus);
        auto* go = new QPushButton(QStringLiteral("&Go"), &w);
        auto* get = new QPushButton(QStringLiteral("&Get"), &w);
        go->setObjectName(QStringLiteral("go"));
        get->setObjectName(QStringLiteral("get"));
        for (QWidget* c : {static_cast<QWidget*>(unnamed), static_cast<QWidget*>(clickOnly),
                           static_cast<QWidget*>(go), static_cast<QWidget*>(get)})
            layout->addWidget(c);
        QCOMPARE(WindowAudit::unnamedControls(&w), QStringList{QStringLiteral("QLineEdit unnamed")});
        QCOMPARE(WindowAudit::unreachableByTab(&w), QStringList{QStringLiteral("QLineEdit clickOnly")});
        QCOMPARE(WindowAudit::clashingMnemonics(&w),
                 QStringList{QStringLiteral("&g: QPushButton go, QPushButton get")});
    }

    void startWindow()
    {
        StartWindow start(rig->testLink.services);
        start.onProgramEnd = [] {};
        audit(&start, QStringLiteral("start window"));
        // From "Connect", round the buttons and into the ports at COM 1, the first.
        start.connectButton->setFocus();
        QCOMPARE(WindowAudit::tabOrder(&start),
                 (QStringList{"QPushButton Command1", "QPushButton No_conn", "QPushButton Command3",
                              "QPushButton Command2", "QRadioButton Option1_0", "QCheckBox GSM",
                              "QCheckBox chkTCP"}));
    }

    // The status line keeps its name and speaks each step of a connection: at every step
    // its description, which a screen reader speaks, is the text shown.
    void startWindowSpeaksEachConnectionStep()
    {
        SimProcess sim({"--acquisition", "0"});
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        QTemporaryDir folder;
        StartRig rig(folder.path(), {sim.ptyPath()});
        QAccessibleInterface* status = QAccessible::queryAccessibleInterface(rig.start->statusLine);
        QStringList spoken;
        connect(rig.start.get(), &StartWindow::statusChanged, this,
                [&] { spoken << status->text(QAccessible::Description); });
        rig.start->show();
        rig.start->portOptions[0]->setChecked(true);
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);
        QCOMPARE(status->text(QAccessible::Name), QStringLiteral("Status"));
        QCOMPARE(status->text(QAccessible::Description), QStringLiteral("Acqisition status: OK"));
        QCOMPARE(spoken, rig.statuses);
        QVERIFY(spoken.contains(QStringLiteral(" Datalogger Found")));
    }

    void aboutBox()
    {
        AboutBox about(rig->testLink.dialogs, rig->folder.path());
        audit(&about, QStringLiteral("about box"));
    }

    void consolePages_data()
    {
        QTest::addColumn<bool>("analog");
        QTest::newRow("vibrating-wire model") << false;
        QTest::newRow("analog model") << true;
    }
    void consolePages()
    {
        QFETCH(bool, analog);
        ConsoleWindow* console = rig->console.get();
        if (analog)
            console->adaptForAnalogModel();
        for (int page = 0; page < console->pages->count(); ++page) {
            console->pages->setCurrentIndex(page);
            audit(console, QStringLiteral("console, page \"%1\"").arg(console->pages->tabText(page)));
            if (QTest::currentTestFailed())
                return;
        }
    }

    void sensorWindow()
    {
        click(rig->console.get(), rig->console->channels->sensorsButton);
        auto* w = visibleWindow<SensorWindow>();
        QVERIFY(w);
        audit(w, QStringLiteral("sensor window"));
    }

    void alertWindow()
    {
        click(rig->console.get(), rig->console->alerts->alertsButton);
        auto* w = visibleWindow<AlertWindow>();
        QVERIFY(w);
        audit(w, QStringLiteral("alert window"));
    }

    void dataTable()
    {
        std::unique_ptr<QWidget> w(newDataTableWindow(smallDownload()));
        audit(w.get(), QStringLiteral("data table"));
    }

    void continuousReadingAndLiveChart()
    {
        std::unique_ptr<ContinuousReadingWindow> reading(ContinuousReadingWindow::open(rig->testLink.services, 0));
        QVERIFY(reading);
        audit(reading.get(), QStringLiteral("continuous reading"));

        ChartMatrix table;
        QStringList titles{QStringLiteral("Date")};
        for (int c = 0; c < 16; ++c)
            titles << QStringLiteral("CH %1").arg(c);
        table.reset(titles);
        LiveChartWindow chart(&table);
        chart.showChannelBoxes(16);
        chart.channelBoxes[0]->setChecked(true);
        audit(&chart, QStringLiteral("live chart"));
    }

    void newDataWindow()
    {
        NewDataWindow* w = NewDataWindow::open(rig->testLink.services, nullptr, {.minuteMs = 60000, .dtrPauseMs = 50});
        QVERIFY(w);
        audit(w, QStringLiteral("new-data window"));
        w->close();
    }

    void historicalChart()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("data_2026.txt"));
        QVERIFY(YearlyFileMaker::write(path, 8, QDateTime(QDate(2026, 3, 1), QTime(0, 0)), 48, 600));
        HistoryChartWindow* chart = HistoryChartWindow::openYearlyFile(rig->testLink.dialogs, path);
        QVERIFY(chart);
        audit(chart, QStringLiteral("historical chart"));
        chart->close();
    }

    void modemWindow() { auditBookWindow<ModemWindow>(rig->console.get(), QStringLiteral("modem window")); }

    void internetWindow() { auditBookWindow<InternetWindow>(rig->console.get(), QStringLiteral("internet window")); }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
