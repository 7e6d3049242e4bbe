// Sensori_An: the sensor window, the name and four scaling coefficients of each channel
// of one multiplexer, read from and written to the datalogger.
#pragma once

#include <QWidget>

#include <array>

class Form1;
class QLabel;
class QLineEdit;
class QPushButton;

class Sensori_An : public QWidget {
    Q_OBJECT
public:
    // Opened by the console, which hides meanwhile and comes back when this closes.
    explicit Sensori_An(Form1* console, QWidget* parent = nullptr);

    std::array<QLabel*, 16> Numero_Canali{};
    std::array<QLineEdit*, 16> NomeCanali{};
    std::array<QLineEdit*, 16> CA{};  // ZERO_VOLT
    std::array<QLineEdit*, 16> CB{};  // FS_VOLT
    std::array<QLineEdit*, 16> CC{};  // ZERO_PH
    std::array<QLineEdit*, 16> CD{};  // FS_PH
    std::array<QPushButton*, 4> Leggi_prop{};
    std::array<QPushButton*, 4> ScriviProp{};

public slots:
    void Leggi_prop_Click(int mux);
    void ScriviProp_Click(int mux);
    void Form_Unload();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildControls();
    void setButtonsEnabled(bool enabled);
    void readRows(int mux);
    // The first box of the rows to write that the wire could not carry, with the reason.
    QString unsendable(int rows) const;

    Form1* console_;
};
