// The continuous reading's table as the view shows it: row 0 of the table is the
// header, every other row a reading; texts centred.
#pragma once

#include "data/chart_matrix.h"

#include <QAbstractTableModel>

class ReadingsModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReadingsModel(ChartMatrix& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Changes to the table go through here, so that the view follows them.
    void reset(const QStringList& titles);
    int appendRow();
    void removeLastRow();
    void setCell(int row, int column, const QString& text);

private:
    ChartMatrix& table_;
};
