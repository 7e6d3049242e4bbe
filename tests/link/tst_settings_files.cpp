// rk550.ini, comports.ini, the program's folder and paths in it.
#include "data/port_settings.h"
#include "data/com_ports.h"
#include "data/program_folder.h"
#include "link/serial_port.h"
#include "support/file_bytes.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

} // namespace

class TestSettingsFiles : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void lastPortRoundTrip()
    {
        const QString ini = PortSettings::iniPath(dir.path());
        QCOMPARE(ini, dir.filePath("rk550.ini"));
        QFile::remove(ini);
        bool ok = false;
        QCOMPARE(PortSettings::load(ini, &ok), 0);  // first run: created empty
        QVERIFY(ok);
        QCOMPARE(fileBytes(ini), QByteArray());
        QVERIFY(PortSettings::save(ini, 3));
        QCOMPARE(fileBytes(ini), QByteArray(" 3 \r\n"));
        QCOMPARE(PortSettings::load(ini), 3);
    }

    void loadTakesTheLastNumber_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("port");
        QTest::addColumn<bool>("ok");
        QTest::newRow("several lines") << QByteArray(" 2 \r\n 7 \r\n 4 \r\n") << 4 << true;
        QTest::newRow("commas") << QByteArray("1,6,") << 6 << true;
        QTest::newRow("no line end") << QByteArray("5") << 5 << true;
        QTest::newRow("blank lines only") << QByteArray("\r\n\r\n  ") << 0 << true;
        QTest::newRow("text") << QByteArray("COM3\r\n") << 0 << false;
        QTest::newRow("number then text") << QByteArray(" 3 \r\nzz") << 0 << false;
        QTest::newRow("out of range") << QByteArray("99999") << 0 << false;
    }
    void loadTakesTheLastNumber()
    {
        QFETCH(QByteArray, content);
        QFETCH(int, port);
        QFETCH(bool, ok);
        const QString ini = dir.filePath("rk550.ini");
        writeFile(ini, content);
        bool readOk = true;
        QCOMPARE(PortSettings::load(ini, &readOk), port);
        QCOMPARE(readOk, ok);
    }

    void unwritableFolderDoesNotStopAnything()
    {
        const QString ini = "/proc/no-such-folder/rk550.ini";
        QCOMPARE(PortSettings::load(ini), 0);
        QVERIFY(!PortSettings::save(ini, 2));
    }

    void comPortsFileIsCreatedWithDefaults()
    {
        QFile::remove(dir.filePath("comports.ini"));
        const QStringList d = ComPorts::devices(dir.path());
        QCOMPARE(d.size(), 8);
        QCOMPARE(d[0], QStringLiteral("/dev/ttyUSB0"));
        QCOMPARE(d[3], QStringLiteral("/dev/ttyUSB3"));
        QCOMPARE(d[4], QStringLiteral("/dev/ttyS0"));
        QCOMPARE(d[7], QStringLiteral("/dev/ttyS3"));
        QVERIFY(QFile::exists(dir.filePath("comports.ini")));
        QCOMPARE(ComPorts::device(dir.path(), 0), QString());
        QCOMPARE(ComPorts::device(dir.path(), 9), QString());
    }

    void comPortsLinesNameTheDevices()
    {
        writeFile(dir.filePath("comports.ini"), "/tmp/sim/ttySIM\n\n  /dev/ttyACM0  \n");
        QCOMPARE(ComPorts::device(dir.path(), 1), QStringLiteral("/tmp/sim/ttySIM"));
        QCOMPARE(ComPorts::device(dir.path(), 2), QStringLiteral("/dev/ttyUSB1"));  // empty line: default
        QCOMPARE(ComPorts::device(dir.path(), 3), QStringLiteral("/dev/ttyACM0"));
        QCOMPARE(ComPorts::device(dir.path(), 8), QStringLiteral("/dev/ttyS3"));
    }

    // A binary or over-long line names no device: the port takes its default, as for an
    // empty line, and the fault names the file and the line, printable and short. A lone
    // CR ends a line too.
    void comPortsLinesThatNameNoDevice()
    {
        const QString path = dir.filePath("comports.ini");
        writeFile(path, QByteArray("\x7f" "ELF\x02\x01\x00\x00\n", 9) + QByteArray(5000, 'a')
                            + "\r/dev/ttyACM0\r\n\xff\xfe\n/dev/ttyAMA0\n");
        QCOMPARE(ComPorts::devices(dir.path()), (QStringList{"/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyUSB3",
                                                   "/dev/ttyAMA0", "/dev/ttyS1", "/dev/ttyS2", "/dev/ttyS3"}));
        QCOMPARE(ComPorts::fault(dir.path(), 1), path + QStringLiteral(":1: holds bytes that are not text "
                                                          "(\"\\x7fELF\\x02\\x01\\x00\\x00\"); "
                                                          "COM 1 uses /dev/ttyUSB0 instead"));
        QCOMPARE(ComPorts::fault(dir.path(), 2), path + QStringLiteral(":2: is longer than a device path can be (4096 bytes): \"")
                                         + QString(40, QLatin1Char('a'))
                                         + QStringLiteral("...\"; COM 2 uses /dev/ttyUSB1 instead"));
        QVERIFY(ComPorts::fault(dir.path(), 4).contains(QStringLiteral(":4: holds bytes that are not text (\"\\xff\\xfe\")")));
        for (int n : {3, 5, 6, 0, 9})
            QCOMPARE(ComPorts::fault(dir.path(), n), QString());

        // A failed open says which line was passed over.
        if (QFile::exists(QStringLiteral("/dev/ttyUSB0")))
            QSKIP("this machine has a /dev/ttyUSB0");
        SerialPort port;
        port.setPortNames(ComPorts::names(dir.path()));
        port.setPortNumber(1);
        QVERIFY(!port.open());
        QVERIFY2(port.errorText().endsWith(QLatin1Char('(') + ComPorts::fault(dir.path(), 1) + QLatin1Char(')')),
                 qPrintable(port.errorText()));
    }

    void pathsNeverDoubleTheSlash()
    {
        QCOMPARE(joinPath("/", "LOGOUT_x.txt"), QStringLiteral("/LOGOUT_x.txt"));
        QCOMPARE(joinPath("/home/op", "LOGOUT_"), QStringLiteral("/home/op/LOGOUT_"));
        QCOMPARE(joinPath("/home/op/", "a"), QStringLiteral("/home/op/a"));
    }

    // A build folder keeps the files beside the executable; an installed program (its
    // desktop entry beside its bin folder) keeps them in the user's folder, even when
    // whoever runs it may write into the bin folder.
    void programFolderOfABuildAndOfAnInstall()
    {
        QTemporaryDir root;
        const QString bin = root.filePath(QStringLiteral("usr/bin"));
        const QString user = root.filePath(QStringLiteral("home/.local/share/Quorvel"));
        QVERIFY(QDir().mkpath(bin));
        QCOMPARE(ProgramFolder::choose(bin, user), bin);
        QVERIFY(!QFileInfo::exists(user));

        QVERIFY(QDir().mkpath(root.filePath(QStringLiteral("usr/share/applications"))));
        QVERIFY(writeFileBytes(root.filePath(QStringLiteral("usr/share/applications/quorvel.desktop")),
                               "[Desktop Entry]\n"));
        QCOMPARE(ProgramFolder::choose(bin, user), user);
        QVERIFY(QFileInfo(user).isDir());
        QCOMPARE(ProgramFolder::choose(QString(), user), user);
    }
};

QTEST_GUILESS_MAIN(TestSettingsFiles)
#include "tst_settings_files.moc"
