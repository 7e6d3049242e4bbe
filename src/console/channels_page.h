// The console's "CHANNELS" page: the channel count of each multiplexer, the events
// counter's switch, and the reset, memory-erase and sensors buttons (which the console
// wires, as they reach other pages and windows).
#pragma once

#include "console/console_page.h"

#include <array>

class QPushButton;
class SwitchBox;

class ChannelsPage : public ConsolePage {
    Q_OBJECT
public:
    explicit ChannelsPage(Services& services, QWidget* parent = nullptr);

    std::array<QLineEdit*, 4> muxBoxes{};  // channels on multiplexer 0..3
    QPushButton* readChannelsButton = nullptr;
    QPushButton* writeChannelsButton = nullptr;
    SwitchBox* eventsCounterSwitch = nullptr;
    QPushButton* resetButton = nullptr;
    QPushButton* eraseMemoryButton = nullptr;
    QPushButton* sensorsButton = nullptr;  // object name "Leggi_poprietà"

signals:
    // The counts went out and were read back (the memory was reset with them): the
    // console reads the memory again here, inside the write.
    void countsWritten();

public slots:
    void readChannels();
    void writeChannels();
    // A count typed outside 0..16 is wiped at once.
    void muxChanged(int index);
    void toggleEventsCounter();
};
