// The console's "GPRS" page: the ten GPRS, e-mail and FTP settings of a datalogger with
// a GSM modem, read and written as a whole.
#pragma once

#include "console/console_page.h"

#include <array>

class QLabel;
class QPushButton;

class GprsPage : public ConsolePage {
    Q_OBJECT
public:
    explicit GprsPage(Services& services, QWidget* parent = nullptr);

    std::array<QLineEdit*, 10> boxes{};
    std::array<QLabel*, 10> labels{};
    QPushButton* readButton = nullptr;
    QPushButton* writeButton = nullptr;

public slots:
    void read();
    // Each box is trimmed in place before its text goes out; a text the wire cannot carry
    // stops the write with the reason.
    void write();
};
