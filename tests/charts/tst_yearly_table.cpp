// The yearly file read in one pass: the same table as a plain two-pass reading of the
// file on awkward content, numbers and dates as the datalogger writes them, date ranges,
// the export's bytes, and the min/max reduction of a whole column.
#include "data/decimation.h"
#include "data/text_file.h"
#include "data/yearly_export.h"
#include "data/yearly_table.h"

#include <QBuffer>
#include <QDateTime>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

namespace {

// The file read the plain way: count the lines and the title's commas, then cut every
// line into at most c + 1 comma-terminated fields, a last text without a comma being one
// more field, and pad the short lines.
struct TwoPass {
    QList<QStringList> rows;
    int columns = 0;
};

TwoPass readTwoPass(const QByteArray& bytes)
{
    TwoPass t;
    QList<QByteArray> lines = bytes.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();  // the line end of the last line starts no new line
    for (QByteArray& l : lines) {
        if (l.endsWith('\r'))
            l.chop(1);
    }
    if (lines.isEmpty())
        return t;
    t.columns = int(lines.first().count(',')) + 1;
    for (const QByteArray& l : lines) {
        QStringList fields;
        QByteArray rest = l;
        while (!rest.isEmpty() && fields.size() < t.columns) {
            const int comma = int(rest.indexOf(','));
            if (comma < 0) {
                fields << QString::fromLatin1(rest);
                break;
            }
            fields << QString::fromLatin1(rest.left(comma));
            rest = rest.mid(comma + 1);
        }
        while (fields.size() < t.columns)
            fields << QString();
        t.rows << fields;
    }
    return t;
}

double numberOf(const QString& text)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(v) ? v : std::nan("");
}

qint64 stampOf(const QString& text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char(' '));
    if (parts.size() != 2)
        return YearlyTable::noStamp;
    const QDate d = QDate::fromString(parts[0], QStringLiteral("dd/MM/yyyy"));
    const QTime t = QTime::fromString(parts[1], QStringLiteral("hh:mm:ss"));
    if (!d.isValid() || !t.isValid())
        return YearlyTable::noStamp;
    return d.toJulianDay() * 86400 + t.msecsSinceStartOfDay() / 1000;
}

bool sameNumber(double a, double b) { return (std::isnan(a) && std::isnan(b)) || a == b; }

YearlyTable tableOf(const QByteArray& bytes)
{
    YearlyTable t;
    t.parse(bytes);
    return t;
}

qint64 dayOf(const char* text) { return *YearlyDates::parseDay(QString::fromLatin1(text)); }

} // namespace

class YearlyTableTest : public QObject {
    Q_OBJECT
private slots:
    void onePassEqualsTwoPasses_data()
    {
        QTest::addColumn<QByteArray>("file");
        const QByteArray title = "Date, CH0, CH1, CH2,\r\n";
        QTest::newRow("as downloaded") << title + "01/03/2026 10:00:00,1.5,2.5,3.5,\r\n"
                                                  "01/03/2026 10:01:00,1.6,2.6,3.6,\r\n";
        QTest::newRow("LF line ends") << QByteArray("Date, CH0, CH1,\n01/03/2026 10:00:00,1,2,\n"
                                                    "01/03/2026 10:01:00,3,4,\n");
        QTest::newRow("last field without a comma")
            << title + "01/03/2026 10:00:00,1,2,3\r\n01/03/2026 10:01:00,4,5\r\n01/03/2026 10:02:00\r\n";
        QTest::newRow("short lines padded")
            << title + "01/03/2026 10:00:00,1,\r\n01/03/2026 10:01:00,\r\n,\r\n";
        QTest::newRow("long lines cut") << title + "01/03/2026 10:00:00,1,2,3,4,5,6,\r\n"
                                                   "01/03/2026 10:01:00,1,2,3,,x\r\n";
        QTest::newRow("blank lines") << title + "\r\n01/03/2026 10:00:00,1,2,3,\r\n\r\n\n"
                                                "01/03/2026 10:01:00,4,5,6,\r\n\r\n";
        QTest::newRow("no line end at the end") << title + "01/03/2026 10:00:00,1,2,3,";
        QTest::newRow("empty fields") << title + ",,,,\r\n01/03/2026 10:00:00,,7,,\r\n";
        QTest::newRow("bad dates and values")
            << title + "32/03/2026 10:00:00,%%,Timeout,12abc,\r\n01/03/2026 25:00:00, 4 ,+5,-6e1,\r\n"
                       "hello,nan,inf, ,\r\n";
        QTest::newRow("only a title") << QByteArray("Date, CH0, CH1,\r\n");
        QTest::newRow("title without line end") << QByteArray("Date, CH0,");
        QTest::newRow("empty file") << QByteArray();
        QTest::newRow("a single line end") << QByteArray("\r\n");
        QTest::newRow("title without commas") << QByteArray("Date\r\n01/03/2026 10:00:00,1,2,\r\n");
        QTest::newRow("title with one comma") << QByteArray("Date,\r\n01/03/2026 10:00:00,1,\r\n");
        QTest::newRow("a lone CR stays in the text") << title + "01/03/2026 10:00:00,1\r2,3,4,\r\n";
    }

