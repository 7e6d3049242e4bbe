// The yearly file: its name and title line, the operator's number clean-up, what of a
// block is kept, and appends that leave whole lines only, even on a full disk.
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

} // namespace

class YearlyFileTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void nameAndTitle()
    {
        QCOMPARE(YearlyFile::path(QStringLiteral("/data"), 2026), QStringLiteral("/data/data_2026.txt"));
        QCOMPARE(YearlyFile::titleLine(3), QByteArray("Date, CH0, CH1, CH2,"));
        QCOMPARE(YearlyFile::titleLine(12).right(6), QByteArray(" CH11,"));
    }

    void operatorNumbers()
    {
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("2.026")), std::optional<int>(2026));
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("2,026")), std::optional<int>(2026));
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("-5")), std::optional<int>(5));
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral(" 30 ")), std::optional<int>(30));
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("1e3")), std::nullopt);
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("99999999999")), std::nullopt);
        QCOMPARE(YearlyFile::cleanNumber(QStringLiteral("..")), std::nullopt);
    }

    // The last two characters go (the line break before the end marker), then the
    // blanks; the datalogger's own line breaks inside stay.
    void blockText()
    {
        QCOMPARE(YearlyFile::blockText("01/02/2026 10:00:00,1.5,\r\n02/02/2026 10:00:00,1.6,\r\n"),
                 QByteArray("01/02/2026 10:00:00,1.5,\r\n02/02/2026 10:00:00,1.6,"));
        QCOMPARE(YearlyFile::blockText("  a,b,\r\n"), QByteArray("a,b,"));
        QCOMPARE(YearlyFile::blockText("ab"), QByteArray("ab"));
        QCOMPARE(YearlyFile::blockText("   \r\n"), QByteArray());
    }

    // Created once, with its title; never created over a file that is there.
    // A block garbled on the line is told by its first line that is no record.
    void garbledLines()
    {
        const QByteArray sound = "01/02/2026 10:00:00,1.5, -2.25e1,,\r\n2/2/2026 10:00,1600,\r\n\r\n"
                                 "2026-02-02 10.10,1601,\r\n";
        QCOMPARE(YearlyFile::garbledLine(sound), QByteArray());
        QCOMPARE(YearlyFile::garbledLine(""), QByteArray());
        QCOMPARE(YearlyFile::garbledLine("01/02/2026 10:00:00,1.5,\r\n01/02/2026 10:10:00,1?#x,\r\n"),
                 QByteArray("01/02/2026 10:10:00,1?#x,"));
        QCOMPARE(YearlyFile::garbledLine("0#/02/2026 10:00:00,1.5,"), QByteArray("0#/02/2026 10:00:00,1.5,"));
        QCOMPARE(YearlyFile::garbledLine("READY\r\nS2"), QByteArray("READY"));
    }

    void creationNeverTouchesAnExistingFile()
    {
        const QString path = dir.filePath(QStringLiteral("data_2026.txt"));
        QVERIFY(YearlyFile::create(path, 2));
        QCOMPARE(fileBytes(path), QByteArray("Date, CH0, CH1,\r\n"));
        QVERIFY(YearlyFile::appendBlock(path, "01/01/2026 00:00:00,1,2,"));
        QString error;
        QVERIFY(!YearlyFile::create(path, 5, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("Date, CH0, CH1,\r\n01/01/2026 00:00:00,1,2,\r\n"));
    }

    // A block that does not fit on the disk leaves the file exactly as it was, so the
    // datalogger, not told to forget it, sends it again next time.
    void aFullDiskLeavesTheFileAsItWas()
    {
        const QString path = dir.filePath(QStringLiteral("full.txt"));
        QVERIFY(YearlyFile::create(path, 1));
        QVERIFY(YearlyFile::appendBlock(path, "01/01/2026 00:00:00,1,"));
        const QByteArray before = fileBytes(path);
        QString error;
        {
            const FileSizeLimit fullDisk(before.size() + 10);
            QVERIFY(fullDisk.active());
            QVERIFY(!YearlyFile::appendBlock(path, "02/01/2026 00:00:00,2,\r\n03/01/2026 00:00:00,3,", &error));
            QVERIFY(!YearlyFile::create(dir.filePath(QStringLiteral("new.txt")), 400, &error));
        }
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(path), before);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("new.txt"))));
        QVERIFY(YearlyFile::appendBlock(path, "02/01/2026 00:00:00,2,"));
        QCOMPARE(fileBytes(path), before + "02/01/2026 00:00:00,2,\r\n");
    }
};

QTEST_GUILESS_MAIN(YearlyFileTest)
#include "tst_yearly_file.moc"
