// The historical chart on a yearly file of 525,600 one-minute lines of 8 channels, each
// figure a ratio: the load and the export of one month against pandas doing the same work
// on the same file (timed inside its own process, start-up and imports left out); the
// drawing of the whole year against the drawing of one day; the memory while the year is
// loaded against the file's size. Best of 3 for every time.
#include "bench_result.h"
#include "charts/history_chart_window.h"
#include "data/text_file.h"
#include "data/yearly_export.h"
#include "data/yearly_table.h"
#include "support/scripted_dialogs.h"
#include "support/yearly_file_maker.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>

namespace {

const qint64 yearRows = 525600;
const int channels = 8;

// pandas reading the file with the same columns and dates, then writing March with ";".
const char* const pandasScript = R"PY(
import json, sys, time
import pandas as pd
path, out = sys.argv[1], sys.argv[2]
def load():
    df = pd.read_csv(path, usecols=range(9))
    df.columns = [c.strip() for c in df.columns]
    df["Date"] = pd.to_datetime(df["Date"], format="%d/%m/%Y %H:%M:%S")
    return df
def best(f):
    times = []
    for _ in range(3):
        t = time.perf_counter(); r = f(); times.append(time.perf_counter() - t)
    return min(times), r
load_s, df = best(load)
def export():
    m = df[(df["Date"] >= "2026-03-01") & (df["Date"] < "2026-04-01")]
    m.to_csv(out, sep=";", index=False)
    return len(m)
export_s, n = best(export)
print(json.dumps({"load": load_s, "export": export_s, "rows": len(df), "month": n}))
)PY";

qint64 statusKb(const char* key)
{
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(int(qstrlen(key))).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

double bestOf3(const std::function<void()>& work)
{
    double best = 1e30;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed() / 1e9);
    }
    return best;
}

const char* verdict(double ratio, double target) { return ratio <= target ? "met" : "NOT met"; }

