// The console's "DATE AND TIME" page: the datalogger's clock and the START time of its
// next acquisition, "Acquire now", and the GSM-function, immediate-conversion and
// acquisition switches.
#pragma once

#include "console/console_page.h"

#include <array>

class QCheckBox;
class QPushButton;
class SwitchBox;

class DateTimePage : public ConsolePage {
    Q_OBJECT
public:
    explicit DateTimePage(Services& services, QWidget* parent = nullptr);

    std::array<QLineEdit*, 5> clockBoxes{};      // day, month, year, hour, minute
    std::array<QLineEdit*, 5> startTimeBoxes{};  // same order
    QPushButton* readClockButton = nullptr;
    QPushButton* writeClockButton = nullptr;
    QPushButton* readStartTimeButton = nullptr;
    QPushButton* writeStartTimeButton = nullptr;
    QPushButton* acquireNowButton = nullptr;
    SwitchBox* gsmSwitch = nullptr;
    QCheckBox* immediateConversionBox = nullptr;
    SwitchBox* acquisitionSwitch = nullptr;
    QPushButton* readAcquisitionSwitchButton = nullptr;

public slots:
    void readClock();
    void writeClock();
    void readStartTime();
    void writeStartTime();
    void acquireNow();
    void toggleAcquisition();
    void readAcquisitionSwitch();
    void toggleGsm();

private:
    // The write of a five-box date row, the clock's or the START time's; false when the
    // hour or minute is refused.
    bool writeDateRow(const std::array<QLineEdit*, 5>& row, bool clock);
};
