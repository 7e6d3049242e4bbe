// The console's "READ NOW" page: the internal voltages, the readings or temperatures of
// one multiplexer now, the stand-alone recording, and the way into the continuous
// reading (which the console opens).
#pragma once

#include "console/console_page.h"

#include <array>

class QLabel;
class QPushButton;

class ReadNowPage : public ConsolePage {
    Q_OBJECT
public:
    explicit ReadNowPage(Services& services, QWidget* parent = nullptr);

    QPushButton* readInternalParametersButton = nullptr;
    std::array<QLineEdit*, 3> parameters{};  // "5 Volt", "3 V Vint", "V Batt"
    std::array<QLabel*, 3> para{};
    std::array<QPushButton*, 4> readMuxButtons{};
    std::array<QPushButton*, 4> readMuxTemperatureButtons{};
    std::array<QLineEdit*, 16> readingBoxes{};
    std::array<QLabel*, 16> readingLabels{};
    QPushButton* standAloneButton = nullptr;
    std::array<QPushButton*, 1> continuousReadingButtons{};

public slots:
    void readInternalParameters();
    void readMux(int mux);
    void readMuxTemperatures(int mux);
    void standAlone();

private:
    // Both reads of a multiplexer share the reply.
    void readMultiplexer(int mux, bool temperatures);
};
