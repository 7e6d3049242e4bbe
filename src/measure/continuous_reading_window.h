// ContinuousReadingWindow: the continuous reading. Reads every active channel of one multiplexer again
// and again, shows each reading as a row of its table and appends it to the "mc_" file
// the moment it is complete, until the operator stops it; it can open the live chart.
#pragma once

#include "data/chart_matrix.h"

#include <QPointer>
#include <QWidget>

class LiveChartWindow;
class Dialogs;
class Link;
struct Services;
class QLineEdit;
class QPushButton;
class QTableView;
class ReadingsModel;

class ContinuousReadingWindow : public QWidget {
    Q_OBJECT
public:
    explicit ContinuousReadingWindow(Services& services, QWidget* parent = nullptr);
    ~ContinuousReadingWindow() override;

    // Loads the window unless the opener has it already (existing), sets its multiplexer
    // and shows it without blocking. The window deletes itself when closed.
    static ContinuousReadingWindow* open(Services& services, qint16 mux,
                                         ContinuousReadingWindow* existing = nullptr);

    qint16 mux = 0;
    bool chartOpen = false;

    QPushButton* startButton = nullptr;
    QPushButton* stopButton = nullptr;
    QPushButton* graphButton = nullptr;
    QPushButton* closeButton = nullptr;
    QLineEdit* noticeBox = nullptr;
    QTableView* tableView = nullptr;

    // The table: row 0 the titles, then one row per reading, the last one being filled.
    const ChartMatrix& table() const { return table_; }
    // The path of the file of the last run (empty when none was created).
    QString filePath() const { return path_; }
    bool running() const { return running_; }
    LiveChartWindow* chartWindow() const;

public slots:
    void start();
    void stop();
    void openChart();
    void closeWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Link& link_;
    Dialogs& dialogs_;
    const QString programFolder_;  // where the runs' files go
    enum class End { Normal, Broken };
    void showNotice(const QString& text);
    void hideNotice();
    bool chooseFile();
    void runReadings(int channels);
    bool readOnce(int channels);
    void finishRun(End end, const QString& description = QString());
    bool append(const QString& line);
    void redrawChart();

    ChartMatrix table_;
    ReadingsModel* model_ = nullptr;
    QPointer<LiveChartWindow> liveChart_;
    QString path_;
    QString writeError_;
    bool stopRequest_ = false;
    bool timeoutSeen_ = false;
    bool fileOpen_ = false;
    bool running_ = false;
    qint16 channels_ = 0;
};
