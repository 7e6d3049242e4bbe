// The chart matrix.
#include "data/chart_matrix.h"

QString ChartMatrix::cell(int row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0)
        return {};
    const QStringList& r = rows_.at(row);
    return column < r.size() ? r.at(column) : QString();
}

void ChartMatrix::reset(const QStringList& titles)
{
    rows_.clear();
    rows_.append(titles);
    columns_ = int(titles.size());
    ++generation_;
}

void ChartMatrix::clear()
{
    rows_.clear();
    columns_ = 0;
    ++generation_;
}

int ChartMatrix::appendRow()
{
    QStringList blank;
    blank.reserve(columns_);
    for (int c = 0; c < columns_; ++c)
        blank.append(QString());
    rows_.append(blank);
    return last();
}

void ChartMatrix::removeLastRow()
{
    if (rowCount() > 1)
        rows_.removeLast();
}

void ChartMatrix::setCell(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columns_)
        return;
    rows_[row][column] = text;
}

void ChartMatrix::setRow(int row, const QStringList& cells)
{
    if (row < 0 || row >= rowCount())
        return;
    QStringList r = cells.mid(0, columns_);
    while (r.size() < columns_)
        r.append(QString());
    rows_[row] = r;
}

void ChartMatrix::followGrowingSource(const ChartMatrix& source)
{
    if (&source == this)
        return;
    const bool sameSource = source_ == &source && sourceGeneration_ == source.generation_;
    int from = 0;
    if (sameSource && columns_ == source.columns_ && rowCount() > 0
        && rowCount() <= source.rowCount())
        from = last();  // the row that was last may have been filled since
    if (from == 0) {
        rows_.clear();
        ++generation_;
    } else {
        rows_.resize(from);
    }
    columns_ = source.columns_;
    for (int r = from; r < source.rowCount(); ++r)
        rows_.append(source.rows_.at(r));
    source_ = &source;
    sourceGeneration_ = source.generation_;
    seriesCount = qMax(0, columns_ - 1);
}

