// The console's "ALERTS" page: the rain millimetres per pulse, the GSM settings (ten SMS
// alert numbers, how many are in use, the SMS switch, the number to call and its
// switch), the e-mail switch, and the way into the alert window (which the console opens).
#pragma once

#include "console/console_page.h"

#include <array>

class QLabel;
class QPushButton;
class SwitchBox;

class AlertsPage : public ConsolePage {
    Q_OBJECT
public:
    explicit AlertsPage(Services& services, QWidget* parent = nullptr);

    QLineEdit* rainBox = nullptr;
    QPushButton* readRainButton = nullptr;
    QPushButton* writeRainButton = nullptr;
    QLineEdit* smsCountBox = nullptr;
    std::array<QLineEdit*, 10> smsNumberBoxes{};
    QLineEdit* phoneNumberBox = nullptr;
    std::array<QLabel*, 11> alertNumberLabels{};
    SwitchBox* smsAlertSwitch = nullptr;
    SwitchBox* phoneAlertSwitch = nullptr;
    SwitchBox* emailSwitch = nullptr;
    QPushButton* readEmailButton = nullptr;
    QPushButton* readGsmButton = nullptr;
    QPushButton* writeGsmButton = nullptr;
    QPushButton* alertsButton = nullptr;

public slots:
    void readGsm();
    void writeGsm();
    void toggleSmsAlert();
    void togglePhoneAlert();
    void toggleEmail();
    void readEmail();
    // The rain millimetres have no command: the buttons only lock the console and mark
    // the box.
    void readRain();
    void writeRain();
};
