// The phone-book files: the comma-and-line fields read as before, values that hold a comma
// or start with a quote written so that they come back, short and long files, and the
// book of passwords kept from other users.
#include "data/phone_book.h"
#include "data/settings_fields.h"
#include "support/file_bytes.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

namespace {

void writeAll(const QString& path, const QByteArray& content)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
}

int modeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 07777) : -1;
}

} // namespace

class TestPhoneBook : public QObject {
    Q_OBJECT

    QTemporaryDir dir;
    QString path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }

private slots:
    void fieldsOfThePlainLayout_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QStringList>("fields");
        QTest::newRow("one value a line") << QByteArray("PONTE1\r\n+39 333 1234567\r\n12/2026\r\n")
                                          << QStringList{"PONTE1", "+39 333 1234567", "12/2026"};
        QTest::newRow("empty lines are empty values") << QByteArray("\r\n\r\nx\r\n") << QStringList{"", "", "x"};
        QTest::newRow("leading blanks skipped, trailing kept") << QByteArray("   a b  \n") << QStringList{"a b  "};
        QTest::newRow("a comma splits a plain line") << QByteArray("Rossi, Mario\r\n123\r\n")
                                                     << QStringList{"Rossi", "Mario", "123"};
        QTest::newRow("comma at the line end") << QByteArray("a,\r\nb\r\n") << QStringList{"a", "", "b"};
        QTest::newRow("quote opens a field to the next quote") << QByteArray("\"x, y\" tail,z\r\n")
                                                               << QStringList{"x, y", "z"};
        QTest::newRow("unclosed quote ends at the line end") << QByteArray("\"open\r\nnext\r\n")
                                                             << QStringList{"open", "next"};
        QTest::newRow("last line without its end") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    }
    void fieldsOfThePlainLayout()
    {
        QFETCH(QByteArray, content);
        QFETCH(QStringList, fields);
        QCOMPARE(SettingsFields::read(content), fields);
    }

    // What the reader would split or trim goes between quotes; everything else is
    // written as before, so an old reader still loads it.
    void valuesComeBackWhole_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("written");
        QTest::newRow("plain") << "PONTE 1" << "PONTE 1";
        QTest::newRow("comma") << "Rossi, Mario" << "\"Rossi, Mario\"";
        QTest::newRow("leading quote") << "\"Ponte\" nord" << "\"\"\"Ponte\"\" nord\"";
        QTest::newRow("inner quote only") << "Ponte \"A\"" << "Ponte \"A\"";
        QTest::newRow("leading blank") << "  7" << "\"  7\"";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("only a comma") << "," << "\",\"";
    }
    void valuesComeBackWhole()
    {
        QFETCH(QString, value);
        QFETCH(QString, written);
        QCOMPARE(SettingsFields::write(value), written);
        QCOMPARE(SettingsFields::read(SettingsFields::write(value).toLatin1() + "\r\n"), QStringList{value});
    }

    void bookRoundTripKeepsEveryEntryInPlace()
    {
        QStringList values;
        for (int i = 0; i < PhoneBook::Entries; ++i)
            values << QStringLiteral("Station %1, east").arg(i) << QStringLiteral("\"%1\"").arg(i) << QString();
        const QString p = path("modem.ini");
        QVERIFY(PhoneBook::writeBook(p, values));
        const QByteArray file = fileBytes(p);
        QCOMPARE(file.count("\r\n"), qsizetype(3 * PhoneBook::Entries));
        QVERIFY(file.startsWith("\"Station 0, east\"\r\n\"\"\"0\"\"\"\r\n\r\n"));
        const PhoneBook::Values back = PhoneBook::readBook(p, 3 * PhoneBook::Entries);
        QVERIFY(back.complete);
        QCOMPARE(back.values, values);
    }

    // Whatever was typed or pasted into a book box: a line break would start a line of its
    // own and shift every entry after it; it is written as a blank. A character outside
    // Latin-1 cannot be stored and comes back "?".
    void typedTextsNeverShiftTheBook()
    {
        const QStringList typed = {QString(400, QLatin1Char('9')), "12,Q", "\"3\",\"V\"", "città € 数据",
                                   "1\t2\r\n\x01Y", "line\nbreak", "\r"};
        const QStringList expected = {QString(400, QLatin1Char('9')), "12,Q", "\"3\",\"V\"", "città ? ??",
                                      "1\t2  \x01Y", "line break", " "};
        QStringList values;
        for (int i = 0; i < PhoneBook::Entries; ++i)
            values << typed[i % typed.size()] << QString::number(i) << typed[(i + 3) % typed.size()];
        const QString p = path("modem.ini");
        QVERIFY(PhoneBook::writeBook(p, values));
        QCOMPARE(fileBytes(p).count("\r\n"), qsizetype(3 * PhoneBook::Entries));
        const PhoneBook::Values back = PhoneBook::readBook(p, 3 * PhoneBook::Entries);
        QVERIFY(back.complete);
        for (int i = 0; i < PhoneBook::Entries; ++i) {
            QCOMPARE(back.values[3 * i], expected[i % typed.size()]);
            QCOMPARE(back.values[3 * i + 1], QString::number(i));
            QCOMPARE(back.values[3 * i + 2], expected[(i + 3) % typed.size()]);
        }
    }

    void shortAndMissingFiles()
    {
        const QString missing = path("new.ini");
        const PhoneBook::Values none = PhoneBook::readBook(missing, 210);
        QVERIFY(!none.complete);
        QVERIFY(none.values.isEmpty());
        QVERIFY(QFile::exists(missing));  // created empty for the next save

        const QString shortBook = path("short.ini");
        writeAll(shortBook, "A\r\n1\r\nd\r\nB\r\n");
        const PhoneBook::Values some = PhoneBook::readBook(shortBook, 210);
        QVERIFY(!some.complete);
        QCOMPARE(some.values, (QStringList{"A", "1", "d", "B"}));
    }

    void lastConnectionLines()
    {
        const QString p = path("last.ini");
        QStringList dates;
        for (int i = 0; i < 75; ++i)
            dates << (i % 2 ? QString() : QStringLiteral("0%1/12/2026, ok").arg(i % 9));
        QVERIFY(PhoneBook::writeLines(p, dates));
        const QStringList back = PhoneBook::readLines(p, PhoneBook::Entries);
        QCOMPARE(back.size(), PhoneBook::Entries);  // a 71st line is not read
        QCOMPARE(back, dates.mid(0, PhoneBook::Entries));
        writeAll(p, "01/01/2026\n02/01/2026");
        QCOMPARE(PhoneBook::readLines(p, 70), (QStringList{"01/01/2026", "02/01/2026"}));
        writeAll(p, "");
        QCOMPARE(PhoneBook::readLines(p, 70), QStringList());
    }

    // A book of passwords is its owner's alone: when new, whatever the umask, and when
    // the file it replaces was readable by others.
    void passwordBookIsOwnerOnly()
    {
        const QString p = path("ftp.ini");
        const QByteArray name = QFile::encodeName(p);
        const mode_t umaskBefore = ::umask(0);
        const bool created = PhoneBook::writeBook(p, {"dir", "site", "user", "secret"}, TextFile::Access::OwnerOnly);
        ::umask(umaskBefore);
        QVERIFY(created);
        QCOMPARE(modeOf(p), 0600);
        QVERIFY(::chmod(name.constData(), 0644) == 0);
        QVERIFY(PhoneBook::writeBook(p, {"dir", "site", "user", "other"}, TextFile::Access::OwnerOnly));
        QCOMPARE(modeOf(p), 0600);
        QCOMPARE(PhoneBook::readBook(p, 4).values.value(3), QStringLiteral("other"));
    }

    void modemPort()
    {
        const QString p = path("pmodem.ini");
        QCOMPARE(PhoneBook::readPort(p), 0);
        QVERIFY(PhoneBook::writePort(p, 3));
        QCOMPARE(fileBytes(p), QByteArray(" 3 \r\n"));
        QCOMPARE(PhoneBook::readPort(p), 3);
        writeAll(p, " 2 \r\n 5 \r\n");
        QCOMPARE(PhoneBook::readPort(p), 5);  // the last value read
    }
};

QTEST_GUILESS_MAIN(TestPhoneBook)
#include "tst_phone_book.moc"
