// The memory-download decoder over a scripted line that sends a broken reply to "A" and
// then nothing: whatever breaks, a download that does not complete holds nothing, not
// even the record count it read; a field that is no number stops it rather than become 0.
#include "data/memory_download.h"
#include "support/fake_transport.h"
#include "support/scripted_dialogs.h"
#include "support/test_link.h"

#include <QtTest>

using namespace MemoryDownload;

Q_DECLARE_METATYPE(MemoryDownload::Outcome)

class TestDownloadDecoder : public QObject {
    Q_OBJECT

private slots:

    void brokenRepliesKeepNothing_data()
    {
        QTest::addColumn<QByteArray>("reply");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<int>("records");
        // Found by the fuzzer: a count with no column count after it used to come back
        // with the count still in the store.
        QTest::newRow("count over the limit, then silence") << QByteArray("10000,") << Outcome::LinkLost << 0;
        QTest::newRow("count, then silence") << QByteArray("3,") << Outcome::LinkLost << 0;
        QTest::newRow("silence within a record") << QByteArray("2,1,01,02,2026,12,30,") << Outcome::LinkLost << 0;
        QTest::newRow("count over the limit") << QByteArray("5001,1,") << Outcome::TooManyRecords << 0;
        QTest::newRow("garbage counts") << QByteArray("abc,\x01\xff,") << Outcome::Garbled << 0;
        QTest::newRow("garbled channel count") << QByteArray("1,x1,") << Outcome::Garbled << 0;
        QTest::newRow("garbled value") << QByteArray("1,1,01,02,2026,12,30,00,12?4.5,") << Outcome::Garbled << 0;
        QTest::newRow("garbled time stamp") << QByteArray("1,1,01,0#,2026,12,30,00,1234.5,") << Outcome::Garbled << 0;
        QTest::newRow("silent from the start") << QByteArray() << Outcome::NoAnswer << 0;
        QTest::newRow("no records") << QByteArray("0,") << Outcome::Completed << 0;
        QTest::newRow("blank and signed values")
            << QByteArray("1,2,01,02,2026,12,30,00, ,-1.5e3,") << Outcome::Completed << 1;
        QTest::newRow("one whole record") << QByteArray("1,1,01,02,2026,12,30,00,1234.5,") << Outcome::Completed << 1;
    }
    void brokenRepliesKeepNothing()
    {
        QFETCH(QByteArray, reply);
        QFETCH(Outcome, outcome);
        QFETCH(int, records);
        ScriptedDialogs dialogs;
        TestLink testLink;
        setFieldTimeout(testLink.link, 200);
        FakeTransport line;
        line.responder = [reply](const QByteArray& written) { return written == "A" ? reply : QByteArray(); };
        testLink.link.takeOver(&line, true);
        const Result result = transfer(testLink.link, Options(), {}, {});
        QCOMPARE(result.outcome, outcome);
        QCOMPARE(result.store.records, records);
        QCOMPARE(result.store.stamps.size(), records);
        QCOMPARE(result.store.values.size(), records);
    }
};

QTEST_GUILESS_MAIN(TestDownloadDecoder)
#include "tst_download_decoder.moc"
