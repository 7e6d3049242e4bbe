// The datalogger's recorded memory and the "last fetched" mark of the remaining-data exchange.
#pragma once

#include <QDateTime>
#include <QList>

#include <vector>

struct Record {
    QDateTime time;
    std::vector<float> values;        // one per active channel: Hz (model 1) or volts (model 0)
    std::vector<float> temperatures;  // one per active channel
    int rain = 0;                     // events-counter pulses since the previous record
};

class RecordMemory {
public:
    void clear();
    bool full(int total) const { return int(m_records.size()) >= total; }
    void append(Record r) { m_records.push_back(std::move(r)); }
    int size() const { return int(m_records.size()); }
    const Record& at(int i) const { return m_records[size_t(i)]; }
    const QList<int>& layout() const { return m_layout; }   // absolute channels of the values
    void setLayout(const QList<int>& channels) { m_layout = channels; }
    int totalRain() const;

    // Remaining data: records [fetched, size) are new; "[" offers them, "]" confirms them.
    int fetched() const { return m_fetched; }
    int offered() const { return m_offered; }
    void offer() { m_offered = size(); }
    void confirm();

private:
    std::vector<Record> m_records;
    QList<int> m_layout;
    int m_fetched = 0;
    int m_offered = -1;   // -1: no block offered since the last confirmation
};
