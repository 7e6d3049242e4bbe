// AlertWindow: the alert window, the alert switch and the two thresholds of each channel of
// one multiplexer, and the five lines of the alert SMS text.
#pragma once

#include <QWidget>

#include <array>

class DataloggerModel;
class Dialogs;
class Link;
struct Services;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class AlertWindow : public QWidget {
    Q_OBJECT
public:
    // Opened by a window (opener) that hides meanwhile and comes back when this closes.
    AlertWindow(Services& services, QWidget* opener, QWidget* parent = nullptr);

    std::array<QLabel*, 16> channelLabels{};
    std::array<QLineEdit*, 16> alertOnBoxes{};  // 1: alert checking on
    std::array<QLineEdit*, 16> lowThresholdBoxes{};             // low threshold
    std::array<QLineEdit*, 16> highThresholdBoxes{};             // high threshold
    std::array<QPushButton*, 4> readButtons{};
    std::array<QPushButton*, 4> writeButtons{};
    QGroupBox* smsGroup = nullptr;
    std::array<QLineEdit*, 5> smsTextBoxes{};
    QPushButton* readSmsButton = nullptr;
    QPushButton* writeSmsButton = nullptr;

public slots:
    void readAlerts(int mux);
    void writeAlerts(int mux);
    void readSms();
    void writeSms();
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setButtonsEnabled(bool enabled);
    // The rows of multiplexer mux, or -1 (named in a message) when the console's count
    // for it is not a whole number 0..16.
    int rowsOf(int mux, const QString& outcome);
    // The first box of the rows to write that the wire could not carry, with the reason.
    QString unsendableRows(int rows) const;
    QString unsendableSms() const;

    QWidget* opener_;
    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;
};
