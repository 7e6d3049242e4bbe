// Fault injection.
#include "faults.h"

bool Faults::matches(const QByteArray& letters, const QByteArray& letter, bool emptyMeansAll)
{
    if (letters.isEmpty())
        return emptyMeansAll;
    return letter.size() == 1 && letters.contains(letter[0]);
}

QByteArray Faults::apply(const QByteArray& letter, const QByteArray& reply) const
{
    if (m_o.silentAll || matches(m_o.silentCommands, letter, false))
        return {};
    QByteArray r = reply;
    if (matches(m_o.garbageCommands, letter, false)) {
        static const char junk[] = "?#xQ!z@";
        int k = 0;
        for (char& c : r)
            if (c != ',' && c != '\r' && c != '\n')
                c = junk[k++ % 7];
    }
    if (m_o.truncateBytes >= 0 && matches(m_o.truncateCommands, letter, true))
        r.truncate(m_o.truncateBytes);
    return r;
}

int Faults::delayMs(const QByteArray& letter) const
{
    return matches(m_o.slowCommands, letter, true) ? m_o.slowMs : 0;
}
