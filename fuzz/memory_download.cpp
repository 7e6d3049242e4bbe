// Fuzzes the memory download: a reply to "A" or "a" handed out in pieces is decoded into
// the store, which must be whole or empty; a whole one gives a data file with one line
// per record after its header, written through the file writer and read back the same.
#include "data/coefficient_table.h"
#include "data/memory_download.h"
#include "data/text_file.h"
#include "link/link.h"
#include "support/chunk_transport.h"
#include "support/fuzz_support.h"

using Fuzz::check;
using namespace MemoryDownload;

namespace {

void checkStore(const Result& result)
{
    const Store& store = result.store;
    if (result.outcome != Outcome::Completed) {
        check(store.records == 0 && store.stamps.isEmpty() && store.values.isEmpty(),
              "an unfinished download kept records");
        return;
    }
    check(store.records >= 0 && store.records <= Store::MaxRecords, "record count out of range");
    check(store.columns() <= Store::MaxColumns, "column count out of range");
    check(store.stamps.size() == store.records && store.values.size() == store.records,
          "the store holds another number of records than announced");
    const int widths[6] = {3, 3, 5, 3, 3, 3};
    for (int r = 0; r < store.records; ++r) {
        for (int i = 0; i < 6; ++i)
            check(store.stamps[r][size_t(i)].size() == widths[i], "a stamp part of the wrong width");
        check(store.values[r].size() == qsizetype(store.columns()) * Store::ValueWidth,
              "a record row of the wrong width");
        for (int c = 1; c <= store.columns(); ++c)
            check(store.value(r, c).size() == Store::ValueWidth, "a value of the wrong width");
    }
}

// Garbage fields are kept as they came, line ends included; only a reply without them
// has a known number of lines.
bool holdsLineEnds(const Store& store)
{
    for (int r = 0; r < store.records; ++r) {
        for (const QByteArray& part : store.stamps[r])
            if (part.contains('\r') || part.contains('\n'))
                return true;
        if (store.values[r].contains('\r') || store.values[r].contains('\n'))
            return true;
    }
    return false;
}

void checkFile(const Store& store, const Options& options, const FileContext& context)
{
    for (int r = 0; r < store.records; ++r)
        check(stampText(store, r).size() >= 17, "a time stamp shorter than its six parts");
    const QByteArray text = fileText(store, options, context);
    check(text.endsWith("\r\n"), "the data file does not end with a line end");
    const QString path = Fuzz::freshFile(QStringLiteral("DOWNLOAD_01_01_26_SENS.txt"));
    check(TextFile::replace(path, text), "the data file could not be written");
    check(Fuzz::readBytes(path) == text, "the data file reads back different");
    if (holdsLineEnds(store))
        return;
    const QList<QByteArray> lines = text.sliced(0, text.size() - 2).split('\n');
    for (qsizetype i = 0; i + 1 < lines.size(); ++i)
        check(lines[i].endsWith('\r'), "a line not ended by CR LF");
    int header = 1 + 5;
    if (options.kind == Kind::Sensors) {
        header += 1;
        if (options.modelCode != 0)
            header += 1;
        else
            for (int m = 0; m < 4; ++m)
                header += context.channelCounts[size_t(m)];
    }
    check(lines.size() == header + store.records, "the data file has another number of lines");
    for (int r = 0; r < store.records; ++r)
        check(lines[header + r].count(',') == store.channels + (store.rainGauge ? 1 : 0),
              "a record line with another number of values");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // flags, [cancel after], [4 x (channels, channel, 4 coefficients)], piece seed,
    // largest piece, reply
    Fuzz::Input in(data, size);
    const uint8_t flags = in.byte();
    Options options;
    options.kind = (flags & 1) ? Kind::Temperatures : Kind::Sensors;
    options.modelCode = (flags & 2) ? 0 : 1;
    options.digits = flags & 4;
    options.rainGauge = flags & 8;
    const bool tcp = flags & 16;
    const int cancelAfter = (flags & 32) ? in.byte() : -1;
    FileContext context{QDate(2026, 1, 1), QTime(12, 0, 0), {}, {}};
    if (flags & 64) {
        for (int m = 0; m < 4; ++m) {
            context.channelCounts[size_t(m)] = in.inRange(0, 16);
            const int channel = 16 * m + in.inRange(0, 15);
            const auto c = [&in] { return double(qint32(in.word())) / 1000; };
            context.coefficients[size_t(channel)] = {c(), c(), c(), c()};
        }
    }
    const quint32 seed = in.byte();
    const int maxPiece = in.inRange(1, 64);
    const QByteArray reply = in.rest();

    Link link;
    ChunkTransport line(reply, seed, maxPiece,
                        tcp ? LinkTransport::tcpRules : LinkTransport::serialRules, true);
    line.takeOver(link);
    int asked = 0;
    int lastPercent = -1;
    const Result result = transfer(
        link, options,
        [&lastPercent](int percent) {
            check(percent >= lastPercent && percent >= 0 && percent <= 100, "progress out of order");
            lastPercent = percent;
        },
        [&asked, cancelAfter] { return cancelAfter >= 0 && asked++ >= cancelAfter; });
    check(line.written == (options.kind == Kind::Sensors ? "A" : "a"), "the command sent differs");
    checkStore(result);
    if (result.outcome == Outcome::Completed)
        checkFile(result.store, options, context);
    return 0;
}
