// Fault injection.
#include "faults.h"

namespace {

const char kJunk[] = "?#xQ!z@";

// Replaces every character of [from, to) that is no field separator or line break.
void garble(QByteArray& r, qsizetype from, qsizetype to)
{
    int k = 0;
    for (qsizetype i = from; i < to; ++i)
        if (r[i] != ',' && r[i] != '\r' && r[i] != '\n')
            r[i] = kJunk[k++ % 7];
}

// Where field `field` of the reply starts (after `field` commas); -1 when it has fewer.
qsizetype fieldStart(const QByteArray& r, int field)
{
    qsizetype at = 0;
    for (int f = 0; f < field; ++f) {
        at = r.indexOf(',', at);
        if (at < 0)
            return -1;
        ++at;
    }
    return at <= r.size() ? at : -1;
}

} // namespace

bool Faults::matches(const QByteArray& letters, const QByteArray& letter, bool emptyMeansAll)
{
    if (letters.isEmpty())
        return emptyMeansAll;
    return letter.size() == 1 && letters.contains(letter[0]);
}

Faults::Reply Faults::apply(const QByteArray& letter, const QByteArray& reply)
{
    if (m_o.silentAll || matches(m_o.silentCommands, letter, false))
        return {};
    Reply r{reply, false};
    if (matches(m_o.garbageCommands, letter, false))
        garble(r.bytes, 0, r.bytes.size());
    if (m_o.truncateBytes >= 0 && matches(m_o.truncateCommands, letter, true))
        r.bytes.truncate(m_o.truncateBytes);
    applyFieldFault(letter, r);
    return r;
}

void Faults::applyFieldFault(const QByteArray& letter, Reply& r)
{
    if (letter.size() != 1)
        return;
    for (qsizetype i = 0; i < m_o.fieldFaults.size(); ++i) {
        const FieldFault f = m_o.fieldFaults[i];
        const qsizetype start = f.letter == letter[0] ? fieldStart(r.bytes, f.field) : -1;
        if (start < 0 || (f.kind == FieldFault::Kind::Garbage && start == r.bytes.size()))
            continue;
        m_o.fieldFaults.removeAt(i);
        if (f.kind == FieldFault::Kind::Garbage) {
            const qsizetype comma = r.bytes.indexOf(',', start);
            const qsizetype end = comma < 0 ? r.bytes.size() : comma;
            if (end == start)
                r.bytes.insert(start, kJunk[0]);  // an empty field gets a character
            else
                garble(r.bytes, start, end);
        } else {
            r.bytes.truncate(start);
            r.dropAfter = f.kind == FieldFault::Kind::Drop;
        }
        return;
    }
}

int Faults::delayMs(const QByteArray& letter) const
{
    return matches(m_o.slowCommands, letter, true) ? m_o.slowMs : 0;
}
