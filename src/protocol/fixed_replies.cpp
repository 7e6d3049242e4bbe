// Replies of a fixed length, cut by position. Each wait is bounded; a reply that falls
// short ends the reading, keeping what came before it.
#include "protocol/fixed_replies.h"

#include "data/conversions.h"
#include "link/link.h"

namespace FixedLength {

namespace {

// Characters pos..pos+len-1 of a reply, counted from 1.
QString cut(const QString& reply, int pos, int len) { return reply.mid(pos - 1, len); }

QString plus2000(const QString& text) { return Numbers::shownNumber(Numbers::leadingNumber(text) + 2000); }

// Channels a datalogger can have: 16 on each of four multiplexers.
constexpr int maxChannels = 64;

// The reply to command, collected to count characters; why the reading stops when it
// falls short, or nothing.
QString collect(Link& link, const QString& command, int count, QString& reply)
{
    reply = link.sendAndCollectOnPort(command, count);
    return reply.size() >= count ? QString() : QStringLiteral("Retry stopped: incomplete answer to ") + command;
}

} // namespace

QString read(Link& link, FixedReplies& values)
{
    QString r;
    if (QString why = collect(link, QStringLiteral("G"), 19, r); !why.isEmpty())
        return why;
    values.clock = {cut(r, 1, 3).right(2), cut(r, 5, 3).right(2), plus2000(cut(r, 9, 3)), cut(r, 13, 3).right(2),
                    cut(r, 17, 3).right(2)};

    if (QString why = collect(link, QStringLiteral("C"), 12, r); !why.isEmpty())
        return why;
    values.timer.emplace();
    for (int i = 0; i < 3; ++i)
        (*values.timer)[size_t(i)] = Numbers::shownNumber(Numbers::leadingNumber(cut(r, 1 + 4 * i, 3)));

    if (QString why = collect(link, QStringLiteral("E"), 5, r); !why.isEmpty())
        return why;
    values.preheating = cut(r, 1, 5);

    link.pause(50);
    if (QString why = collect(link, QStringLiteral("H"), 3, r); !why.isEmpty())
        return why;
    const double channels = Numbers::leadingNumber(r);
    if (channels < 0 || channels > maxChannels)
        return QStringLiteral("Retry stopped: no channel count in the answer to H");
    const int n = int(channels);
    link.pause(50);
    if (n != 0) {
        if (QString why = collect(link, QStringLiteral("H"), 4 * n + 4, r); !why.isEmpty())
            return why;
    }

    if (QString why = collect(link, QStringLiteral("Q"), 5, r); !why.isEmpty())
        return why;
    values.name = cut(r, 1, 5);

    if (QString why = collect(link, QStringLiteral("N"), 20, r); !why.isEmpty())
        return why;
    values.nextAcquisition = {cut(r, 2, 2), cut(r, 6, 2), plus2000(cut(r, 10, 2)), cut(r, 14, 2), cut(r, 18, 2)};

    if (n != 0) {
        link.pause(50);
        if (QString why = collect(link, QStringLiteral("M"), 12, r); !why.isEmpty())
            return why;
        values.memory = {cut(r, 1, 5), cut(r, 7, 5)};
    }

    link.pause(80);
    return collect(link, QStringLiteral("T"), 3, r);
}

QStringList readNextAcquisition(Link& link)
{
    const QString reply = link.sendAndCollectOnPort(QStringLiteral("D"), 20);
    QStringList parts;
    for (const int position : {2, 6, 10, 14, 18}) {
        QString part = cut(reply, position, 2);
        if (part.size() != 2)
            break;
        if (position == 10) {
            if (!Numbers::isNumeric(part))
                break;
            part = Numbers::shownNumber(2000 + Numbers::roundedInt16(part));
        }
        parts << part;
    }
    return parts;
}

} // namespace FixedLength
