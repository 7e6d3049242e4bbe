// Takes the README's pictures of the windows that need a datalogger's data: the sensor
// window, the alert window, the console's GSM and GPRS settings, the console after a
// download, the data table, the new-data window in timer mode, the modem and internet
// windows with a filled book and the historical chart of a month; and of the splash. The
// program's folder is a temporary one holding the sample data files.
// Run by scripts/screenshots with the directory to write into and the sample files'
// folder; not a test.
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/general_page.h"
#include "charts/history_chart_window.h"
#include "console/gprs_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "measure/new_data_window.h"
#include "modem/modem_window.h"
#include "modem/internet_window.h"
#include "sensors/alert_window.h"
#include "sensors/sensor_window.h"
#include "startup/splash.h"
#include "support/yearly_file_maker.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

namespace {

bool save(QWidget* w, const QString& folder, const QString& name)
{
    QApplication::processEvents();
    QTest::qWait(300);
    const bool ok = w->grab().save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
    qInfo("pictures: %s/%s.png %s", qPrintable(folder), qPrintable(name), ok ? "written" : "FAILED");
    return ok;
}

// The internet window with a filled FTP book; its twin's port box has found the modem
// on COM2 as well.
bool photographInternetWindow(ConsoleWindow* console, const QString& programFolder, const QString& folder)
{
    const QByteArray book = "ponte-adige\r\nftp.monitoraggio.example\r\nponte\r\nXk7@pq:2\r\n"
                            "diga/spalla-sinistra\r\nftp.monitoraggio.example\r\ndiga\r\nv9/Lm:ee\r\n"
                            "frana-cortina\r\nftp.cortina.example\r\nfrana.cortina\r\nTt4@1rr\r\n"
                            "galleria-nord\r\n93.41.12.7:2121\r\ngalleria\r\nqQ8#n0p\r\n";
    QFile f(programFolder + QStringLiteral("/ftp.ini"));
    if (!f.open(QIODevice::WriteOnly) || f.write(book) != book.size())
        return false;
    f.close();
    InternetWindow w(console->services(), console);
    w.open();
    QTest::mouseClick(w.selectButtons[1], Qt::LeftButton);
    const bool ok = save(&w, folder, QStringLiteral("internet-window"));
    w.close();
    return ok;
}

// The modem window with a phone book and the modem found on COM2 (a second simulator,
// behind a modem); then the internet window on the same port.
bool photographModemWindow(ConsoleWindow* console, const QString& programFolder, const QString& folder)
{
    SimProcess modemSim({"--modem"});
    if (!modemSim.start())
        return false;
    QFile ports(programFolder + QStringLiteral("/comports.ini"));
    if (!ports.open(QIODevice::ReadOnly))
        return false;
    QStringList devices = QString::fromUtf8(ports.readAll()).split(QLatin1Char('\n'));
    ports.close();
    devices[1] = modemSim.ptyPath();
    const auto write = [&](const char* name, const QByteArray& content) {
        QFile f(programFolder + QLatin1Char('/') + QLatin1String(name));
        return f.open(QIODevice::WriteOnly) && f.write(content) == content.size();
    };
    const QByteArray book = "Ponte Adige\r\n+39 333 1234567\r\n31/12/2027\r\n"
                            "\"Diga, spalla sinistra\"\r\n+39 347 7654321\r\n30/06/2027\r\n"
                            "Frana Cortina\r\n0436 123456\r\n\r\n"
                            "Galleria Nord\r\n+39 320 5550101\r\n15/03/2028\r\n"
                            "Viadotto 7\r\n+39 338 9990007\r\n\r\n"
                            "Pozzo P3\r\n0461 987654\r\n01/09/2027\r\n";
    if (!write("comports.ini", devices.join(QLatin1Char('\n')).toUtf8()) || !write("pmodem.ini", " 2 \r\n")
        || !write("modem.ini", book) || !write("last.ini", "07/12/2026\r\n02/12/2026\r\n\r\n28/11/2026\r\n"))
        return false;
    ModemWindow w(console->services(), console);
    w.open();
    QTest::mouseClick(w.selectButtons[1], Qt::LeftButton);
    bool ok = save(&w, folder, QStringLiteral("modem-window"));
    w.close();
    return photographInternetWindow(console, programFolder, folder) && ok;
}

// The new-data window in timer mode, after its first download. The simulator sends no
// wake-up here: the wait for it is cut short.
bool photographRemainingData(ConsoleWindow* console, const QString& folder)
{
    console->newDataTiming = {.minuteMs = 60000, .dtrPauseMs = 300};
    Link& link = console->link();
    const int fieldTimeout = link.settings().fieldTimeoutMs;
    setFieldTimeout(link, 800);
    click(console, console->dataAcquisition->newDataButton);
    NewDataWindow* w = console->newDataWindow();
    if (!w)
        return false;
    w->intervalBox->setText(QStringLiteral("15"));
    QTest::mouseClick(w->timerButton, Qt::LeftButton);
    setFieldTimeout(link, fieldTimeout);
    const bool ok = save(w, folder, QStringLiteral("remaining-data-timer"));
    QTest::mouseClick(w->stopTimerButton, Qt::LeftButton);
    w->close();
    return ok;
}

// The splash as it shows before the start window, as large as the start window.
bool photographSplash(const QString& folder)
{
    QWidget start;
    start.resize(460, 340);
    Splash splash(&start);
    splash.show();
    return save(&splash, folder, QStringLiteral("splash"));
}

// The sample data files in the program's folder, as a technician's folder holds them.
void copySamples(const QString& samples, const QString& programFolder)
{
    for (const QString& name : QDir(samples).entryList(QDir::Files))
        QFile::copy(samples + QLatin1Char('/') + name, programFolder + QLatin1Char('/') + name);
}

QWidget* topLevel(const QString& objectName)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == objectName && w->isVisible())
            return w;
    return nullptr;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    const QString samples = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QStringLiteral("scripts/demo-folder");
    ConsoleRig rig({"--model", "0", "--channels", "6,0,0,0", "--preload", "120", "--name", "PONTE1"});
    if (!rig.connect())
        return 1;
    copySamples(samples, rig.folder.path());
    setFieldTimeout(rig.link, 4000);
    rig.datalogger.setModelCode(0);
    ConsoleWindow* f = rig.console.get();
    f->resize(1000, 640);
    f->adaptForAnalogModel();
    f->show();
    f->general->nameBox->setText(QStringLiteral("PONTE1"));
    click(f, f->channels->readChannelsButton);

    click(f, f->channels->sensorsButton);
    auto* sensors = qobject_cast<SensorWindow*>(topLevel(QStringLiteral("Sensori_An")));
    if (!sensors)
        return 1;
    QTest::mouseClick(sensors->readButtons[0], Qt::LeftButton);
    bool ok = save(sensors, folder, QStringLiteral("sensor-window"));
    sensors->close();

    click(f, f->alerts->alertsButton);
    auto* alerts = qobject_cast<AlertWindow*>(topLevel(QStringLiteral("Allarmi_An")));
    if (!alerts)
        return 1;
    QTest::mouseClick(alerts->readButtons[0], Qt::LeftButton);
    const char* const limits[3][3] = {{"1", "12.5", "-3.2"}, {"1", "40", "0"}, {"0", "250", "-250"}};
    for (int r = 0; r < 3; ++r) {
        alerts->alertOnBoxes[r]->setText(QString::fromLatin1(limits[r][0]));
        alerts->highThresholdBoxes[r]->setText(QString::fromLatin1(limits[r][1]));
        alerts->lowThresholdBoxes[r]->setText(QString::fromLatin1(limits[r][2]));
    }
    QTest::mouseClick(alerts->writeButtons[0], Qt::LeftButton);
    QTest::mouseClick(alerts->readSmsButton, Qt::LeftButton);
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    ok = save(alerts, folder, QStringLiteral("alert-window")) && ok;
    alerts->close();

    click(f, f->alerts->readGsmButton);
    f->alerts->smsNumberBoxes[1]->setText(QStringLiteral("+393409876543"));
    f->alerts->smsCountBox->setText(QStringLiteral("2"));
    click(f, f->alerts->writeGsmButton);
    showPageOf(f, f->alerts->smsAlertSwitch);
    QTest::mouseClick(f->alerts->smsAlertSwitch, Qt::LeftButton);
    click(f, f->alerts->readEmailButton);
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    ok = save(f, folder, QStringLiteral("console-gsm-settings")) && ok;
    click(f, f->gprs->readButton);
    ok = save(f, folder, QStringLiteral("console-gprs-settings")) && ok;

    f->dataAcquisition->createTableBox->setChecked(true);
    click(f, f->dataAcquisition->acquireButton);
    QWidget* table = topLevel(QStringLiteral("TabellaDati"));
    ok = table && save(table, folder, QStringLiteral("data-table")) && ok;
    if (table)
        table->hide();
    showPageOf(f, f->dataAcquisition->acquireButton);
    f->dataAcquisition->fileList->setCurrentRow(0);
    ok = save(f, folder, QStringLiteral("console-after-download")) && ok;
    ok = photographRemainingData(f, folder) && ok;
    ok = photographModemWindow(f, rig.folder.path(), folder) && ok;

    // The historical chart of a yearly file holding March, a reading every ten minutes.
    QTemporaryDir yearly;
    const QString data = yearly.filePath(QStringLiteral("data_2026.txt"));
    HistoryChartWindow* chart =
        YearlyFileMaker::write(data, 8, QDateTime(QDate(2026, 3, 1), QTime(0, 0)), 31 * 144, 600)
            ? HistoryChartWindow::openYearlyFile(rig.testLink.dialogs, data)
            : nullptr;
    ok = chart && save(chart, folder, QStringLiteral("historical-chart")) && ok;
    ok = photographSplash(folder) && ok;
    return ok ? 0 : 1;
}
