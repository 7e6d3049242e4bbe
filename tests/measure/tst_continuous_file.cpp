// The "mc_" file: its name, its reading times, and appending that never touches what
// is already on disk.
#include "data/continuous_file.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

class ContinuousFileTest : public QObject {
    Q_OBJECT
private slots:
    void nameHasAOneDigitMinuteAndPaddedFields()
    {
        QCOMPARE(ContinuousFile::name(QDateTime(QDate(2026, 12, 7), QTime(10, 5, 30))),
                 QStringLiteral("mc_07-12-2026_10.5.30.txt"));
        QCOMPARE(ContinuousFile::name(QDateTime(QDate(2027, 1, 2), QTime(3, 45, 6))),
                 QStringLiteral("mc_02-01-2027_03.45.06.txt"));
        QCOMPARE(ContinuousFile::readingTime(QDateTime(QDate(2027, 1, 2), QTime(3, 4, 6))),
                 QStringLiteral("02/01/2027 03:04:06"));
    }

    // Each line is on disk, ended by CR LF, as soon as appendLine returns; what was
    // there is kept; a line that cannot be written is reported, not passed over.
    void linesAreAppendedAndFailuresReported()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("mc_x.txt"));
        QVERIFY(ContinuousFile::create(path));
        QVERIFY(ContinuousFile::appendLine(path, ContinuousFile::startMarker));
        QVERIFY(ContinuousFile::appendLine(path, ContinuousFile::joinRow({"Date", "CH 0"})));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[INIZIO DATI]\r\nDate,CH 0\r\n"));
        f.close();
        QVERIFY(ContinuousFile::appendLine(path, QStringLiteral("01/02/2027 10:00:00,1234.5")));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(),
                 QByteArray("[INIZIO DATI]\r\nDate,CH 0\r\n01/02/2027 10:00:00,1234.5\r\n"));

        QString error;
        QVERIFY(!ContinuousFile::appendLine(dir.filePath(QStringLiteral("gone/mc.txt")),
                                            QStringLiteral("x"), &error));
        QVERIFY(!error.isEmpty());
        if (QFile::exists(QStringLiteral("/dev/full"))) {
            error.clear();
            QVERIFY(!ContinuousFile::appendLine(QStringLiteral("/dev/full"), QStringLiteral("x"), &error));
            QVERIFY(!error.isEmpty());
        }
    }
};

QTEST_GUILESS_MAIN(ContinuousFileTest)
#include "tst_continuous_file.moc"
