// StartWindow: the start window; owns the two transports and finds the datalogger on a COM port.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

class ConsoleDoor;
class DataloggerModel;
class Dialogs;
class Link;
struct Services;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class SerialPort;
class TelnetClient;

class StartWindow : public QWidget {
    Q_OBJECT
public:
    explicit StartWindow(Services& services, QWidget* parent = nullptr);
    ~StartWindow() override;

    // The console the connections fill and hand over to.
    void setConsole(ConsoleDoor* console) { console_ = console; }
    // "Connect" once the datalogger has answered the probe: every setting is read into
    // the console, which is then shown. False when the datalogger fell silent.
    bool readSettingsAndHandOver();

    std::array<QRadioButton*, 8> portOptions{};  // index i is COM i+1
    QCheckBox* gsmBox = nullptr;
    QCheckBox* internetBox = nullptr;
    QPushButton* connectButton = nullptr;  // "Connect"
    QPushButton* stepByStepButton = nullptr;   // "Step-by-step connection"
    QPushButton* resetButton = nullptr;  // "Reset"
    QPushButton* modemButton = nullptr;  // "Connect with modem"
    QLabel* statusLine = nullptr;         // the status line
    QLabel* portHeading = nullptr;         // "RS232"

    // Full path of the settings file holding the last COM port.
    QString settingsPath;

    // Puts a text on the status line (and tells statusChanged).
    void setStatus(const QString& text);

    // Opens the modem window (internet = false) or the internet window (true); the
    // program installs it (installModemWindow). Left empty, the status line says that
    // the window is not available.
    std::function<void(bool internet)> openModemWindow;
    // Called when the start window is closed; ends the program unless a test replaces it.
    std::function<void()> onProgramEnd;

signals:
    void statusChanged(const QString& text);

public slots:
    void load();
    void connectToDatalogger();  // "Connect"
    void connectStepByStep();   // "Step-by-step connection"
    void resetDatalogger();  // "Reset"
    void connectWithModem();  // "Connect with modem"
    void gsmToggled();
    void telnetError(qint32 number, const QString& description);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    // The COM port of the first selected option among the first `options`, or 0.
    int selectedPort(int options) const;
    void readSettings();
    void readModelCode();
    void stopOnSilence();
    void setStatusColour(int colourValue);

    Services& services_;
    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;
    // The link's components, alive for the whole run and registered with the link.
    SerialPort* serialPort = nullptr;
    TelnetClient* telnetClient = nullptr;
    ConsoleDoor* console_ = nullptr;
};

// The end of the program when the start window closes: at once, even in mid-exchange.
void endProgramNow(Link& link);
