// Fuzzes the field reader of the exchange path: a reply handed out in pieces of any size
// is read field by field. The fields and their commas must give back the reply's bytes
// in order, and a read may end without a field only when the reply holds no comma
// further on, or when the next comma lies past the longest field the link accepts.
// A second mode reads up to a terminator, as the remaining-data download does.
#include "link/link.h"
#include "support/chunk_transport.h"
#include "support/fuzz_support.h"

using Fuzz::check;

namespace {

const int fieldLimits[] = {1 << 20, 0, 1, 7, 64};

void readFields(Link& link, ChunkTransport& line, const QByteArray& reply, int limit)
{
    QByteArray consumed;
    for (;;) {
        const int timeoutsBefore = link.tally().timeouts;
        const QString field = link.readField();
        if (link.tally().timeouts != timeoutsBefore) {
            check(field == QLatin1String("%%"), "a read that timed out gives something else than %%");
            const qsizetype comma = reply.indexOf(',', consumed.size());
            check(comma < 0 || comma - consumed.size() > limit,
                  "a read ended without its field while a comma was on its way");
            break;
        }
        const QByteArray bytes = field.toLatin1();
        check(QString::fromLatin1(bytes) == field, "a field holds a character that is no byte");
        check(!bytes.contains(','), "a field holds a comma");
        consumed += bytes + ',';
        check(reply.startsWith(consumed), "the fields and commas differ from the reply");
        check(consumed.size() <= line.handedOut(), "a field read before its bytes arrived");
    }
    // A babble past the limit is dropped and the reading goes on with what follows; once
    // the line has dropped, every read ends at once.
    for (qsizetype reads = 0; !line.lost(); ++reads) {
        check(reads <= reply.size(), "the reads never reach the end of the reply");
        check(!link.readField().contains(QLatin1Char(',')), "a field holds a comma");
    }
    for (int i = 0; i < 3; ++i)
        check(link.readField() == QLatin1String("%%"), "a read after the line dropped gave a field");
}

void readUpTo(Link& link, ChunkTransport& line, const QByteArray& reply, const QByteArray& end, int limit,
              bool atEnd)
{
    const QString text = link.readUntil(QString::fromLatin1(end));
    if (link.tally().timeouts > 0) {
        check(text == QLatin1String("%%"), "a search that timed out gives something else than %%");
        // The cable ends at the first terminator, the internet only where all it holds ends
        // with one; a longer babble than the limit ends either.
        if (!atEnd && !end.isEmpty() && line.handedOut() <= limit)
            check(!reply.left(line.handedOut()).contains(end), "a terminator received was missed");
        return;
    }
    check(!end.isEmpty(), "an empty terminator was found");
    const QByteArray got = text.toLatin1();
    check(reply.startsWith(got + end), "the text before the terminator differs from the reply");
    if (!atEnd)
        check(reply.indexOf(end) == got.size(), "the search passed the first terminator");
    else
        check(got.size() + end.size() == line.handedOut(), "the internet search ended before the end");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // flags, piece seed, largest piece, [terminator], reply
    Fuzz::Input in(data, size);
    const uint8_t flags = in.byte();
    const bool tcp = flags & 1;
    const bool search = flags & 2;
    const int limit = fieldLimits[(flags >> 2) % std::size(fieldLimits)];
    const quint32 seed = in.byte();
    const int maxPiece = in.inRange(1, 32);
    const QByteArray end = search ? in.text(4) : QByteArray();
    const QByteArray reply = in.rest();

    Link::Settings settings;
    settings.maxFieldBytes = limit;
    settings.fieldTimeoutMs = 60000;
    Link link(settings);
    ChunkTransport line(reply, seed, maxPiece,
                        tcp ? LinkTransport::tcpRules : LinkTransport::serialRules);
    line.takeOver(link);
    if (search)
        readUpTo(link, line, reply, end, limit, tcp);
    else
        readFields(link, line, reply, limit);
    check(link.commandLockDepth() == 0 && !link.busy(), "the link was left busy");
    return 0;
}
