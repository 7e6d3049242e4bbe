// "Connect": probe the chosen COM port, read every setting into the console, hand over.
#include "startup/form2.h"

#include "console/form1.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "link/read_sequence.h"
#include "data/data_file_name.h"
#include "data/port_settings.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>

using Modulo1::ReadStep;

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
    readSettingsAndHandOver();
}

bool Form2::readSettingsAndHandOver()
{
    setStatus(QStringLiteral("Reading internal parameters"));
    Form1* f = console_;
    const auto show = [this](const QString& text) { setStatus(text); };
    QList<ReadStep> steps = {
        {[f] { f->leggicanali_Click(); }, QStringLiteral("Sensors settings"), 10},
        {[f] { f->leggidata_Click(); }, QStringLiteral("Date and time"), 10},
        {[f] { f->LeggiDataAllarme_Click(); }, QStringLiteral("Start date"), 10},
        {[f] { f->command2_Click(); }, QStringLiteral("Timer"), 10},
        {[f] { f->Preacc_Click(); }, QStringLiteral("Pre-heating"), 10},
        {[f] { f->Status_Click(); }, QStringLiteral("Internal parameters"), 10},
        {[f] { f->Aggiorna_acq_Click(); }, QStringLiteral("Memory"), 10},
        {[f] { f->leggi_nome_Click(); }, QStringLiteral("Datalogger Name"), 10},
        {[this] { readModelCode(); }, QStringLiteral("Datalogger Model"), 0},
        {[f] {
             Modulo1::Invia_Comando(QStringLiteral("U"), QString());
             f->PLUVIOMETRO->showField(Modulo1::Leggi_Campo());
         },
         QStringLiteral("Events counter"), 10},
        {[f] {
             Modulo1::Invia_Comando(QStringLiteral("O"), QString());
             f->data_logging->showField(Modulo1::Leggi_Campo());
         },
         QStringLiteral("Acqisition status"), 10},
    };
    // A datalogger with a GSM modem also has its GSM/SMS and GPRS settings read, after the memory.
    if (GSM->isChecked()) {
        const qsizetype afterMemory = 7;
        steps.insert(afterMemory, {[f] { f->LEGGI_GSM_Click(); }, QStringLiteral("GSM/SMS"), 10});
        steps.insert(afterMemory + 1, {[f] { f->LeggiGPRS_Click(); }, QStringLiteral("GPRS"), 10});
    }
    if (Modulo1::runReadSequence(steps, show) == Modulo1::SequenceEnd::Silent) {
        stopOnSilence();
        return false;
    }

    f->showAfterConnection(this);
    f->Nome_File_Dati->setText(suggestedDataFileName(f->Nome_Centralina->text(), QDate::currentDate()));
    setBoxColour(f->Nome_File_Dati, BoxColour::Yellow);
    return true;
}

void Form2::readModelCode()
{
    if (Modulo1::readModelCode() == 0)
        console_->adaptForAnalogModel();
}

// The console does not open on values that never arrived; the port is closed so that
// the next "Connect" opens it afresh.
void Form2::stopOnSilence()
{
    Modulo1::Chiudi_Porta();
    Modulo1::link().PortHeldOpen = false;
    setStatus(Modulo1::silentDataloggerMessage());
    dialogs().inform(Modulo1::silentDataloggerMessage(), QStringLiteral("Warning"),
                     Dialogs::Icon::Warning);
}
