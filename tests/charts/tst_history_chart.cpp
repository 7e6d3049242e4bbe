// The historical chart window: the day range and its messages, the label thinning, the
// channel colours, the export's bytes and its guards, and opening a yearly file, awkward
// or busy ones included.
#include "charts/history_chart_window.h"
#include "support/file_bytes.h"
#include "support/scripted_dialogs.h"
#include "support/test_link.h"
#include "support/yearly_file_maker.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// perDay readings a day from 1 March 2026, 00:00, every minute, with three channels.
QByteArray yearlyBytes(int days, int perDay, int channels = 3)
{
    QByteArray f = YearlyFileMaker::titleLine(channels);
    for (int d = 0; d < days; ++d) {
        for (int i = 0; i < perDay; ++i) {
            f += QStringLiteral("%1/03/2026 %2:%3:00,")
                     .arg(d + 1, 2, 10, QLatin1Char('0'))
                     .arg(i / 60, 2, 10, QLatin1Char('0'))
                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                     .toLatin1();
            for (int k = 0; k < channels; ++k)
                f += QByteArray::number(100 * (k + 1) + d + i * 0.5, 'f', 1) + ',';
            f += "\r\n";
        }
    }
    return f;
}

YearlyTable tableOf(const QByteArray& bytes)
{
    YearlyTable t;
    t.parse(bytes);
    return t;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void tickOnly(HistoryChartWindow& g, const QList<int>& channels)
{
    for (int k = 0; k < 8; ++k)
        g.channelBoxes[k]->setChecked(channels.contains(k));
}

void draw(HistoryChartWindow& g, const QString& from, const QString& to)
{
    g.fromBox->setText(from);
    g.toBox->setText(to);
    QTest::mouseClick(g.drawButton, Qt::LeftButton);
}

} // namespace

class HistoryChartTest : public QObject {
    Q_OBJECT
    ToScriptedDialogs boxes;
private slots:
    void sameDateInBothBoxesShowsThatDayOnly()
    {
        ScriptedDialogs d;
        HistoryChartWindow g(boxes, tableOf(yearlyBytes(3, 30)));
        g.showChannelBoxes(3);
        tickOnly(g, {1});
        draw(g, QStringLiteral("02/03/2026"), QStringLiteral(" 02/03/2026 "));
        QVERIFY(d.shown.isEmpty());
        QCOMPARE(g.drawn().start, 31);
        QCOMPARE(g.drawn().end, 60);
        QCOMPARE(g.chart->categoryCount(), 30);
        QCOMPARE(g.chart->seriesCount(), 1);
        QCOMPARE(g.chart->seriesName(0), QStringLiteral("CH1"));
        const QList<QPointF> points = g.chart->drawnPoints(0);
        QCOMPARE(points.size(), 30);
        QCOMPARE(points.first(), QPointF(0, 201));
        QCOMPARE(points.last(), QPointF(29, 201 + 29 * 0.5));
        for (const QString& label : g.chart->labels())
            QVERIFY2(label.startsWith(QStringLiteral("02/03/2026")), qPrintable(label));
        QVERIFY(g.chart->legendVisible());
    }

    void outsideTheFileTheChartIsEmpty()
    {
        ScriptedDialogs d;
        HistoryChartWindow g(boxes, tableOf(yearlyBytes(3, 10)));
        g.showChannelBoxes(3);
        tickOnly(g, {0, 2});
        draw(g, QString(), QStringLiteral("28/02/2026"));  // "to" before the first date
        QCOMPARE(g.chart->seriesCount(), 0);
        QVERIFY(g.drawn().isEmpty());
        draw(g, QStringLiteral("04/03/2026"), QString());  // "from" after the last date
        QCOMPARE(g.chart->seriesCount(), 0);
        QCOMPARE(g.chart->categoryCount(), 1);
        draw(g, QString(), QString());
        QCOMPARE(g.chart->seriesCount(), 2);
        QCOMPARE(g.chart->categoryCount(), 30);
        tickOnly(g, {});
        QTest::mouseClick(g.drawButton, Qt::LeftButton);
        QCOMPARE(g.chart->seriesCount(), 0);
        QVERIFY(d.shown.isEmpty());
    }

