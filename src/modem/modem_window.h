// Modem: the GSM CONNECTION window. Keeps the phone book of the remote dataloggers,
// finds the local modem, dials the selected entry and watches the modem's answers; once
// the line is up it reads the datalogger's parameters into the console and hands over,
// after which every exchange of the program travels over the modem line.
#pragma once

#include "modem/phone_book_window.h"

class ConsoleDoor;
struct FixedReplies;

class ModemWindow : public PhoneBookWindow {
    Q_OBJECT
public:
    // console: the console the connection fills and hands over to.
    ModemWindow(Services& services, ConsoleDoor* console, QWidget* parent = nullptr);

    // Writes text to the serial port at once; number is not used.
    QString writeToModem(const QString& text, qint16 number = 0);
    // Discards everything in the serial input.
    void emptyInput();
    // The fixed-length reading of "Retry"; false when a reply fell short (the values
    // already written stay in the console).
    bool readFixedReplies();

public slots:
    void load() override;
    bool save() override;
    void connectSelected() override;
    void dialWithPause() override;
    void stop() override;
    void retry() override;
    void poll() override;

private:
    void dial(const QString& number);
    void connectedPhase();
    bool readParameters();
    // The fixed-length reads into values; false at the first reply that falls short.
    bool readFixedReplies(FixedReplies& values);

    ConsoleDoor* console_ = nullptr;
    bool inConnectedPhase_ = false;
};
