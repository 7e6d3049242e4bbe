// The data table: a downloaded memory shown as a grid, in a window of its own.
#pragma once

#include <QWidget>

namespace MemoryDownload {
struct Store;
}

// Row 0 holds the headings ("Date", "Ch0".., "PLUVIO"), rows 1..N the records; the grid
// has N + 5 rows as the console's table always had.
QWidget* newDataTableWindow(const MemoryDownload::Store& store, QWidget* parent = nullptr);
