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

class AlertsPage;
class ChannelsPage;
class ContinuousReadingWindow;
class DataloggerModel;
class DataAcquisitionPage;
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

    // The pages that are classes of their own.
    DateTimePage* dateTime = nullptr;
    TimersPage* timers = nullptr;
    ChannelsPage* channels = nullptr;
    GeneralPage* general = nullptr;
    DataAcquisitionPage* dataAcquisition = nullptr;
    ReadNowPage* readNow = nullptr;
    GprsPage* gprs = nullptr;
    AlertsPage* alerts = nullptr;

public slots:
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
    void connectHandlers();
    void registerCommandControls();

    void writeLogoutFile();
    void unloadWhenIdle();

    bool unloaded_ = false;
    std::unique_ptr<QWidget> sensorWindow_;
    std::unique_ptr<QWidget> alertWindow_;
    std::unique_ptr<QWidget> fieldTestWindow_;
    QPointer<ContinuousReadingWindow> continuousWindow_;
    QPointer<NewDataWindow> newDataWindow_;
};