// Disegna with the given boxes, painted at once.
void drawRange(HistoryChartWindow& g, const QString& from, const QString& to)
{
    g.fromBox->setText(from);
    g.toBox->setText(to);
    g.drawButton->click();
    g.chart->repaintNow();
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ScriptedDialogs dialogs;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("data_2026.txt"));
    const QString small = dir.filePath(QStringLiteral("data_small.txt"));
    if (!YearlyFileMaker::write(path, channels, QDateTime(QDate(2026, 1, 1), QTime(0, 0)), yearRows, 60)
        || !YearlyFileMaker::write(small, channels, QDateTime(QDate(2026, 1, 1), QTime(0, 0)), 1440, 60)) {
        std::fprintf(stderr, "bench: cannot write the yearly file in %s\n", qPrintable(dir.path()));
        return 1;
    }
    const qint64 size = QFileInfo(path).size();
    std::printf("historical chart, yearly file of %lld lines x %d channels, %.1f MB\n",
                yearRows, channels, size / 1e6);

    // (d) Memory: the window opened once on a small file first, so that what Qt sets up
    // for a chart window the first time is not counted against the year.
    if (HistoryChartWindow* warm = HistoryChartWindow::openYearlyFile(dialogs, small)) {
        warm->chart->repaintNow();
        delete warm;
    }
    QApplication::processEvents();
    const qint64 baseKb = statusKb("VmHWM:");
    HistoryChartWindow* year = HistoryChartWindow::openYearlyFile(dialogs, path);
    if (!year) {
        std::fprintf(stderr, "bench: the yearly file did not open\n");
        return 1;
    }
    QApplication::processEvents();
    year->chart->repaintNow();
    const qint64 peakKb = statusKb("VmHWM:");
    const double memory = (peakKb - baseKb) * 1024.0 / size;

    // (c) Drawing: the whole year against one day, through "Disegna" and a paint.
    const double drawYear = bestOf3([&] { drawRange(*year, QString(), QString()); });
    const double drawDay = bestOf3([&] {
        drawRange(*year, QStringLiteral("15/03/2026"), QStringLiteral("15/03/2026"));
    });

    // (b) Export of March: the window's range, then "Esporta in Excel" to a new file.
    const QString ours = dir.filePath(QStringLiteral("marzo.csv"));
    year->fromBox->setText(QStringLiteral("01/03/2026"));
    year->toBox->setText(QStringLiteral("31/03/2026"));
    const double exportOurs = bestOf3([&] {
        const YearlyTable::Range r = year->table().rowsBetween(
            YearlyDates::parseDay(year->fromBox->text()), YearlyDates::parseDay(year->toBox->text()));
        TextFile::replace(ours, [&](QIODevice& out) {
            return YearlyExport::write(out, year->table(), r.start, r.end, {0, 1, 2, 3, 4, 5, 6, 7});
        });
    });
    year->drawButton->click();
    dialogs.paths << dir.filePath(QStringLiteral("marzo_finestra.csv"));
    QElapsedTimer windowExport;
    windowExport.start();
    year->exportButton->click();
    const double exportWindow = windowExport.nsecsElapsed() / 1e9;
    const qint64 monthLines = [&] {
        QFile f(ours);
        return f.open(QIODevice::ReadOnly) ? f.readAll().count('\n') - 1 : -1;
    }();
    delete year;

    // (a) Load: one pass over the file into the table.
    const double loadOurs = bestOf3([&] {
        YearlyTable t;
        t.load(path);
    });

    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QString::fromLatin1(pandasScript), path,
                  dir.filePath(QStringLiteral("marzo_pandas.csv"))});
    python.waitForFinished(600000);
    const QJsonObject pandas = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    double loadRatio = std::nan(""), exportRatio = std::nan("");
    if (python.exitCode() != 0 || pandas.isEmpty()) {
        std::printf("pandas not available (%s): run scripts/setup\n",
                    qPrintable(QString::fromLocal8Bit(python.readAllStandardError()).trimmed()));
    } else {
        const double loadPandas = pandas.value("load").toDouble();
        const double exportPandas = pandas.value("export").toDouble();
        std::printf("pandas is timed inside its own process: interpreter start-up and imports excluded\n");
        std::printf("(a) load: ours %.3f s, pandas read_csv + dates %.3f s: ratio %.2f (target <= 1.0: %s)\n",
                    loadOurs, loadPandas, loadOurs / loadPandas, verdict(loadOurs / loadPandas, 1.0));
        std::printf("(b) export of March (%lld lines, pandas %lld, 8 channels): ours %.3f s, pandas "
                    "filter + to_csv %.3f s: ratio %.2f (target <= 1.0: %s)\n",
                    monthLines, qint64(pandas.value("month").toInteger()), exportOurs, exportPandas,
                    exportOurs / exportPandas,
                    verdict(exportOurs / exportPandas, 1.0));
        std::printf("    the window's \"Esporta in Excel\" with its file checks: %.3f s (ratio %.2f)\n",
                    exportWindow, exportWindow / exportPandas);
        loadRatio = loadOurs / loadPandas;
        exportRatio = exportOurs / exportPandas;
    }
    // Without pandas the two figures are reported as not measured, so the table shows them.
    reportResult("yearly_load_vs_pandas", loadRatio, 1,
                 "historical chart, load of a year of one-minute lines / pandas");
    reportResult("yearly_month_export_vs_pandas", exportRatio, 1,
                 "historical chart, export of one month / pandas");
    std::printf("(c) draw: year %.1f ms, one day %.1f ms: ratio %.2f (target <= 5: %s)\n",
                drawYear * 1e3, drawDay * 1e3, drawYear / drawDay, verdict(drawYear / drawDay, 5));
    std::printf("(d) memory while the year is loaded and drawn: %.1f MB over %.1f MB of file: "
                "ratio %.2f (target <= 4: %s)\n",
                (peakKb - baseKb) * 1024 / 1e6, size / 1e6, memory, verdict(memory, 4));
    reportResult("yearly_draw_year_vs_day", drawYear / drawDay, 5,
                 "historical chart, drawing the whole year / drawing one day");
    reportResult("yearly_memory_vs_file", memory, 4,
                 "historical chart, peak memory with the year loaded / file size");
    return 0;
}
