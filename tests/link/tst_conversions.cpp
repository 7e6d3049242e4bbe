// Parsing reply fields, rounding, sign-position texts and display patterns.
#include "data/conversions.h"

#include <QtTest>

using namespace Numbers;

class TestConversions : public QObject {
    Q_OBJECT
private slots:
    // What may go out as text: printable Latin-1, nothing else.
    void whatFitsTheWire()
    {
        QVERIFY(Numbers::fitsTheWire(QStringLiteral("Città 12 ~")));
        QVERIFY(!Numbers::fitsTheWire(QStringLiteral("€")));
        for (const char16_t c : {u'\t', u'\r', u'\n', u'\x01', u'\x7f', u'\x85'})
            QVERIFY(!Numbers::fitsTheWire(QStringLiteral("a") + QChar(c)));
    }

    // What reads as a number whole: a sign, digits with a point, an exponent (E or D),
    // blanks around; nothing else, not even a lone point or sign.
    void wholeNumbers()
    {
        for (const char* yes : {"0", "-12", "+3.", ".5", " 1234.5 ", "1e3", "-2.5E-07", "4d2", "7\r\n"})
            QVERIFY2(Numbers::isNumeric(QString::fromLatin1(yes)), yes);
        for (const char* no : {"", " ", ".", "-", "+.", "1e", "1e+", "1.2.3", "12a", "1,5", "--1", "e5", "1 2",
                               "?#x", "\xb2"})
            QVERIFY2(!Numbers::isNumeric(QString::fromLatin1(no)), no);
        QVERIFY(!Numbers::isNumeric(QStringLiteral("\u0663")));  // a digit of another script
    }