    void eachDateMessageForItsCase_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("message");
        QTest::newRow("from not a date") << "1 marzo" << "" << "Specificare una data di inizio valida.";
        QTest::newRow("from impossible") << "30/02/2026" << "02/03/2026" << "Specificare una data di inizio valida.";
        QTest::newRow("to not a date") << "01/03/2026" << "03/2026" << "Specificare una data di fine valida.";
        QTest::newRow("to before from") << "03/03/2026" << "02/03/2026"
                                        << "La data di fine deve essere successiva alla data di inizio.";
        QTest::newRow("both empty") << " " << "" << "";
        QTest::newRow("same day") << "02/03/2026" << "02/03/2026" << "";
    }

    void eachDateMessageForItsCase()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QString, message);
        ScriptedDialogs d;
        HistoryChartWindow g(boxes, tableOf(yearlyBytes(3, 10)));
        g.showChannelBoxes(3);
        g.show();
        tickOnly(g, {0});
        draw(g, QString(), QString());
        QVERIFY(g.exportButton->isEnabled());
        QTest::mouseClick(g.channelBoxes[1], Qt::LeftButton, {}, QPoint(8, g.channelBoxes[1]->height() / 2));
        QVERIFY(!g.exportButton->isEnabled());
        draw(g, from, to);
        if (message.isEmpty()) {
            QVERIFY(d.shown.isEmpty());
            QVERIFY(g.exportButton->isEnabled());
            QCOMPARE(g.chart->seriesCount(), 2);
            return;
        }
        QCOMPARE(d.shown.size(), 1);
        QCOMPARE(d.shown[0].text, message);
        QCOMPARE(d.shown[0].title, QStringLiteral("Azione annullata"));
        // Nothing drawn: the chart and the export still hold the last drawing.
        QCOMPARE(g.chart->seriesCount(), 1);
        QCOMPARE(g.drawn().channels, QList<int>{0});
        QVERIFY(!g.exportButton->isEnabled());
    }

    void labelsThinnedPastTwentyCategories()
    {
        HistoryChartWindow g(boxes, tableOf(yearlyBytes(1, 60)));
        g.showChannelBoxes(3);
        tickOnly(g, {0});
        g.fillChart();
        QCOMPARE(g.chart->categoryCount(), 60);
        QCOMPARE(g.chart->labelStep(), 3);
        QList<int> every3rd;
        for (int c = 0; c < 60; c += 3)
            every3rd << c;
        QCOMPARE(g.chart->labelledCategories(), every3rd);
        QCOMPARE(g.chart->labels()[1], QStringLiteral("01/03/2026 00:03:00"));

        HistoryChartWindow h(boxes, tableOf(yearlyBytes(1, 25)));
        h.showChannelBoxes(3);
        tickOnly(h, {0});
        h.fillChart();
        QCOMPARE(h.chart->labelStep(), 1);
        QCOMPARE(h.chart->labelledCategories().size(), 25);
    }

    void channelColoursAndBoxes()
    {
        HistoryChartWindow g(boxes, tableOf(yearlyBytes(1, 5, 8)));
        g.showChannelBoxes(8);
        g.show();
        tickOnly(g, {0, 1, 2, 3, 4, 5, 6, 7});
        g.fillChart();
        const int rgb[8][3] = {{240, 0, 0},   {40, 40, 40},  {0, 0, 240},  {0, 140, 140},
                               {140, 0, 140}, {140, 140, 0}, {80, 0, 240}, {0, 80, 240}};
        QCOMPARE(g.chart->seriesCount(), 8);
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(g.chart->seriesName(k), QStringLiteral("CH%1").arg(k));
            QCOMPARE(g.chart->seriesPen(k), (LineChart::Pen{QColor(rgb[k][0], rgb[k][1], rgb[k][2]), false, 1}));
        }
        g.showChannelBoxes(5);
        for (int k = 0; k < 8; ++k)
            QCOMPARE(g.channelBoxes[k]->isVisible(), k < 5);
        QCOMPARE(g.windowTitle(), QStringLiteral("Grafici"));
        QCOMPARE(g.channelBoxes[3]->accessibleName(), QStringLiteral("CH3"));
        QCOMPARE(g.fromBox->accessibleName(), QStringLiteral("Dal"));
    }

    void exportWritesTheDrawnRowsAndChannels()
    {
        ScriptedDialogs d;
        QTemporaryDir dir;
        const QByteArray file = "Date, CH0, CH1, CH2,\r\n"
                                "01/03/2026 10:00:00,1.5,2.5,3.5,\r\n"
                                "02/03/2026 10:00:00, 4.0,%%,6.25,\r\n"
                                "02/03/2026 11:00:00,7,8\r\n"
                                "03/03/2026 10:00:00,9,10,11,\r\n";
        HistoryChartWindow g(boxes, tableOf(file));
        g.showChannelBoxes(3);
        tickOnly(g, {0, 2});
        draw(g, QStringLiteral("02/03/2026"), QStringLiteral("02/03/2026"));
        const QString path = dir.filePath("giorno.csv");
        d.paths << path;
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QCOMPARE(fileBytes(path), QByteArray("Date;CH0;CH2\r\n"
                                            "02/03/2026 10:00:00; 4.0;6.25\r\n"
                                            "02/03/2026 11:00:00;7;\r\n"));
        QCOMPARE(d.shown.size(), 1);
        QCOMPARE(d.shown[0].text, QStringLiteral("Dati esportati nel file ") + path + QStringLiteral("."));
        QCOMPARE(d.shown[0].title, QStringLiteral("Esportazione dati"));

        // A name without an extension gets ".csv"; cancelling the dialog writes nothing.
        d.paths << dir.filePath("tutto") << QString();
        draw(g, QString(), QString());
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QCOMPARE(fileBytes(dir.filePath("tutto.csv")).count('\n'), 5);
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QCOMPARE(d.shown.size(), 2);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), 2);
    }

    void exportGuards()
    {
        ScriptedDialogs d;
        QTemporaryDir dir;
        const QString yearly = dir.filePath("data_2026.txt");
        writeFile(yearly, yearlyBytes(2, 5));
        YearlyTable t;
        QVERIFY(t.load(yearly));
        HistoryChartWindow g(boxes, std::move(t), yearly);
        g.showChannelBoxes(3);
        tickOnly(g, {0});
        draw(g, QString(), QString());

        // Never over the yearly file itself.
        d.paths << yearly;
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QCOMPARE(fileBytes(yearly), yearlyBytes(2, 5));
        QVERIFY(d.texts().last().contains(QStringLiteral("è il file dei dati")));

        // A target another program holds: the operator cancels and it is left alone.
        const QString busy = dir.filePath("aperto.csv");
        writeFile(busy, "in a spreadsheet");
        writeFile(dir.filePath(".~lock.aperto.csv#"), "user");
        d.paths << busy;
        d.answers << Dialogs::Answer::Cancel;
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QCOMPARE(fileBytes(busy), QByteArray("in a spreadsheet"));
        QVERIFY(d.texts().last().contains(QStringLiteral("è occupato")));

        // A folder that does not exist: the failure is said, not reported as done.
        d.paths << dir.filePath("nowhere/x.csv");
        QTest::mouseClick(g.exportButton, Qt::LeftButton);
        QVERIFY(d.texts().last().startsWith(QStringLiteral("Impossibile scrivere il file ")));
    }

    void openingAYearlyFile()
    {
        ScriptedDialogs d;
        QTemporaryDir dir;
        const QString path = dir.filePath("data_2026.txt");
        QCOMPARE(HistoryChartWindow::openYearlyFile(boxes, path), nullptr);
        QCOMPARE(d.shown.size(), 1);
        QCOMPARE(d.shown[0].text, QStringLiteral("Data not found."));
        QCOMPARE(d.shown[0].title, QStringLiteral("Canceled"));

        writeFile(path, yearlyBytes(2, 40, 5));
        QPointer<HistoryChartWindow> g = HistoryChartWindow::openYearlyFile(boxes, path);
        QVERIFY(g);
        QVERIFY(g->isVisible());
        for (int k = 0; k < 8; ++k) {
            QCOMPARE(g->channelBoxes[k]->isVisible(), k < 5);
            QCOMPARE(g->channelBoxes[k]->isChecked(), k < 5);
        }
        QCOMPARE(g->chart->seriesCount(), 5);
        QCOMPARE(g->chart->categoryCount(), 80);
        QVERIFY(g->exportButton->isEnabled());
        QSignalSpy closed(g.data(), &HistoryChartWindow::closed);
        QTest::mouseClick(g->closeButton, Qt::LeftButton);
        QCOMPARE(closed.size(), 1);
        QTRY_VERIFY(!g);  // unloaded

        // A file another program holds is not read when the operator gives up.
        writeFile(dir.filePath(".~lock.data_2026.txt#"), "user");
        d.answers << Dialogs::Answer::Cancel;
        QCOMPARE(HistoryChartWindow::openYearlyFile(boxes, path), nullptr);
        QVERIFY(d.texts().last().contains(QStringLiteral("è occupato")));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!w->isVisible());
    }

    void awkwardFilesOpen_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("channels");
        QTest::addColumn<int>("rows");
        QTest::newRow("empty") << QByteArray() << 0 << 0;
        QTest::newRow("only a title") << QByteArray("Date, CH0, CH1,\r\n") << 2 << 0;
        QTest::newRow("no trailing comma") << QByteArray("Date, CH0, CH1\r\n01/03/2026 10:00:00,1,2\r\n") << 1 << 1;
        QTest::newRow("short and blank lines")
            << QByteArray("Date, CH0, CH1,\r\n01/03/2026 10:00:00,1\r\n\r\n\n01/03/2026 10:02:00,\r\n") << 2 << 4;
        // The line with a control byte is no row.
        QTest::newRow("LF and garbage") << QByteArray("Date, CH0,\nx,y\n\xff\xfe,\x01\n") << 1 << 1;
    }

    void awkwardFilesOpen()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, channels);
        QFETCH(int, rows);
        ScriptedDialogs d;
        QTemporaryDir dir;
        const QString path = dir.filePath("data_2026.txt");
        writeFile(path, file);
        QPointer<HistoryChartWindow> g = HistoryChartWindow::openYearlyFile(boxes, path);
        QVERIFY(g);
        QCOMPARE(g->table().seriesCount(), channels);
        QCOMPARE(g->drawn().rowCount(), rows);
        QCOMPARE(g->chart->seriesCount(), rows > 0 ? channels : 0);
        draw(*g, QStringLiteral("01/03/2026"), QStringLiteral("01/03/2026"));
        d.paths << dir.filePath("out.csv");
        QTest::mouseClick(g->exportButton, Qt::LeftButton);
        QVERIFY(fileBytes(dir.filePath("out.csv")).startsWith("Date"));
        g->close();
        QTRY_VERIFY(!g);
    }

    // A file with lines that are not readings opens on its readings and says how many
    // lines are not, and where the first is.
    void linesThatAreNotReadingsAreSaid_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("message");
        const QByteArray year = yearlyBytes(1, 300);
        QByteArray tail;
        for (int i = 0; i < 2000; ++i)
            tail += char((i * 37 + 11) % 256);
        QTest::newRow("binary tail") << year + tail << 300
                                     << "data_2026.txt: 9 lines are not readings (the first is line 302); "
                                        "they are not drawn.";
        QTest::newRow("NUL bytes and garbage")
            << year.left(year.indexOf("01/03/2026 00:10")) + QByteArray(12, '\0') + "\r\nnot a reading,5,\r\n"
                   + year.mid(year.indexOf("01/03/2026 00:10"))
            << 301
            << "data_2026.txt: 2 lines are not readings (the first is line 12); 1 of them is not text and is "
               "not drawn; of the others only the numbers are drawn.";
        QTest::newRow("one line of text") << year + "?\r\n" << 301
                                          << "data_2026.txt: 1 line is not a reading (line 302); only the "
                                             "numbers in it are drawn.";
        QByteArray cr = year;
        cr.replace("\r\n", "\r");
        QTest::newRow("CR line ends") << cr << 300 << QString();
    }

    void linesThatAreNotReadingsAreSaid()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, rows);
        QFETCH(QString, message);
        ScriptedDialogs d;
        QTemporaryDir dir;
        const QString path = dir.filePath("data_2026.txt");
        writeFile(path, file);
        QPointer<HistoryChartWindow> g = HistoryChartWindow::openYearlyFile(boxes, path);
        QVERIFY(g);
        QCOMPARE(g->drawn().rowCount(), rows);
        QCOMPARE(g->chart->seriesCount(), 3);
        QCOMPARE(g->chart->drawnPoints(0).first(), QPointF(0, 100));
        QCOMPARE(d.texts(), message.isEmpty() ? QStringList() : QStringList{message});
        if (!message.isEmpty())
            QCOMPARE(d.shown[0].title, QStringLiteral("Grafici"));
        g->close();
        QTRY_VERIFY(!g);
    }

    // Many more rows than pixel columns: every peak is still drawn, and at most two
    // points per column.
    void aLongFileIsDrawnReducedWithItsPeaks()
    {
        QByteArray file = yearlyBytes(30, 1440, 2);
        const QByteArray spike = "15/03/2026 12:00:00,";
        const int at = int(file.indexOf(spike)) + spike.size();
        file.replace(at, int(file.indexOf(',', at)) - at, "99999");
        HistoryChartWindow g(boxes, tableOf(file));
        g.showChannelBoxes(2);
        g.show();
        tickOnly(g, {0});
        g.fillChart();
        const QList<QPointF> points = g.chart->drawnPoints(0);
        QVERIFY(points.size() <= 2 * g.chart->plotColumns());
        QVERIFY(points.contains(QPointF(14 * 1440 + 720, 99999)));
        QCOMPARE(g.chart->pointsReceived(0), 30 * 1440);
        QCOMPARE(g.chart->labelledCategories().size(), 20);
    }
};

QTEST_MAIN(HistoryChartTest)
#include "tst_history_chart.moc"
