// Writing the export in pieces of about a megabyte, so that a year of data is never
// held a second time in memory.
#include "data/yearly_export.h"

#include "data/yearly_table.h"

#include <QIODevice>

namespace YearlyExport {

bool write(QIODevice& out, const YearlyTable& table, int start, int end, const QList<int>& channels)
{
    constexpr qsizetype piece = 1 << 20;
    QByteArray buffer;
    buffer.reserve(piece + 4096);
    buffer += "Date";
    for (int k : channels)
        buffer += ";CH" + QByteArray::number(k);
    buffer += "\r\n";
    const auto flush = [&] {
        const bool ok = out.write(buffer) == buffer.size();
        buffer.clear();
        return ok;
    };
    for (int row = std::max(1, start); row <= end && row <= table.last(); ++row) {
        buffer += table.field(row, 0);
        for (int k : channels) {
            buffer += ';';
            buffer += table.field(row, k + 1);
        }
        buffer += "\r\n";
        if (buffer.size() >= piece && !flush())
            return false;
    }
    return flush();
}

} // namespace YearlyExport
