// Takes the README's pictures of the windows that need a datalogger's data: the sensor
// window, the alert window, the console's GSM and GPRS settings, the console after a
// download, the data table, the new-data window in timer mode, the modem window with a
// filled phone book and the historical chart of a month. Run by scripts/screenshots
// with the directory to write into; not a test.
#include "charts/grafico_storico.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "measure/dati_rimanenti.h"
#include "modem/modem.h"
#include "sensors/allarmi_an.h"
#include "sensors/sensori_an.h"
#include "support/yearly_file_maker.h"

#include <QApplication>
#include <QCheckBox>
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

// The modem window with a phone book and the modem found on COM2 (a second simulator,
// behind a modem).
bool photographModemWindow(Form1* console, const QString& programFolder, const QString& folder)
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
    Modem w(console);
    w.open();
    QTest::mouseClick(w.Sel[1], Qt::LeftButton);
    const bool ok = save(&w, folder, QStringLiteral("modem-window"));
    w.close();
    return ok;
}

// The new-data window in timer mode, after its first download. The simulator sends no
// wake-up here: the wait for it is cut short.
bool photographRemainingData(Form1* console, const QString& folder)
{
    DatiRimanenti::timing() = {.minuteMs = 60000, .dtrPauseMs = 300};
    const int fieldTimeout = Modulo1::link().fieldTimeoutMs;
    Modulo1::link().fieldTimeoutMs = 800;
    click(console, console->cmdScaricaRimanenti);
    DatiRimanenti* w = DatiRimanenti::instance();
    if (!w)
        return false;
    w->txtTimer->setText(QStringLiteral("15"));
    QTest::mouseClick(w->cmdTimer, Qt::LeftButton);
    Modulo1::link().fieldTimeoutMs = fieldTimeout;
    const bool ok = save(w, folder, QStringLiteral("remaining-data-timer"));
    QTest::mouseClick(w->cmdFermaTimer, Qt::LeftButton);
    w->close();
    return ok;
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
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    ConsoleRig rig({"--model", "0", "--channels", "6,0,0,0", "--preload", "120", "--name", "PONTE1"});
    if (!rig.connect())
        return 1;
    Modulo1::link().fieldTimeoutMs = 4000;
    Modulo1::LoggerModelCode = 0;
    Form1* f = rig.console.get();
    f->resize(1000, 640);
    f->adaptForAnalogModel();
    f->show();
    f->Nome_Centralina->setText(QStringLiteral("PONTE1"));
    click(f, f->leggicanali);

    click(f, f->Leggi_poprieta);
    auto* sensors = qobject_cast<Sensori_An*>(topLevel(QStringLiteral("Sensori_An")));
    if (!sensors)
        return 1;
    QTest::mouseClick(sensors->Leggi_prop[0], Qt::LeftButton);
    bool ok = save(sensors, folder, QStringLiteral("sensor-window"));
    sensors->close();

    click(f, f->Leggi_Allarmi);
    auto* alerts = qobject_cast<Allarmi_An*>(topLevel(QStringLiteral("Allarmi_An")));
    if (!alerts)
        return 1;
    QTest::mouseClick(alerts->Leggi_all[0], Qt::LeftButton);
    const char* const limits[3][3] = {{"1", "12.5", "-3.2"}, {"1", "40", "0"}, {"0", "250", "-250"}};
    for (int r = 0; r < 3; ++r) {
        alerts->AllarmeAttivo[r]->setText(QString::fromLatin1(limits[r][0]));
        alerts->CA[r]->setText(QString::fromLatin1(limits[r][1]));
        alerts->CB[r]->setText(QString::fromLatin1(limits[r][2]));
    }
    QTest::mouseClick(alerts->ScriviAll[0], Qt::LeftButton);
    QTest::mouseClick(alerts->MESSAGGIO_PERSONALE_LEGGI, Qt::LeftButton);
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    ok = save(alerts, folder, QStringLiteral("alert-window")) && ok;
    alerts->close();

    click(f, f->LEGGI_GSM);
    f->NUMERO_ALLARME_SMS[1]->setText(QStringLiteral("+393409876543"));
    f->NUMERO_ALLARMI_SMS->setText(QStringLiteral("2"));
    click(f, f->SCRIVI_GSM);
    showPageOf(f, f->Abilita_SMS);
    QTest::mouseClick(f->Abilita_SMS, Qt::LeftButton);
    click(f, f->Leggi_Email);
    if (QWidget* focused = QApplication::focusWidget())
        focused->clearFocus();
    ok = save(f, folder, QStringLiteral("console-gsm-settings")) && ok;
    click(f, f->LeggiGPRS);
    ok = save(f, folder, QStringLiteral("console-gprs-settings")) && ok;

    f->Crea_Tabella->setChecked(true);
    click(f, f->Acquisisci);
    QWidget* table = topLevel(QStringLiteral("TabellaDati"));
    ok = table && save(table, folder, QStringLiteral("data-table")) && ok;
    if (table)
        table->hide();
    showPageOf(f, f->Acquisisci);
    f->File1->setCurrentRow(0);
    ok = save(f, folder, QStringLiteral("console-after-download")) && ok;
    ok = photographRemainingData(f, folder) && ok;
    ok = photographModemWindow(f, rig.folder.path(), folder) && ok;

    // The historical chart of a yearly file holding March, a reading every ten minutes.
    QTemporaryDir yearly;
    const QString data = yearly.filePath(QStringLiteral("data_2026.txt"));
    GraficoStorico* chart =
        YearlyFileMaker::write(data, 8, QDateTime(QDate(2026, 3, 1), QTime(0, 0)), 31 * 144, 600)
            ? GraficoStorico::openYearlyFile(data)
            : nullptr;
    ok = chart && save(chart, folder, QStringLiteral("historical-chart")) && ok;
    return ok ? 0 : 1;
}
