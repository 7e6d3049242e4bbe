// The memory downloads against the simulator holding known records: every data file is
// compared byte for byte with one built here from the simulator's state dump, and the
// failures leave an earlier file of the same name as it was.
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/general_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "data/coefficient_table.h"
#include "data/conversions.h"
#include "sensors/sensor_window.h"
#include "support/file_bytes.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QDate>
#include <QJsonArray>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTimer>

#include <cmath>

namespace {

// Known records: per record its values, temperatures and rain-gauge count.
struct Known {
    QString time;
    QString values;
    QString temperatures;
    int rain = 0;
};

QString writeRecords(const QString& folder, const QList<Known>& records)
{
    const QString path = folder + QStringLiteral("/records.txt");
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    for (const Known& k : records)
        f.write(QStringLiteral("%1;%2;%3;%4\n").arg(k.time, k.values, k.temperatures).arg(k.rain).toLatin1());
    return path;
}

QByteArray ten(const QString& text) { return text.left(10).leftJustified(10).toLatin1(); }

// The expected conversions, written out here rather than taken from the program.
QString shortest(double v) { return QString::number(v, 'g', 15); }
QString analog(const QString& sent)
{
    QString t = QString::number(sent.toDouble(), 'f', 3);
    while (t.endsWith('0') && t.indexOf('.') < t.size() - 2)
        t.chop(1);
    return t;
}
QString temperature(const QString& sent)
{
    const double v = sent.toDouble();
    if (v < -30 || v > 80)
        return QStringLiteral("**N.C.**");
    const QString digits = QString::number(std::fabs(v), 'f', 1).rightJustified(5, '0');
    return (v < 0 ? QStringLiteral("-") : QString()) + digits;
}

struct Expect {
    bool temperatures = false;
    bool digits = false;
    bool rain = false;
    int model = 1;
    QStringList tableLines;  // the analog model's sensor table
};

// Everything after the header line.
QByteArray expectedBody(const QJsonArray& memory, const Expect& e)
{
    QByteArray out;
    if (!e.temperatures) {
        out += "\r\n";
        if (e.model != 0)
            out += e.digits ? "VALUE IN (HZ^2)/1000 'DIGITS'\r\n" : "VALUE IN HZ \r\n";
        for (const QString& line : e.tableLines)
            out += line.toLatin1() + "\r\n";
    }
    out += "\r\n\r\n\r\n\r\n\r\n";
    for (const QJsonValue& v : memory) {
        const QJsonObject r = v.toObject();
        const QStringList s = r["stamp"].toString().split(',');
        out += (s[0] + '/' + s[1] + '/' + s[2] + ' ' + s[3] + '.' + s[4] + '.' + s[5] + "   ").toLatin1();
        const QJsonArray values = r[e.temperatures ? "temperatures" : "values"].toArray();
        for (const QJsonValue& x : values) {
            const QString sent = x.toString();
            QString shown;
            if (e.temperatures)
                shown = temperature(sent);
            else if (e.model == 0)
                shown = analog(sent);
            else
                shown = e.digits ? shortest(sent.toDouble() * sent.toDouble() / 1000) : shortest(sent.toDouble());
            out += ',' + ten(shown);
        }
        if (e.rain)
            out += ',' + ten(QString::number(r["rain"].toInt()));
        out += "\r\n";
    }
    return out;
}

const QList<Known> threeRecords = {
    {"2026-12-07T10:15:30", "1234.5 987 2500.25", "-30 80 21.3", 0},
    {"2026-12-07T10:25:30", "1234.6 988.5 400", "-30.5 80.5 -0.4", 5},
    {"2026-01-02T03:04:05", "4000 0.5 1000", "0 -12.5 79.9", 12},
};

} // namespace

class MemoryDownloadTest : public QObject {
    Q_OBJECT

    QTemporaryDir records;

    // A console connected to a simulator with the given records and options, named PONTE1.
    std::unique_ptr<ConsoleRig> connected(const QStringList& simArgs, const QList<Known>& known = threeRecords)
    {
        QStringList args = simArgs;
        if (!known.isEmpty())
            args << "--records" << writeRecords(records.path(), known);
        auto rig = std::make_unique<ConsoleRig>(QStringList{"--name", "PONTE1"} + args);
        if (!rig->connect())
            return nullptr;
        setPausePercent(rig->link, 10);
        rig->datalogger.setModelCode(simArgs.contains("--model") ? 0 : 1);  // as "Connect" reads it
        ConsoleWindow* f = rig->console.get();
        f->show();
        f->general->nameBox->setText(QStringLiteral("PONTE1"));
        click(f, f->channels->readChannelsButton);
        return rig;
    }

