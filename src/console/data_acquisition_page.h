// The console's " DATA ACQUISITION" page: the memory downloads into data files and their
// progress, the data folder and its files, the data file's name, the events counted, and
// the new-data, charts and backup buttons (the console wires the new-data one).
#pragma once

#include "console/console_page.h"

#include <array>
#include <memory>

namespace MemoryDownload {
struct Store;
}

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QToolButton;

class DataAcquisitionPage : public ConsolePage {
    Q_OBJECT
public:
    explicit DataAcquisitionPage(Services& services, QWidget* parent = nullptr);
    ~DataAcquisitionPage() override;

    QPushButton* acquireButton = nullptr;
    QPushButton* acquireTemperaturesButton = nullptr;
    std::array<QRadioButton*, 2> downloadKindOptions{};  // 0 frequency, 1 digits
    QComboBox* driveBox = nullptr;               // the mounted file systems
    QLineEdit* folderBox = nullptr;              // the chosen folder
    QToolButton* folderBrowseButton = nullptr;   // "..." chooses the folder
    QListWidget* fileList = nullptr;             // the files in that folder
    QLineEdit* dataFileNameBox = nullptr;
    QPushButton* newDataButton = nullptr;
    QCheckBox* createTableBox = nullptr;
    QPushButton* chartsButton = nullptr;
    QPushButton* backupButton = nullptr;
    QPushButton* eventsCounterButton = nullptr;
    QLineEdit* progressBox = nullptr;       // download progress
    QLineEdit* eventsCounterBox = nullptr;  // events counter value
    QLabel* traceImage = nullptr;
    // Beside the download progress: how far the download is, and its way out.
    QProgressBar* downloadProgress = nullptr;
    QPushButton* cancelDownload = nullptr;

    // The folder the data files go to (the folder box).
    QString dataFolder() const;
    void setDataFolder(const QString& folder);

    // A memory download of either kind into NAME_dd_mm_yy_SENS.txt or _TEMP.txt in the
    // data folder; rainGauge: the events counter's column is in the records.
    void download(bool temperatures, const QString& dataloggerName, bool rainGauge);

public slots:
    void readEventsCounter();
    void chooseDataFile(const QString& name);

private:
    void showDataTable(const MemoryDownload::Store& store);
    void endCancelledDownload();

    bool downloadCancelled_ = false;
    std::unique_ptr<QWidget> dataTable_;
};
