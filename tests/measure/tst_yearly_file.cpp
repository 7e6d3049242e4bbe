// The yearly file: its name and title line, the operator's number clean-up, what of a
// block is kept, and appends that leave whole lines only, even on a full disk.
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

const QByteArray title = "Date, CH0,\r\n";
const QByteArray a = "01/01/2026 00:00:00,1,";
const QByteArray b = "01/01/2026 00:10:00,2,";
const QByteArray c = "01/01/2026 00:20:00,3,";
const QByteArray crlf = "\r\n";

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
        QVERIFY(!QFile::exists(path + ".new"));
        QVERIFY(YearlyFile::appendBlock(path, "01/01/2026 00:00:00,1,2,"));
        QString error;
        QVERIFY(!YearlyFile::create(path, 5, &error));
        QVERIFY(!error.isEmpty());
        QCOMPARE(fileBytes(path), QByteArray("Date, CH0, CH1,\r\n01/01/2026 00:00:00,1,2,\r\n"));
    }

    // Exactly once: what the file already ends with (a block appended by a download that
    // died before confirming it, sent again with what came since) is not added again; a
    // block torn by that death is completed; a last line without a line end that is not
    // the block's does not take the block's first line onto itself.
    void appendsExactlyOnce_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("block");
        QTest::addColumn<QByteArray>("after");
        QTest::addColumn<qsizetype>("alreadyThere");
        const QByteArray ab = a + crlf + b;
        QTest::newRow("new") << title << ab << title + ab + crlf << qsizetype(0);
        QTest::newRow("the same block again") << title + ab + crlf << ab << title + ab + crlf << ab.size();
        QTest::newRow("again with more") << title + a + crlf << ab + crlf + c << title + ab + crlf + c + crlf
                                         << qsizetype(a.size() + 2);
        QTest::newRow("torn") << title + a + crlf + b.left(7) << ab << title + ab + crlf
                              << qsizetype(a.size() + 2 + 7);
        QTest::newRow("torn in its line end") << title + a + "\r" << a << title + a + crlf << a.size();
        QTest::newRow("a line of another's") << title + "edited by hand" << a
                                             << title + "edited by hand" + crlf + a + crlf << qsizetype(0);
        QTest::newRow("not at a line start") << title + "9" + a + crlf << a << title + "9" + a + crlf + a + crlf
                                             << qsizetype(0);
        QTest::newRow("an older record") << title + a + crlf + b + crlf << a << title + a + crlf + b + crlf + a + crlf
                                         << qsizetype(0);
    }
    void appendsExactlyOnce()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, block);
        QFETCH(QByteArray, after);
        QFETCH(qsizetype, alreadyThere);
        const QString path = dir.filePath(QStringLiteral("once.txt"));
        QVERIFY(writeFileBytes(path, before));
        const std::optional<YearlyFile::Appended> done = YearlyFile::appendBlock(path, block);
        QVERIFY(done);
        QCOMPARE(fileBytes(path), after);
        QCOMPARE(done->alreadyThere, alreadyThere);
        QCOMPARE(done->written, after.size() - before.size());
    }

    // What a download that died left is put right before the next one writes: a title file
    // not yet in place goes; a file an older check left renamed aside gets its name back;
    // with both names taken nothing is touched, and the reason is given.
    void leftoversOfADownloadThatDied()
    {
        const QString path = dir.filePath(QStringLiteral("data_2031.txt"));
        QVERIFY(writeFileBytes(path + ".new", title));
        QCOMPARE(YearlyFile::tidy(path), QString());
        QVERIFY(!QFile::exists(path + ".new") && !QFile::exists(path));

        QVERIFY(writeFileBytes(path + ".temp", title + a + crlf));
        QCOMPARE(YearlyFile::tidy(path), QString());
        QCOMPARE(fileBytes(path), title + a + crlf);
        QVERIFY(!QFile::exists(path + ".temp"));

        // Given its name back by a link, and the program died before the old name went.
        QCOMPARE(::link(QFile::encodeName(path).constData(), QFile::encodeName(path + ".temp").constData()), 0);
        QCOMPARE(YearlyFile::tidy(path), QString());
        QCOMPARE(fileBytes(path), title + a + crlf);
        QVERIFY(!QFile::exists(path + ".temp"));

        QVERIFY(writeFileBytes(path + ".temp", title + b + crlf));
        const QString said = YearlyFile::tidy(path);
        QVERIFY2(said.startsWith(path + ".temp stands beside " + path), qPrintable(said));
        QCOMPARE(fileBytes(path), title + a + crlf);
        QCOMPARE(fileBytes(path + ".temp"), title + b + crlf);
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
