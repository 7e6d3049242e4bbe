// NewDataWindow ("Acquisizione dati"): fetches the data recorded since the last fetch
// into the yearly file, once on request or every so many minutes, raising DTR for each
// download and dropping it for a pause after; opens the historical chart of the file.
#pragma once

#include "data/new_data_download.h"
#include "measure/new_data_timing.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class HistoryChartWindow;
class Dialogs;
class Link;
struct Services;
class QLineEdit;
class QPushButton;

class NewDataWindow : public QWidget, private NewDataDownload::View {
    Q_OBJECT
public:
    // Loads the window (with its first DTR pause) unless the opener has it already
    // (existing), and shows and raises it. The window deletes itself when closed.
    static NewDataWindow* open(Services& services, NewDataWindow* existing = nullptr,
                               const NewDataTiming& timing = {});
    ~NewDataWindow() override;

    bool chartOpen = false;

    QLineEdit* yearBox = nullptr;
    QLineEdit* intervalBox = nullptr;
    QLineEdit* countdownBox = nullptr;
    QLineEdit* noticeBox = nullptr;
    QPushButton* startButton = nullptr;
    QPushButton* timerButton = nullptr;
    QPushButton* stopTimerButton = nullptr;
    QPushButton* graphButton = nullptr;
    QPushButton* closeButton = nullptr;
    QTimer* minuteTimer = nullptr;
    QTimer* dtrTimer = nullptr;

    bool timerMode() const { return timerMode_; }
    bool downloading() const { return downloading_; }
    int minutesLeft() const { return minutesLeft_; }
    // The last download's result.
    const NewDataDownload::Result& lastResult() const { return last_; }
    HistoryChartWindow* chartWindow() const;

public slots:
    void acquireNow();
    void acquireOnTimer();
    void stopTimerAcquisition();
    void openChart();
    void closeWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    NewDataWindow(Services& services, const NewDataTiming& timing);
    const NewDataTiming timing_;
    Link& link_;
    Dialogs& dialogs_;
    const QString programFolder_;  // where the yearly files are
    void buildControls();
    void layOut();
    void load();
    void minutePassed();
    void waitForDtrTick();
    void download();

    // The download's view.
    void notice(const QString& text) override;
    QString yearlyFile() override;
    void graphAvailable(bool available) override;
    void receiving() override;
    bool fileInUse(const QString& path) override;
    void finish() override;

    NewDataDownload::Result last_;
    QPointer<HistoryChartWindow> chart_;
    int interval_ = 0;
    int minutesLeft_ = 0;
    bool timerMode_ = false;
    bool dtrTickSeen_ = false;
    bool downloading_ = false;
    bool pausing_ = false;
};
