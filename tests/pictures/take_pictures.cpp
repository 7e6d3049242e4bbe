// Takes the README's pictures of the windows that need a datalogger's data: the sensor
// window, the console after a download, and the data table. Run by scripts/screenshots
// with the directory to write into; not a test.
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "sensors/sensori_an.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
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

    f->Crea_Tabella->setChecked(true);
    click(f, f->Acquisisci);
    QWidget* table = topLevel(QStringLiteral("TabellaDati"));
    ok = table && save(table, folder, QStringLiteral("data-table")) && ok;
    if (table)
        table->hide();
    showPageOf(f, f->Acquisisci);
    f->File1->setCurrentRow(0);
    ok = save(f, folder, QStringLiteral("console-after-download")) && ok;
    return ok ? 0 : 1;
}