    QString filePath(ConsoleRig& rig, const QString& suffix)
    {
        return rig.folder.filePath(QStringLiteral("PONTE1_") + QDate::currentDate().toString("dd_MM_yy")
                                   + suffix + QStringLiteral(".txt"));
    }

    // The header line, then the body compared whole.
    void compareFile(const QByteArray& file, int k, int n, const QByteArray& body)
    {
        const int end = int(file.indexOf("\r\n"));
        QVERIFY(end > 0);
        const QString header = QString::fromLatin1(file.left(end));
        const QRegularExpression shape(QStringLiteral(
            "^DATA ACQ\\.: \\d\\d/\\d\\d/\\d{4}  \\d\\d:\\d\\d:\\d\\d,Numero Canali Attivi: %1 ,"
            "Numero Dati per Canale:      %2$").arg(QRegularExpression::escape(Numbers::signedText(k)),
                                                   QRegularExpression::escape(Numbers::signedText(n))));
        QVERIFY2(shape.match(header).hasMatch(), qPrintable(header));
        QCOMPARE(file.mid(end + 2), body);
    }

private slots:
    void sensorFileOfTheVibratingWireModel_data()
    {
        QTest::addColumn<bool>("digits");
        QTest::addColumn<bool>("rain");
        QTest::newRow("Hz") << false << false;
        QTest::newRow("digits with the rain gauge") << true << true;
    }
    void sensorFileOfTheVibratingWireModel()
    {
        QFETCH(bool, digits);
        QFETCH(bool, rain);
        auto rig = connected({"--channels", "3,0,0,0", "--events", rain ? "1" : "0"});
        QVERIFY(rig);
        ConsoleWindow* f = rig->console.get();
        f->channels->eventsCounterSwitch->setChecked(rain);
        f->dataAcquisition->downloadKindOptions[digits ? 1 : 0]->setChecked(true);
        f->dataAcquisition->createTableBox->setChecked(true);
        click(f, f->dataAcquisition->acquireButton);

        Expect e;
        e.digits = digits;
        e.rain = rain;
        const QJsonArray memory = rig->sim.state()["memory"].toArray();
        QCOMPARE(memory.size(), 3);
        compareFile(fileBytes(filePath(*rig, "_SENS")), 3, 3, expectedBody(memory, e));
        QCOMPARE(rig->dialogs.texts(), QStringList{"Operation completed"});
        QCOMPARE(f->dataAcquisition->dataFileNameBox->text(), QStringLiteral("PONTE1_") + QDate::currentDate().toString("dd_MM_yy") + "_SENS.txt");
        QCOMPARE(boxColour(f->dataAcquisition->dataFileNameBox), BoxColour::StatusDone);
        QCOMPARE(f->dataAcquisition->progressBox->text(), QStringLiteral(" 100 %"));
        QCOMPARE(f->dataAcquisition->downloadProgress->value(), 100);
        QVERIFY(f->dataAcquisition->acquireButton->isEnabled() && f->general->readNameButton->isEnabled());
        QVERIFY(!f->dataAcquisition->cancelDownload->isEnabled());
        QCOMPARE(rig->dialogs.beeps, 3);
        // The data table, in a window of its own: headings, then the records as in the file.
        QTableView* table = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->objectName() == "TabellaDati" && w->isVisible())
                table = w->findChild<QTableView*>("Tabella_Dati");
        QVERIFY(table);
        const QAbstractItemModel* m = table->model();
        QCOMPARE(m->rowCount(), 3 + 5);
        QCOMPARE(m->columnCount(), rain ? 5 : 4);
        QCOMPARE(m->index(0, 0).data().toString(), QStringLiteral("Date"));
        QCOMPARE(m->index(0, 3).data().toString(), QStringLiteral("Ch2"));
        if (rain)
            QCOMPARE(m->index(0, 4).data().toString(), QStringLiteral("PLUVIO"));
        QCOMPARE(m->index(3, 0).data().toString(), QStringLiteral("02/01/2026 03.04.05"));
        QCOMPARE(m->index(2, rain ? 4 : 3).data().toString().trimmed(), rain ? QStringLiteral("5") : QStringLiteral("400"));
    }

    // The analog model's file lists every configured channel with the coefficients
    // written through the sensor window.
    void sensorFileOfTheAnalogModel()
    {
        const QList<Known> volts = {{"2026-12-07T10:15:30", "1.25 0.5 2.123", "20 20 20", 0},
                                    {"2026-12-07T10:25:30", "-0.75 10 3", "20 20 20", 0}};
        auto rig = connected({"--model", "0", "--channels", "2,1,0,0"}, volts);
        QVERIFY(rig);
        ConsoleWindow* f = rig->console.get();
        // The coefficients go through the sensor window, as the operator writes them.
        click(f, f->channels->sensorsButton);
        SensorWindow* sensors = visibleWindow<SensorWindow>();
        QVERIFY(sensors);
        const auto write = [sensors](int mux, QStringList values) {
            QTest::mouseClick(sensors->readButtons[mux], Qt::LeftButton);
            QLineEdit* row[4] = {sensors->zeroVoltBoxes[0], sensors->fullScaleVoltBoxes[0], sensors->zeroUnitBoxes[0], sensors->fullScaleUnitBoxes[0]};
            for (int i = 0; i < 4; ++i)
                row[i]->setText(values[i]);
            QTest::mouseClick(sensors->writeButtons[mux], Qt::LeftButton);
        };
        write(0, {"0", "2.5", "0", "100"});  // row 1 of MUX0 goes back as it was read
        write(1, {"-1", "1", "-12.25", "123456789"});
        sensors->close();
        QVERIFY(f->isVisible());
        QCOMPARE(rig->testLink.datalogger.coefficients()[16].fullScaleUnit, 123456789.0);
        click(f, f->dataAcquisition->acquireButton);

        Expect e;
        e.model = 0;
        const auto line = [](const char* channel, QStringList coefficients) {
            QString text = QStringLiteral("CANALE: ") + channel + "  " + QString(10, ' ');
            for (const QString& c : coefficients)
                text += "  " + c.rightJustified(8);
            return text;
        };
        e.tableLines = {line("00", {" 0", " 2.5", " 0", " 100"}), line("01", {" 0", " 2.5", " 0", " 100"}),
                        line("16", {"-1", " 1", "-12.25", " 123456789"})};
        compareFile(fileBytes(filePath(*rig, "_SENS")), 3, 2, expectedBody(rig->sim.state()["memory"].toArray(), e));
    }

    void temperatureFileMarksReadingsOutOfRange()
    {
        auto rig = connected({"--channels", "3,0,0,0"});
        QVERIFY(rig);
        ConsoleWindow* f = rig->console.get();
        click(f, f->dataAcquisition->acquireTemperaturesButton);
        Expect e;
        e.temperatures = true;
        const QByteArray file = fileBytes(filePath(*rig, "_TEMP"));
        compareFile(file, 3, 3, expectedBody(rig->sim.state()["memory"].toArray(), e));
        QVERIFY(file.contains(",-030.0    ,080.0     ,021.3     \r\n"));
        QVERIFY(file.contains(",**N.C.**  ,**N.C.**  ,-000.4    \r\n"));
        QVERIFY(f->dataAcquisition->dataFileNameBox->text().endsWith(QStringLiteral("_TEMP.txt")));
    }

    // A datalogger that does not answer the download is no empty memory: the day's file
    // is not replaced by one without records.
    void silentDataloggerWritesNoFile()
    {
        auto rig = connected({"--channels", "3,0,0,0", "--fault-silent-cmds", "A"});
        QVERIFY(rig);
        setFieldTimeout(rig->link, 400);
        ConsoleWindow* f = rig->console.get();
        QVERIFY(writeFileBytes(filePath(*rig, "_SENS"), "the morning's download\r\n"));
        click(f, f->dataAcquisition->acquireButton);
        QCOMPARE(fileBytes(filePath(*rig, "_SENS")), QByteArray("the morning's download\r\n"));
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QVERIFY(rig->dialogs.shown[0].text.startsWith(QStringLiteral("The datalogger did not answer.")));
        QVERIFY(f->dataAcquisition->acquireButton->isEnabled());
    }

    // Failures write nothing: an earlier file of the same name stays byte for byte.
    void failuresLeaveTheEarlierFile_data()
    {
        QTest::addColumn<QStringList>("simArgs");
        QTest::addColumn<QString>("message");
        QTest::newRow("5001 records") << QStringList{"--preload", "5001", "--channels", "1,0,0,0"}
                                      << "more records than can be downloaded";
        QTest::newRow("100000 records") << QStringList{"--preload", "100000", "--channels", "1,0,0,0"}
                                        << "more records than can be downloaded";
        QTest::newRow("129 columns") << QStringList{"--fault-columns", "129"}
                                     << "more values per record than can be stored";
        QTest::newRow("garbled value") << QStringList{"--fault-at", "A:8:garbage"} << "garbled field (record 1";
        QTest::newRow("link dropped halfway")
            << QStringList{"--preload", "400", "--channels", "8,0,0,0", "--fault-drop-after", "18000"}
            << "stopped sending during the download";
    }
    void failuresLeaveTheEarlierFile()
    {
        QFETCH(QStringList, simArgs);
        QFETCH(QString, message);
        auto rig = connected(simArgs, simArgs.contains("--preload") ? QList<Known>{} : threeRecords);
        QVERIFY(rig);
        setFieldTimeout(rig->link, 3000);
        ConsoleWindow* f = rig->console.get();
        const QString path = filePath(*rig, "_SENS");
        {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("an earlier download\r\n");
        }
        QElapsedTimer t;
        t.start();
        click(f, f->dataAcquisition->acquireButton);
        QVERIFY2(t.elapsed() < 15000, qPrintable(QString::number(t.elapsed())));
        QCOMPARE(fileBytes(path), QByteArray("an earlier download\r\n"));
        QVERIFY2(rig->dialogs.texts().join('|').contains(message), qPrintable(rig->dialogs.texts().join('|')));
        QVERIFY(f->dataAcquisition->acquireButton->isEnabled() && f->general->readNameButton->isEnabled());
        QCOMPARE(rig->link.commandLockDepth(), 0);
        QCOMPARE(QDir(rig->folder.path()).entryList({"PONTE1_*"}, QDir::Files | QDir::Hidden).size(), 1);
    }

    // Cancel ends a long download at once, writes nothing and frees the console.
    void cancelEndsTheDownloadCleanly()
    {
        auto rig = connected({"--preload", "3000", "--channels", "16,16,0,0", "--baud", "57600"}, {});
        QVERIFY(rig);
        ConsoleWindow* f = rig->console.get();
        const QString path = filePath(*rig, "_SENS");
        {
            QFile earlier(path);
            QVERIFY(earlier.open(QIODevice::WriteOnly));
            earlier.write("kept");
        }
        // Cancelled once the download has shown some progress.
        int progressSeen = -1;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, f, [&] {
            if (progressSeen >= 0 || f->dataAcquisition->downloadProgress->value() < 1)
                return;
            progressSeen = f->dataAcquisition->downloadProgress->value();
            QVERIFY(f->dataAcquisition->cancelDownload->isEnabled());
            QVERIFY(!f->general->readNameButton->isEnabled());
            QTest::mouseClick(f->dataAcquisition->cancelDownload, Qt::LeftButton);
        });
        watch.start(20);
        QElapsedTimer t;
        t.start();
        click(f, f->dataAcquisition->acquireButton);
        QVERIFY2(t.elapsed() < 10000, qPrintable(QString::number(t.elapsed())));
        QVERIFY(progressSeen >= 1 && progressSeen < 100);
        QCOMPARE(fileBytes(path), QByteArray("kept"));
        QCOMPARE(f->dataAcquisition->dataFileNameBox->text(), QStringLiteral("Download cancelled"));
        // A slow line goes on sending the rest of the reply: the operator is told.
        QCOMPARE(rig->dialogs.shown.size(), 1);
        QVERIFY(rig->dialogs.shown.first().text.contains("still sending"));
        QVERIFY(f->dataAcquisition->acquireButton->isEnabled() && f->general->readNameButton->isEnabled());
        QVERIFY(!rig->link.exchangesAbandoned());
        QCOMPARE(rig->link.commandLockDepth(), 0);
    }
};

QTEST_MAIN(MemoryDownloadTest)
#include "tst_memory_download.moc"