    void onePassEqualsTwoPasses()
    {
        QFETCH(QByteArray, file);
        const TwoPass expected = readTwoPass(file);
        const YearlyTable t = tableOf(file);
        QCOMPARE(t.rowCount(), int(expected.rows.size()));
        QCOMPARE(t.columnCount(), expected.columns);
        QCOMPARE(t.seriesCount(), std::max(0, expected.columns - 2));
        for (int r = 0; r < t.rowCount(); ++r) {
            for (int c = 0; c < t.columnCount(); ++c)
                QCOMPARE(t.text(r, c), expected.rows[r][c]);
            if (r == 0)
                continue;
            QCOMPARE(t.stamp(r), stampOf(expected.rows[r][0]));
            for (int k = 0; k < t.seriesCount(); ++k) {
                const double want = numberOf(expected.rows[r][k + 1]);
                QVERIFY2(sameNumber(t.value(r, k), want),
                         qPrintable(QStringLiteral("row %1 channel %2").arg(r).arg(k)));
                QVERIFY(sameNumber(t.values(k)[r], want));
            }
        }
        // Outside the table: blanks, never a fault.
        QCOMPARE(t.text(t.rowCount(), 0), QString());
        QCOMPARE(t.text(0, t.columnCount()), QString());
        QVERIFY(std::isnan(t.value(t.rowCount(), 0)));
    }

