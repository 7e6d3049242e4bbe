// HistoryChartWindow: the historical chart of a yearly file, one series per ticked channel
// over an optional range of days, and the export of what it draws to a file for
// spreadsheets. Opened by the remaining-data window's "Graph".
#pragma once

#include "charts/line_chart.h"
#include "data/yearly_table.h"

#include <QList>
#include <QWidget>

#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

class Dialogs;

class HistoryChartWindow : public QWidget {
    Q_OBJECT
public:
    // table: the yearly file, read; sourcePath: where it was read from (the export's
    // folder, and a name the export must not write over).
    HistoryChartWindow(Dialogs& dialogs, YearlyTable table, const QString& sourcePath = QString(),
                       QWidget* parent = nullptr);
    ~HistoryChartWindow() override;

    // Reads the yearly file at path and shows the window on it with every channel ticked
    // and drawn, without waiting for it to close; it deletes itself once closed. nullptr,
    // and no window, when the file is missing ("Data not found."), busy or unreadable.
    // Lines of the file that are not readings are said in a box over the drawn chart.
    static HistoryChartWindow* openYearlyFile(Dialogs& dialogs, const QString& path, QWidget* parent = nullptr);

    // Makes boxes 0..count-1 visible; the others stay hidden.
    void showChannelBoxes(int count);
    // True when the date boxes allow a drawing; otherwise says why.
    bool checkDates();
    // Rebuilds the rows and channels drawn from the boxes, and redraws.
    void fillChart();

    // What the chart draws and the export writes (the working matrix): rows start..end
    // of the table and the channels, ascending. Empty rows or no channel: the empty chart.
    struct Drawn {
        int start = 1;
        int end = 0;
        QList<int> channels;
        bool isEmpty() const { return channels.isEmpty() || end < start; }
        int rowCount() const { return end < start ? 0 : end - start + 1; }
    };
    const Drawn& drawn() const { return drawn_; }
    const YearlyTable& table() const { return table_; }

    LineChart* chart = nullptr;
    QLineEdit* fromBox = nullptr;
    QLineEdit* toBox = nullptr;
    std::array<QCheckBox*, 8> channelBoxes{};
    QPushButton* drawButton = nullptr;
    QPushButton* exportButton = nullptr;
    QPushButton* closeButton = nullptr;

signals:
    void closed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Dialogs& dialogs_;
    void build();
    void drawChannels();
    void exportDrawn();
    void draw();
    QString exportPath();

    YearlyTable table_;
    QString sourcePath_;
    Drawn drawn_;
};
