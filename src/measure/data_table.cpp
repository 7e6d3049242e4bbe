// The data table window over a copy of the downloaded store.
#include "measure/data_table.h"

#include "data/memory_download.h"
#include "data/conversions.h"

#include <QAbstractTableModel>
#include <QHeaderView>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// A model rather than one item per cell: 5000 records of 64 channels stay instant.
class StoreModel final : public QAbstractTableModel {
public:
    explicit StoreModel(const MemoryDownload::Store& store, QObject* parent)
        : QAbstractTableModel(parent), store_(store)
    {
    }
    int rowCount(const QModelIndex& = {}) const override { return store_.records + 5; }
    int columnCount(const QModelIndex& = {}) const override
    {
        return store_.channels + 1 + (store_.rainGauge ? 1 : 0);
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
            return {};
        const int row = index.row();
        const int column = index.column();
        if (row == 0)
            return heading(column);
        if (row > store_.records)
            return {};
        if (column == 0)
            return MemoryDownload::stampText(store_, row - 1);
        // The rain gauge sits beside the last channel, in column K + 1 of the grid.
        const int stored = column <= store_.channels ? column : store_.channels + 2;
        return QString::fromLatin1(store_.value(row - 1, stored));
    }

private:
    QString heading(int column) const
    {
        if (column == 0)
            return QStringLiteral("Date");
        if (column <= store_.channels)
            return QStringLiteral("Ch") + Numbers::shownNumber(double(column - 1));
        return QStringLiteral("PLUVIO");
    }

    MemoryDownload::Store store_;
};

} // namespace

QWidget* newDataTableWindow(const MemoryDownload::Store& store, QWidget* parent)
{
    auto* window = new QWidget(parent, Qt::Window);
    window->setObjectName(QStringLiteral("TabellaDati"));
    window->setWindowTitle(QStringLiteral("Data table"));
    auto* view = new QTableView(window);
    view->setObjectName(QStringLiteral("Tabella_Dati"));
    view->setAccessibleName(QStringLiteral("Data table"));
    view->setModel(new StoreModel(store, view));
    // 120 pixels, or the width of a time stamp in this font when that is more.
    view->setWordWrap(false);
    const int stampWidth = view->fontMetrics().horizontalAdvance(QStringLiteral("00/00/0000 00.00.00")) + 16;
    view->setColumnWidth(0, qMax(120, stampWidth));
    view->horizontalHeader()->setVisible(false);
    view->verticalHeader()->setVisible(false);
    auto* layout = new QVBoxLayout(window);
    layout->addWidget(view);
    window->resize(900, 560);
    return window;
}
