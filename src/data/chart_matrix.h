// The chart matrix: a table of texts (row 0 the titles, column 0 the date text, column
// k + 1 channel k) with its series count. The continuous reading fills one; its live
// chart keeps a copy that follows it as it grows.
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class ChartMatrix {
public:
    // Rows and columns as the table has them; row 0 holds the titles.
    int rowCount() const { return int(rows_.size()); }
    int last() const { return rowCount() - 1; }
    int columnCount() const { return columns_; }
    // The text at (row, column); empty outside the table.
    QString cell(int row, int column) const;
    const QStringList& row(int r) const { return rows_.at(r); }

    // Starts again with the given titles (row 0) and no other row.
    void reset(const QStringList& titles);
    // Drops every row.
    void clear();
    // Appends an empty row (every column blank) and returns its index.
    int appendRow();
    // Removes the last row (never the title row).
    void removeLastRow();
    void setCell(int row, int column, const QString& text);
    void setRow(int row, const QStringList& cells);
    // Makes this matrix equal to source, copying only the rows from the last row this
    // one had on: the rows before it are taken as unchanged, which is true of a table
    // that only ever grows at its end. A source that is shorter, or was reset since,
    // is copied whole.
    void followGrowingSource(const ChartMatrix& source);

    // Series count: channels in the matrix (columns - 1, or what the window sets).
    int seriesCount = 0;

    // Changes whenever the matrix is reset or cleared (not when rows are added or
    // edited): a drawing made from an older generation must be made again.
    quint64 generation() const { return generation_; }

private:
    QList<QStringList> rows_;
    int columns_ = 0;
    quint64 generation_ = 0;
    quint64 sourceGeneration_ = ~quint64(0);
    const ChartMatrix* source_ = nullptr;
};
