// The recorded memory.
#include "record_memory.h"

void RecordMemory::clear()
{
    m_records.clear();
    m_fetched = 0;
    m_offered = -1;
}

int RecordMemory::totalRain() const
{
    int sum = 0;
    for (const Record& r : m_records)
        sum += r.rain;
    return sum;
}

void RecordMemory::confirm()
{
    // A "]" without a "[" before it confirms nothing.
    if (m_offered >= 0)
        m_fetched = qMin(m_offered, size());
    m_offered = -1;
}
