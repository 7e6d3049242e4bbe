// Every file the program writes, against a full disk: the write is reported as failed,
// the file that was there holds exactly what it held, and no temporary file is left.
// The files that are replaced go through a temporary file; the files only appended to
// take a piece whole or not at all.
#include "data/continuous_file.h"
#include "data/logout_file.h"
#include "data/phone_book.h"
#include "data/port_settings.h"
#include "data/text_file.h"
#include "data/yearly_export.h"
#include "data/yearly_file.h"
#include "data/yearly_table.h"
#include "data/com_ports.h"
#include "data/program_folder.h"
#include "support/file_bytes.h"
#include "support/file_size_limit.h"

#include <QDir>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QtTest>

#include <functional>

namespace {

// Far more than the limit of the test leaves room for.
QString longText() { return QString(3000, QLatin1Char('x')); }

struct Writer {
    const char* file;       // the file as the program names it
    const char* how;        // how it is written
    std::function<bool(const QString& path)> write;  // writes new content to path
};

QList<Writer> writers()
{
    const QStringList values(210, longText());
    return {
        {"rk550.ini", "replaced", [](const QString& p) { return PortSettings::save(p, 123456789); }},
        {"modem.ini", "replaced", [values](const QString& p) { return PhoneBook::writeBook(p, values); }},
        {"ftp.ini", "replaced, owner only",
         [values](const QString& p) { return PhoneBook::writeBook(p, values, TextFile::Access::OwnerOnly); }},
        {"pmodem.ini", "replaced", [](const QString& p) { return PhoneBook::writePort(p, 123456); }},
        {"last.ini", "replaced", [](const QString& p) { return PhoneBook::writeLines(p, QStringList(70, longText())); }},
        {"LOGOUT_x.txt", "replaced", [](const QString& p) {
             return LogoutFile::write(QFileInfo(p).path(), QStringLiteral("x.txt"),
                                      {{QStringLiteral("Name"), longText()}});
         }},
        {"memory download data file", "replaced",
         [](const QString& p) { return TextFile::replace(p, longText().toLatin1()); }},
        {"CSV export", "replaced", [](const QString& p) {
             return TextFile::replace(p, [](QIODevice& out) {
                 for (int i = 0; i < 100; ++i)
                     if (out.write(longText().toLatin1()) < 0)
                         return false;
                 return true;
             });
         }},
        {"mc_ file", "appended", [](const QString& p) { return ContinuousFile::appendLine(p, longText()); }},
        {"data_YEAR.txt", "appended", [](const QString& p) { return YearlyFile::appendBlock(p, longText().toLatin1()).has_value(); }},
    };
}

} // namespace

class FileAuditTest : public QObject {
    Q_OBJECT

private slots:
    void aFullDiskLosesNothing_data()
    {
        QTest::addColumn<int>("index");
        const QList<Writer> all = writers();
        for (int i = 0; i < all.size(); ++i)
            QTest::newRow(all[i].file) << i;
    }
    void aFullDiskLosesNothing()
    {
        QFETCH(int, index);
        const Writer w = writers().at(index);
        QTemporaryDir dir;
        const QString path = w.file == QByteArray("LOGOUT_x.txt") ? dir.filePath("LOGOUT_x.txt")
                                                                  : dir.filePath("file.txt");
        const QByteArray before = "what the file held before,\r\n";
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(before);
        }
        bool written = true;
        {
            const FileSizeLimit fullDisk(8);  // less than any new content, or than the file
            QVERIFY(fullDisk.active());
            written = w.write(path);
        }
        QVERIFY2(!written, w.how);
        QCOMPARE(fileBytes(path), before);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{QFileInfo(path).fileName()});
        // With room again, the same write succeeds: the failure was the disk's alone.
        QVERIFY(w.write(path));
        QVERIFY(fileBytes(path) != before);
    }

    // A file created by a write that fails is not left behind half made.
    void aFullDiskCreatesNothingHalfMade()
    {
        QTemporaryDir dir;
        const QString yearly = dir.filePath("data_2026.txt");
        const QString book = dir.filePath("modem.ini");
        {
            const FileSizeLimit fullDisk(16);
            QVERIFY(!YearlyFile::create(yearly, 40));
            QVERIFY(!PhoneBook::writeBook(book, QStringList(210, longText())));
        }
        QVERIFY(!QFile::exists(yearly));
        QVERIFY(!QFile::exists(book));
        // comports.ini, made with its defaults when missing: none rather than half a file,
        // and the defaults still apply.
        {
            const FileSizeLimit fullDisk(16);
            QCOMPARE(ComPorts::device(dir.path(), 1), QStringLiteral("/dev/ttyUSB0"));
        }
        QVERIFY(QDir(dir.path()).entryList(QDir::Files).isEmpty());
    }
};

QTEST_GUILESS_MAIN(FileAuditTest)
#include "tst_file_audit.moc"
