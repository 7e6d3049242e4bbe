// SensorWindow: the sensor window, the name and four scaling coefficients of each channel
// of one multiplexer, read from and written to the datalogger.
#pragma once

#include <QWidget>

#include <array>

class DataloggerModel;
class Dialogs;
class Link;
struct Services;
class QLabel;
class QLineEdit;
class QPushButton;

class SensorWindow : public QWidget {
    Q_OBJECT
public:
    // Opened by a window (opener) that hides meanwhile and comes back when this closes.
    SensorWindow(Services& services, QWidget* opener, QWidget* parent = nullptr);

    std::array<QLabel*, 16> channelLabels{};
    std::array<QLineEdit*, 16> channelNameBoxes{};
    std::array<QLineEdit*, 16> zeroVoltBoxes{};  // zeroVolts
    std::array<QLineEdit*, 16> fullScaleVoltBoxes{};  // fullScaleVolts
    std::array<QLineEdit*, 16> zeroUnitBoxes{};  // zeroUnits
    std::array<QLineEdit*, 16> fullScaleUnitBoxes{};  // fullScaleUnits
    std::array<QPushButton*, 4> readButtons{};
    std::array<QPushButton*, 4> writeButtons{};

public slots:
    void readSensors(int mux);
    void writeSensors(int mux);
    void unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setButtonsEnabled(bool enabled);
    void readRows(int mux);
    // The first box of the rows to write that the wire could not carry, with the reason.
    QString unsendable(int rows) const;

    QWidget* opener_;
    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;
};
