// Form2: the start window; owns the two transports and finds the datalogger on a COM port.
#pragma once

#include <QWidget>

#include <array>
#include <functional>

class Form1;
class QCheckBox;
class QCloseEvent;
class QLabel;
class QPushButton;
class QRadioButton;
class SerialPort;
class TelnetTTYClient;

class Form2 : public QWidget {
    Q_OBJECT
public:
    explicit Form2(QWidget* parent = nullptr);
    ~Form2() override;

    // The console the connections fill and hand over to.
    void setConsole(Form1* console) { console_ = console; }
    // "Connect" once the datalogger has answered the probe: every setting is read into
    // the console, which is then shown. False when the datalogger fell silent.
    bool readSettingsAndHandOver();

    std::array<QRadioButton*, 8> Option1{};  // index i is COM i+1
    QCheckBox* GSM = nullptr;
    QCheckBox* chkTCP = nullptr;
    QPushButton* Command1 = nullptr;  // "Connect"
    QPushButton* No_conn = nullptr;   // "Step-by-step connection"
    QPushButton* Command3 = nullptr;  // "Reset"
    QPushButton* Command2 = nullptr;  // "Connect with modem"
    QLabel* Label2 = nullptr;         // the status line
    QLabel* Label1 = nullptr;         // "RS232"

    // Full path of the settings file holding the last COM port.
    QString IniPath;

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
    void Form_Load();
    void Command1_Click();  // "Connect"
    void No_conn_Click();   // "Step-by-step connection"
    void Command3_Click();  // "Reset"
    void Command2_Click();  // "Connect with modem"
    void GSM_Click();
    void TelnetTTYClient1_Error(qint32 number, const QString& description);

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

    // The link's components, alive for the whole run; reached through Modulo1.
    SerialPort* MSComm1 = nullptr;
    TelnetTTYClient* TelnetTTYClient1 = nullptr;
    Form1* console_ = nullptr;
};

// The end of the program when the start window closes: at once, even in mid-exchange.
void endProgramNow();
