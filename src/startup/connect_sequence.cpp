// "Connect": probe the chosen COM port, read every setting into the console, hand over.
#include "startup/form2.h"

#include "console/box_colours.h"
#include "console/form1.h"
#include "console/switch_box.h"
#include "link/conversions.h"
#include "link/modulo1.h"
#include "startup/data_file_name.h"
#include "startup/port_settings.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

void Form2::Command1_Click()
{
    if (Modulo1::linkBusy())
        return;
    Modulo1::LinkState& link = Modulo1::link();
    const int port = selectedPort(8);
    if (port == 0) {
        setStatus(QStringLiteral("Select a COM port!"));
        return;
    }
    link.ComPortNumber = port;
    setStatus(QStringLiteral("Connecting port COM") + Conversioni::CStr(double(port)));
    PortSettings::save(IniPath, port);  // a settings file that cannot be written does not stop the connection

    if (Modulo1::Apri_Seriale(port) == 0) {
        setStatus(QStringLiteral("Datalogger not found, please check connection"));
        return;
    }
    setStatus(QStringLiteral(" Datalogger Found"));
    setStatusColour(BoxColour::Green);
    Modulo1::Pausa(10);

    readInternalParameters();
    readModelEventsAndAcquisition();
    handOver();
}

void Form2::readInternalParameters()
{
    Form1* console = Form1::instance();
    setStatus(QStringLiteral("Reading internal parameters"));
    const auto step = [this](void (Form1::*read)(), Form1* f, const char* done) {
        (f->*read)();
        setStatus(QLatin1String(done));
        Modulo1::Pausa(10);
    };
    step(&Form1::leggicanali_Click, console, "Sensors settings: OK");
    step(&Form1::leggidata_Click, console, "Date and time: OK");
    step(&Form1::LeggiDataAllarme_Click, console, "Start date: OK");
    step(&Form1::command2_Click, console, "Timer: OK");
    step(&Form1::Preacc_Click, console, "Pre-heating: OK");
    step(&Form1::Status_Click, console, "Internal parameters: OK");
    step(&Form1::Aggiorna_acq_Click, console, "Memory: OK");
    // With "GSM" ticked the GSM/SMS ("GSM/SMS: OK") and GPRS ("GPRS: OK") reads come
    // here; the console's GSM page wires them in together with its handlers.
    step(&Form1::leggi_nome_Click, console, "Datalogger Name: OK");
}

void Form2::readModelEventsAndAcquisition()
{
    Form1* console = Form1::instance();
    Modulo1::Invia_Comando(QStringLiteral("D"), QStringLiteral(","));
    Modulo1::LoggerModelCode = Conversioni::CInt(Modulo1::Leggi_Campo());
    setStatus(QStringLiteral("Datalogger Model: OK"));
    if (Modulo1::LoggerModelCode == 0)
        console->adaptForAnalogModel();

    Modulo1::Invia_Comando(QStringLiteral("U"), QString());
    console->PLUVIOMETRO->showField(Modulo1::Leggi_Campo());
    setStatus(QStringLiteral("Events counter: OK"));
    Modulo1::Pausa(10);

    Modulo1::Invia_Comando(QStringLiteral("O"), QString());
    console->data_logging->showField(Modulo1::Leggi_Campo());
    setStatus(QStringLiteral("Acqisition status: OK"));
    Modulo1::Pausa(10);
}

void Form2::handOver()
{
    Form1* console = Form1::instance();
    hide();
    setEnabled(false);
    console->setEnabled(true);
    console->show();
    console->raise();
    console->activateWindow();

    console->Nome_File_Dati->setText(
        suggestedDataFileName(console->Nome_Centralina->text(), QDate::currentDate()));
    setBoxColour(console->Nome_File_Dati, BoxColour::Yellow);
}
