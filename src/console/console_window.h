// ConsoleWindow: the main console, its eight pages of controls, its menu and its handlers.
#pragma once

#include "measure/new_data_timing.h"
#include "widgets/console_door.h"
#include "widgets/switch_box.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <memory>

namespace MemoryDownload {
struct Store;
}

class AlertsPage;
class ChannelsPage;
class ContinuousReadingWindow;
class DataloggerModel;
class DateTimePage;
class GeneralPage;
class GprsPage;
class ReadNowPage;
class TimersPage;
class NewDataWindow;
class Dialogs;
class Link;
struct Services;
class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

class ConsoleWindow : public QMainWindow, public ConsoleDoor {
    Q_OBJECT
public:
    explicit ConsoleWindow(Services& services, QWidget* parent = nullptr);
    ~ConsoleWindow() override;

    // What the console works with, for the windows it opens.
    Services& services() { return services_; }
    Link& link() { return link_; }
    DataloggerModel& datalogger() { return datalogger_; }

    // The door the windows that connect use.
    void read(Read what) override;
    void showEventsCounterField(const QString& field) override;
    void showAcquisitionField(const QString& field) override;
    void showFixedReplies(const FixedReplies& replies) override;
    void adaptForAnalogModel() override;
    void presentAnalogModel(const QString& caption, const QString& acquireCaption) override;
    void showAfterConnection(QWidget* from) override;
    void suggestDataFileName(int colour) override;

    // Called at the very end of closing; ends the program unless a test replaces it.
    std::function<void()> onProgramEnd;
    // The new-data window's timers, for the window the console opens (tests shorten them).
    NewDataTiming newDataTiming;

    // The windows the console opened and that are still open, or nullptr.
    ContinuousReadingWindow* continuousWindow() const;
    NewDataWindow* newDataWindow() const;

    // The channels on multiplexer m as the console's MUX box says: a box that is empty,
    // holds the time-out mark or no whole number 0..16 counts as 0.
    int channelCount(int m) const;

    // The folder the data files go to (the folder box of the " DATA ACQUISITION" page).
    QString dataFolder() const;
    void setDataFolder(const QString& folder);

    QTabWidget* pages = nullptr;

    // Menu.
    QAction* fieldTestAction = nullptr;
    QMenu* helpMenu = nullptr;
    QAction* aboutAction = nullptr;
    QAction* restoreAction = nullptr;

    // " DATA ACQUISITION".
    QPushButton* acquireButton = nullptr;
    QPushButton* acquireTemperaturesButton = nullptr;
    std::array<QRadioButton*, 2> downloadKindOptions{};  // 0 frequency, 1 digits
    QComboBox* driveBox = nullptr;           // the mounted file systems
    QLineEdit* folderBox = nullptr;             // the chosen folder
    QToolButton* folderBrowseButton = nullptr;     // "..." chooses the folder
    QListWidget* fileList = nullptr;          // the files in that folder
    QLineEdit* dataFileNameBox = nullptr;
    QPushButton* newDataButton = nullptr;
    QCheckBox* createTableBox = nullptr;
    QPushButton* chartsButton = nullptr;
    QPushButton* backupButton = nullptr;
    QPushButton* eventsCounterButton = nullptr;
    QLineEdit* progressBox = nullptr;  // download progress
    QLineEdit* eventsCounterBox = nullptr;  // events counter value
    QLabel* traceImage = nullptr;

    // The pages that are classes of their own.
    DateTimePage* dateTime = nullptr;
    TimersPage* timers = nullptr;
    ChannelsPage* channels = nullptr;
    GeneralPage* general = nullptr;
    ReadNowPage* readNow = nullptr;
    GprsPage* gprs = nullptr;
    AlertsPage* alerts = nullptr;

    // Beside the download progress: how far the download is, and its way out.
    QProgressBar* downloadProgress = nullptr;
    QPushButton* cancelDownload = nullptr;

public slots:
    // Channels, events counter, rain millimetres.
    void readEventsCounter();

    // Memory, reset, restore.
    void eraseMemory();
    void resetDatalogger();
    void restore();

    // Menu.
    void showAbout();

    // Continuous reading.
    void openContinuousReading();

    // Closing: the "d" rule, the port, the logout file, the end of the program.
    void unload();

    // The menu's field test.
    void fieldTest();
    // The sensor window.
    void openSensorWindow();
    void openNewDataWindow();
    // Memory downloads into data files.
    void acquire();
    void acquireTemperatures();
    void discardSerialInput();
    void chooseDataFile(const QString& name);

    // The alert window.
    void openAlertWindow();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Services& services_;
    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;

    void buildMenu();
    QWidget* buildDataAcquisitionPage();
    void connectHandlers();
    void registerCommandControls();
    void markEditedOnKey(QLineEdit* box);
    void trimOnChange(QLineEdit* box);

    void writeLogoutFile();
    void unloadWhenIdle();

    // A memory download of either kind.
    void download(bool temperatures);
    void showDataTable(const MemoryDownload::Store& store);
    void endCancelledDownload();

    bool unloaded_ = false;
    bool downloadCancelled_ = false;
    std::unique_ptr<QWidget> dataTable_;
    std::unique_ptr<QWidget> sensorWindow_;
    std::unique_ptr<QWidget> alertWindow_;
    std::unique_ptr<QWidget> fieldTestWindow_;
    QPointer<ContinuousReadingWindow> continuousWindow_;
    QPointer<NewDataWindow> newDataWindow_;
};
