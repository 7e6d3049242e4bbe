// HistoryChartWindow: "Esporta in Excel", the drawn rows and channels to a ";" file.
#include "charts/history_chart_window.h"

#include "data/text_file.h"
#include "data/yearly_export.h"
#include "data/dialogs.h"
#include "data/file_checks.h"

#include <QFileInfo>
#include <QIODevice>

namespace {

const QString exportTitle = QStringLiteral("Esportazione dati");

bool sameFile(const QString& a, const QString& b)
{
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QFileInfo x(a), y(b);
    const QString cx = x.canonicalFilePath(), cy = y.canonicalFilePath();
    return (!cx.isEmpty() && cx == cy) || x.absoluteFilePath() == y.absoluteFilePath();
}

} // namespace

// The save dialog; a name typed without an extension gets ".csv".
QString HistoryChartWindow::exportPath()
{
    const QString folder = sourcePath_.isEmpty() ? QString() : QFileInfo(sourcePath_).absolutePath();
    QString path = dialogs_.saveFileName(exportTitle, folder, QStringLiteral("csv file (*.csv)"));
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() && !path.endsWith(QLatin1Char('.')))
        path += QStringLiteral(".csv");
    return path;
}

void HistoryChartWindow::exportDrawn()
{
    const QString path = exportPath();
    if (path.isEmpty())
        return;
    // The export replaces the file it is given: never the yearly file being drawn.
    if (sameFile(path, sourcePath_)) {
        dialogs_.inform(QStringLiteral("Il file ") + path
                             + QStringLiteral(" è il file dei dati: scegliere un altro nome."),
                         exportTitle, Dialogs::Icon::Warning);
        return;
    }
    if (FileChecks::fileInUse(dialogs_, path))
        return;
    const Drawn d = drawn_;
    const bool written = TextFile::replace(path, [this, &d](QIODevice& out) {
        return YearlyExport::write(out, table_, d.start, d.end, d.channels);
    });
    if (!written) {
        dialogs_.inform(QStringLiteral("Impossibile scrivere il file ") + path + QStringLiteral("."),
                         exportTitle, Dialogs::Icon::Warning);
        return;
    }
    dialogs_.inform(QStringLiteral("Dati esportati nel file ") + path + QStringLiteral("."),
                     exportTitle);
}
