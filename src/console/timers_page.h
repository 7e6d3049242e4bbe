// The console's "TIMERS" page: the acquisition timer, and the sensors' pre-heating time
// that only analog dataloggers have (its frame is shown for them).
#pragma once

#include "console/console_page.h"

#include <array>

class QGroupBox;
class QPushButton;

class TimersPage : public ConsolePage {
    Q_OBJECT
public:
    explicit TimersPage(Services& services, QWidget* parent = nullptr);

    QGroupBox* preheatingFrame = nullptr;  // "Sensors pre-heating time": analog models only
    QLineEdit* preheatingBox = nullptr;
    QPushButton* readPreheatingButton = nullptr;
    QPushButton* writePreheatingButton = nullptr;
    std::array<QLineEdit*, 3> timerBoxes{};  // hours, minutes, seconds
    QPushButton* readTimerButton = nullptr;
    QPushButton* writeTimerButton = nullptr;

public slots:
    void readTimer();
    // Hours up to 23, minutes and seconds up to 59, and no shorter than the datalogger
    // allows; the boxes show the three-digit form from the range check on.
    void writeTimer();
    void readPreheating();
    // Up to 30000; the box shows the five-digit form that goes out.
    void writePreheating();
};
