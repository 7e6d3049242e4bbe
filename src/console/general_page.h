// The console's "GENERAL" page: the datalogger's name, its next acquisition date, its
// memory, the internet-connection switch and the read of its stored constants.
#pragma once

#include "console/console_page.h"

#include <array>

class QCheckBox;
class QPushButton;

class GeneralPage : public ConsolePage {
    Q_OBJECT
public:
    explicit GeneralPage(Services& services, QWidget* parent = nullptr);

    QLineEdit* nameBox = nullptr;
    QPushButton* readNameButton = nullptr;
    QPushButton* writeNameButton = nullptr;
    std::array<QLineEdit*, 5> nextAcquisitionBoxes{};  // day, month, year, hour, minute
    QPushButton* readNextAcquisitionButton = nullptr;
    QLineEdit* memoryTotalBox = nullptr;
    QLineEdit* memoryFreeBox = nullptr;
    QPushButton* readMemoryButton = nullptr;
    QCheckBox* internetSwitchBox = nullptr;
    QPushButton* readInternetSwitchButton = nullptr;
    QPushButton* readFullScaleButton = nullptr;

    // The six values the datalogger answers to "T"; kept, used by nothing else.
    std::array<qint32, 2> fsWhole{};
    std::array<double, 4> fsScaled{};

public slots:
    void readName();
    void writeName();
    void readNextAcquisition();
    void readMemory();
    void readInternetSwitch();
    void writeInternetSwitch();
    void readFullScale();

private:
    int internetSwitchRounds_ = 0;  // nested write-and-read rounds (see writeInternetSwitch)
};
