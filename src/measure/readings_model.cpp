// The continuous reading's table model.
#include "measure/readings_model.h"

ReadingsModel::ReadingsModel(ChartMatrix& table, QObject* parent)
    : QAbstractTableModel(parent), table_(table)
{
}

int ReadingsModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, table_.rowCount() - 1);
}

int ReadingsModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : table_.columnCount();
}

QVariant ReadingsModel::data(const QModelIndex& index, int role) const
{
    if (role == Qt::DisplayRole)
        return table_.cell(index.row() + 1, index.column());
    if (role == Qt::TextAlignmentRole)
        return int(Qt::AlignCenter);
    return {};
}

QVariant ReadingsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return table_.cell(0, section);
    if (orientation == Qt::Vertical && role == Qt::DisplayRole)
        return section + 1;
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ReadingsModel::reset(const QStringList& titles)
{
    beginResetModel();
    table_.reset(titles);
    endResetModel();
}

int ReadingsModel::appendRow()
{
    const int row = table_.rowCount() - 1;  // the view's index of the new row
    beginInsertRows({}, row, row);
    const int r = table_.appendRow();
    endInsertRows();
    return r;
}

void ReadingsModel::removeLastRow()
{
    if (table_.rowCount() <= 1)
        return;
    const int row = table_.rowCount() - 2;
    beginRemoveRows({}, row, row);
    table_.removeLastRow();
    endRemoveRows();
}

void ReadingsModel::setCell(int row, int column, const QString& text)
{
    table_.setCell(row, column, text);
    const QModelIndex i = index(row - 1, column);
    emit dataChanged(i, i, {Qt::DisplayRole});
}