    void leadingNumber_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("value");
        QTest::newRow("plain") << "12.50" << 12.5;
        QTest::newRow("leading blank") << " 7" << 7.0;
        QTest::newRow("blanks tabs line feeds inside") << "1 2\t3\n4" << 1234.0;
        QTest::newRow("digit then letter") << "5a" << 5.0;
        QTest::newRow("letter then digit") << "a5" << 0.0;
        QTest::newRow("empty field") << "" << 0.0;
        QTest::newRow("time-out mark") << "%%" << 0.0;
        QTest::newRow("comma ends the number") << "3,75" << 3.0;
        QTest::newRow("negative") << "-3.5" << -3.5;
        QTest::newRow("plus sign") << "+8" << 8.0;
        QTest::newRow("exponent E") << "1.5E3" << 1500.0;
        QTest::newRow("exponent D") << "2D-2" << 0.02;
        QTest::newRow("exponent without digits") << "4E" << 4.0;
        QTest::newRow("fraction only") << ".25" << 0.25;
        QTest::newRow("lone point") << "." << 0.0;
        QTest::newRow("carriage return stops") << "\r5" << 0.0;
        QTest::newRow("huge exponent") << "1E999" << 0.0;
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(Numbers::leadingNumber(text), value);
    }

    void rounding_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("2.5 to even") << "2.5" << 2;
        QTest::newRow("3.5 to even") << "3.5" << 4;
        QTest::newRow("-2.5 to even") << "-2.5" << -2;
        QTest::newRow("2.6 up") << "2.6" << 3;
        QTest::newRow("flag 1") << "1" << 1;
        QTest::newRow("flag 0") << "0" << 0;
        QTest::newRow("time-out clears") << "%%" << 0;
        QTest::newRow("upper bound") << "32767" << 32767;
        QTest::newRow("lower bound") << "-32768" << -32768;
    }
    void rounding()
    {
        QFETCH(QString, text);
        QFETCH(int, value);
        QCOMPARE(int(roundedInt16(text)), value);
    }

    void outOfRangeIsReportedNotWrapped()
    {
        QString error;
        QCOMPARE(int(roundedInt16("40000", &error)), 0);
        QCOMPARE(error, QStringLiteral("Overflow: 40000 is not a 16-bit integer"));
        QCOMPARE(int(roundedInt16("32767.5", &error)), 0);  // rounds to 32768
        QCOMPARE(error, QStringLiteral("Overflow: 32767.5 is not a 16-bit integer"));
        QCOMPARE(roundedInt32(3e9, &error), 0);
        QVERIFY(error.endsWith(QStringLiteral("is not a 32-bit integer")));
        QVERIFY(!toInt16(-32769).has_value());
    }

    void signPosition()
    {
        QCOMPARE(signedText(2), QStringLiteral(" 2"));
        QCOMPARE(signedText(-3), QStringLiteral("-3"));
        QCOMPARE(signedText(2015 - 1900), QStringLiteral(" 115"));
        QCOMPARE(signedText(15 - 1900), QStringLiteral("-1885"));
        QCOMPARE(signedText(0), QStringLiteral(" 0"));
        QCOMPARE(signedText(12.5), QStringLiteral(" 12.5"));
        QCOMPARE(signedText(-0.25), QStringLiteral("-0.25"));
        // Every value of a values string is followed by a comma.
        QCOMPARE(valuesString({signedText(1), signedText(8)}), QStringLiteral(" 1, 8,"));
        QCOMPARE(valuesString({}), QString());
    }

    void patterns_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("shown");
        QTest::newRow("00 pads") << "7" << "00" << "07";
        QTest::newRow("00 keeps wider") << "123" << "00" << "123";
        QTest::newRow("00 negative") << "-5" << "00" << "-05";
        QTest::newRow("00 rounds half up") << "7.5" << "00" << "08";
        QTest::newRow("000 timer") << "5" << "000" << "005";
        QTest::newRow("00000 pre-heating") << "1500" << "00000" << "01500";
        QTest::newRow("00.00 voltage") << "4.987" << "00.00" << "04.99";
        QTest::newRow("00.00 pads decimals") << "12" << "00.00" << "12.00";
        QTest::newRow("000.0") << "3.14159" << "000.0" << "003.1";
        QTest::newRow("0000.00") << "1234.5" << "0000.00" << "1234.50";
        QTest::newRow("optional digits trimmed") << "2.5" << "######0.0##" << "2.5";
        QTest::newRow("optional digits kept") << "2.12345" << "######0.0##" << "2.123";
        QTest::newRow("optional digits minimum") << "3" << "######0.0##" << "3.0";
        QTest::newRow("negative zero shown as zero") << "-0.001" << "00.00" << "00.00";
        QTest::newRow("not a number stays") << "%%" << "00" << "%%";
        QTest::newRow("empty stays") << "" << "00" << "";
        QTest::newRow("blank before digits") << " 9" << "00" << "09";
        QTest::newRow("text with digits stays") << "12ab" << "00" << "12ab";
    }
    void patterns()
    {
        QFETCH(QString, text);
        QFETCH(QString, pattern);
        QFETCH(QString, shown);
        QCOMPARE(formatted(text, pattern), shown);
    }

    void shownWithTheSystemSeparator()
    {
        // CStr follows the number format of the settings; the parse never does.
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        QCOMPARE(shownNumber(Numbers::leadingNumber("12.50")), QStringLiteral("12,5"));
        QCOMPARE(shownNumber(1234.5), QStringLiteral("1234,5"));
        QCOMPARE(Numbers::leadingNumber(QStringLiteral("12,5")), 12.0);
        QLocale::setDefault(QLocale::c());
        QCOMPARE(shownNumber(12.5), QStringLiteral("12.5"));
    }

    // The plain form of a number is the general form with 15 significant digits, whatever
    // path formats it.
    void plainFormIsPercentPointFifteenG()
    {
        QList<double> values = {0.0, -0.0, 1e-4, 9.99e-5, 1e15, 999999999999999.0, 1e15 + 2,
                                123456789012345.6, 0.1 + 0.2, 1.0 / 3, -2.5e-7, 6.02e23};
        for (int i = 1; i < 5000; ++i) {
            const double hz = 400 + i * 0.7;
            values << hz << hz * hz / 1000 << -i * 0.001 << i * 1e10;
        }
        for (double v : values)
            QCOMPARE(plainNumber(v), QString::number(v, 'g', 15));
    }

    // Under a locale with digits of its own the numbers shown, sent and put into names
    // keep ASCII digits: a year shown as native digits would read back as 0 and go out
    // as "-1900".
    void nativeDigitLocalesChangeNoByte_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("ar_EG") << QLocale(QLocale::Arabic, QLocale::Egypt);
        QTest::newRow("fa_IR") << QLocale(QLocale::Persian, QLocale::Iran);
        QTest::newRow("hi_IN") << QLocale(QLocale::Hindi, QLocale::India);
        QTest::newRow("bn_BD") << QLocale(QLocale::Bengali, QLocale::Bangladesh);
    }
    void nativeDigitLocalesChangeNoByte()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        QCOMPARE(shownNumber(2026.0), QStringLiteral("2026"));
        QCOMPARE(signedText(Numbers::leadingNumber(shownNumber(2026.0)) - 1900), QStringLiteral(" 126"));
        QCOMPARE(shownNumber(7.0), QStringLiteral("7"));
        QCOMPARE(shownNumber(-3.0), QStringLiteral("-3"));
        QCOMPARE(shownNumber(12.5), QStringLiteral("12.5"));  // their separators are not Latin-1
        QCOMPARE(signedText(1024), QStringLiteral(" 1024"));
        QCOMPARE(formatted(5.0, QStringLiteral("000")), QStringLiteral("005"));
        QLocale::setDefault(QLocale::c());
    }
};

QTEST_GUILESS_MAIN(TestConversions)
#include "tst_conversions.moc"
