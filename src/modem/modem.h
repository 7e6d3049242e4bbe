// Modem: the GSM CONNECTION window. Keeps the phone book of the remote dataloggers,
// finds the local modem, dials the selected entry and watches the modem's answers; once
// the line is up it reads the datalogger's parameters into the console and hands over,
// after which every exchange of the program travels over the modem line.
#pragma once

#include "modem/phone_book_window.h"

class Form1;

class Modem : public PhoneBookWindow {
    Q_OBJECT
public:
    explicit Modem(Form1* console, QWidget* parent = nullptr);

    // Writes text to the serial port at once; numero is not used.
    QString Interroga_Modem(const QString& carattere, qint16 numero = 0);
    // Discards everything in the serial input.
    void Scarica();
    // The fixed-length reading of "Retry"; false when a reply fell short (the values
    // already written stay in the console).
    bool Recupera_Dati();

public slots:
    void Form_Load() override;
    bool Salva_Click() override;
    void Connetti_Click() override;
    void Scarica_Vai_Click() override;
    void Interrompi_Click() override;
    void Riprova_Click() override;
    void Timer1_Timer() override;

private:
    void dial(const QString& number);
    void connectedPhase();
    bool readParameters();
    void handOver();
    // Recupera_Dati's reads, each ending the reading (false) when its reply falls short.
    bool fixedRead(const QString& command, int count, QString& reply);

    Form1* console_ = nullptr;
    bool inConnectedPhase_ = false;
};
