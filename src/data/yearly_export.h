// The historical chart's export: the rows drawn, their date and the drawn channels'
// texts as the yearly file has them, separated by ";" for a spreadsheet.
#pragma once

#include <QList>

class QIODevice;
class YearlyTable;

namespace YearlyExport {

// The header "Date" followed by ";CH" and k for each channel k, then one line per row
// start..end: its date text and each channel's text joined by ";". Lines end with CR LF.
// False when a write fails.
bool write(QIODevice& out, const YearlyTable& table, int start, int end, const QList<int>& channels);

} // namespace YearlyExport
