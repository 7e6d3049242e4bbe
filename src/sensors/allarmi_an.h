// Allarmi_An: the alert window, the alert switch and the two thresholds of each channel of
// one multiplexer, and the five lines of the alert SMS text.
#pragma once

#include <QWidget>

#include <array>

class Form1;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

class Allarmi_An : public QWidget {
    Q_OBJECT
public:
    // Opened by the console, which hides meanwhile and comes back when this closes.
    explicit Allarmi_An(Form1* console, QWidget* parent = nullptr);

    std::array<QLabel*, 16> Numero_Canali{};
    std::array<QLineEdit*, 16> AllarmeAttivo{};  // 1: alert checking on
    std::array<QLineEdit*, 16> CB{};             // low threshold
    std::array<QLineEdit*, 16> CA{};             // high threshold
    std::array<QPushButton*, 4> Leggi_all{};
    std::array<QPushButton*, 4> ScriviAll{};
    QGroupBox* SMS_PERSONALE = nullptr;
    std::array<QLineEdit*, 5> SMS_PERSONALIZZATO{};
    QPushButton* MESSAGGIO_PERSONALE_LEGGI = nullptr;
    QPushButton* MESSAGGIO_PERSONALE_SCRIVI = nullptr;

public slots:
    void Leggi_All_Click(int mux);
    void ScriviAll_Click(int mux);
    void MESSAGGIO_PERSONALE_LEGGI_Click();
    void MESSAGGIO_PERSONALE_SCRIVI_Click();
    void Form_Unload();

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

    Form1* console_;
};