    // Lines that are not readings are counted and the first one's number kept; those with
    // control bytes are no rows, the other rows are as they were. CR-only line ends.
    void linesThatAreNotReadings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<int>("rows");
        QTest::addColumn<int>("notReadings");
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("leftOut");
        const QByteArray title = "Date, CH0, CH1,\r\n";
        const QByteArray a = "01/03/2026 10:00:00,1.5,2.5,\r\n";
        const QByteArray b = "01/03/2026 10:01:00,1.6,2.6,\r\n";
        QTest::newRow("sound, blank values, odd numbers, more channels, blank lines")
            << title + a + "01/03/2026 10:02:00,,7,\r\n1-3-2026 10.03, +5 ,1e3,2d1,-.5,\r\n \t\r\n\r\n" + b
            << 7 << 0 << 0 << 0;
        QTest::newRow("text that is not a reading stays a row")
            << title + a + "garbage,1,2,\r\n01/03/2026 10:02:00,%%,Timeout,\r\n,,\r\n" + b << 6 << 3 << 3 << 0;
        QTest::newRow("NUL bytes") << title + a + QByteArray(40, '\0') + "\r\n01/03/2026 10:02:00,1" + QByteArray(1, '\0')
                                          + ",2,\r\n" + b
                                   << 3 << 2 << 3 << 2;
        QByteArray tail;
        for (int i = 0; i < 4096; ++i)
            tail += char((i * 37 + i / 256) % 256);
        QTest::newRow("binary tail") << title + a + b + tail << 3 << -1 << 4 << -1;
        QTest::newRow("CR line ends") << QByteArray("Date, CH0, CH1,\r01/03/2026 10:00:00,1,2,\r"
                                                    "01/03/2026 10:01:00,3,4,\r\n01/03/2026 10:02:00,5,6,\n"
                                                    "x\r01/03/2026 10:03:00,7,8,\r")
                                      << 6 << 1 << 5 << 0;
    }

    void linesThatAreNotReadings()
    {
        QFETCH(QByteArray, file);
        QFETCH(int, rows);
        QFETCH(int, notReadings);
        QFETCH(int, first);
        QFETCH(int, leftOut);
        const YearlyTable t = tableOf(file);
        QCOMPARE(t.rowCount(), rows);
        QCOMPARE(t.columnCount(), 4);
        QCOMPARE(t.firstNotReading(), qint64(first));
        if (notReadings < 0)  // every line of the tail: all left out
            QCOMPARE(t.leftOut(), t.notReadings());
        else
            QCOMPARE(t.notReadings(), qint64(notReadings));
        if (leftOut >= 0)
            QCOMPARE(t.leftOut(), qint64(leftOut));
        // The readings are whole whatever was around them.
        QVERIFY(t.text(1, 0).startsWith(QLatin1String("01/03/2026 10:00:00")));
        QVERIFY(t.value(1, 0) == 1.5 || t.value(1, 0) == 1);
        QVERIFY(t.text(rows - 1, 0).startsWith(QLatin1String("01/03/2026 10:0")));
        QVERIFY(!std::isnan(t.value(rows - 1, 1)));
    }

    void datesAsWrittenAndAsTyped()
    {
        const auto stamp = [](const char* s) { return YearlyDates::parseStamp(s, s + qstrlen(s)); };
        const qint64 march1 = QDate(2026, 3, 1).toJulianDay();
        QCOMPARE(stamp("01/03/2026 10:02:03"), std::optional<qint64>(march1 * 86400 + 36123));
        QCOMPARE(stamp(" 1/3/2026 7:05:09 "), std::optional<qint64>(march1 * 86400 + 25509));
        QCOMPARE(stamp("01/03/2026 10:02"), std::optional<qint64>(march1 * 86400 + 36120));
        QCOMPARE(stamp("01/03/2026"), std::optional<qint64>(march1 * 86400));
        for (const char* bad : {"", "29/02/2026 00:00:00", "01/13/2026", "01/03/26", "01/03/2026 24:00:00",
                                "01/03/2026 10:60:00", "01/03/2026x", "01/03/2026 10", "001/03/2026",
                                "01/03/2026 10:00:00 x", "a1/03/2026"})
            QVERIFY2(!stamp(bad), bad);
        QCOMPARE(YearlyDates::parseDay(QStringLiteral("1.3.2026")), std::optional<qint64>(march1));
        QCOMPARE(YearlyDates::parseDay(QStringLiteral("01-03-2026")), std::optional<qint64>(march1));
        QVERIFY(!YearlyDates::parseDay(QStringLiteral("01/03/2026é")));
    }

    void rangesOfDays()
    {
        const YearlyTable t = tableOf("Date, CH0,\r\n"
                                      "28/02/2026 23:59:59,1,\r\n"  // 1
                                      "not a date,2,\r\n"           // 2
                                      "01/03/2026 00:00:00,3,\r\n"  // 3
                                      "01/03/2026 12:00:00,4,\r\n"  // 4
                                      "03/03/2026 08:00:00,5,\r\n"  // 5
                                      "bad,6,\r\n");                // 6
        const auto range = [&](std::optional<qint64> from, std::optional<qint64> to) {
            const YearlyTable::Range r = t.rowsBetween(from, to);
            return r.isEmpty() ? QPair<int, int>(0, 0) : QPair<int, int>(r.start, r.end);
        };
        QCOMPARE(range({}, {}), QPair(1, 6));  // no bound: every line, dated or not
        QCOMPARE(range(dayOf("01/03/2026"), dayOf("01/03/2026")), QPair(3, 4));
        QCOMPARE(range(dayOf("01/03/2026"), {}), QPair(3, 5));
        QCOMPARE(range({}, dayOf("01/03/2026")), QPair(1, 4));
        QCOMPARE(range({}, dayOf("28/02/2026")), QPair(1, 1));
        QCOMPARE(range(dayOf("04/03/2026"), {}), QPair(0, 0));  // after the last date
        QCOMPARE(range({}, dayOf("27/02/2026")), QPair(0, 0));  // before the first date
        QCOMPARE(range(dayOf("02/03/2026"), dayOf("02/03/2026")), QPair(0, 0));  // a day with no line
        QVERIFY(tableOf("Date, CH0,\r\n").rowsBetween({}, {}).isEmpty());
        QVERIFY(tableOf("").rowsBetween(dayOf("01/03/2026"), {}).isEmpty());
    }

    void exportWritesTheFieldsAsInTheFile()
    {
        const YearlyTable t = tableOf("Date, CH0, CH1, CH2,\r\n"
                                      "01/03/2026 10:00:00, 1.50,2,3.25,\r\n"
                                      "01/03/2026 10:01:00,%%,5,6,\r\n"
                                      "01/03/2026 10:02:00,7\r\n");
        QBuffer out;
        out.open(QIODevice::WriteOnly);
        QVERIFY(YearlyExport::write(out, t, 1, 3, {0, 2}));
        QCOMPARE(out.data(), QByteArray("Date;CH0;CH2\r\n"
                                        "01/03/2026 10:00:00; 1.50;3.25\r\n"
                                        "01/03/2026 10:01:00;%%;6\r\n"
                                        "01/03/2026 10:02:00;7;\r\n"));
        QBuffer none;
        none.open(QIODevice::WriteOnly);
        QVERIFY(YearlyExport::write(none, t, 1, 0, {1}));
        QCOMPARE(none.data(), QByteArray("Date;CH1\r\n"));
    }

    void aFailedWriteLeavesTheOldFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("export.csv");
        QVERIFY(TextFile::replace(path, QByteArray("old export\r\n")));
        const bool ok = TextFile::replace(path, [](QIODevice& out) {
            out.write(QByteArray(3 << 20, 'x'));
            return false;  // a write that failed half way
        });
        QVERIFY(!ok);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("old export\r\n"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"export.csv"});
    }

    void loadReportsAFileThatCannotBeRead()
    {
        QTemporaryDir dir;
        YearlyTable t = tableOf("Date, CH0,\r\n01/03/2026 10:00:00,1,\r\n");
        QString error;
        QVERIFY(!t.load(dir.filePath("missing.txt"), &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(t.rowCount(), 0);
        QVERIFY(!t.load(dir.path(), &error));  // a folder
    }

    void wholeColumnReductionKeepsEveryPeak()
    {
        std::vector<double> v(100000);
        for (size_t i = 0; i < v.size(); ++i)
            v[i] = std::sin(i * 0.001);
        v[12345] = 50;
        v[77777] = -50;
        v[500] = std::nan("");
        for (int i = 90000; i < 90400; ++i)
            v[i] = std::nan("");  // a gap: nothing drawn there
        const ReducedSeries r = reduceMinMax(v.data(), qsizetype(v.size()), 800);
        QVERIFY(r.points.size() <= 1600);
        QVERIFY(r.points.contains(QPointF(12345, 50)));
        QVERIFY(r.points.contains(QPointF(77777, -50)));
        QCOMPARE(r.low, -50.0);
        QCOMPARE(r.high, 50.0);
        QCOMPARE(r.finite, qint64(v.size()) - 401);
        for (int i = 1; i < r.points.size(); ++i)
            QVERIFY(r.points[i - 1].x() < r.points[i].x());
        for (const QPointF& p : r.points)
            QVERIFY(std::isfinite(p.y()) && (p.x() < 90000 || p.x() >= 90400));

        // A short series is drawn whole, NaNs left out.
        const double few[] = {1, std::nan(""), 3};
        QCOMPARE(reduceMinMax(few, 3, 800).points, (QList<QPointF>{{0, 1}, {2, 3}}));
        QVERIFY(reduceMinMax(few, 0, 800).points.isEmpty());
    }
};

QTEST_GUILESS_MAIN(YearlyTableTest)
#include "tst_yearly_table.moc"
