// Which control raises which of the console's handlers.
#include "console/form1.h"

#include "link/modulo1.h"
#include "widgets/switch_box.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

void Form1::connectHandlers()
{
    const auto click = [this](QPushButton* b, void (Form1::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    click(leggi_nome, &Form1::leggi_nome_Click);
    click(imposta_nome, &Form1::imposta_nome_Click);
    click(leggidata, &Form1::leggidata_Click);
    click(impostadata, &Form1::impostadata_Click);
    click(LeggiDataAllarme, &Form1::LeggiDataAllarme_Click);
    click(ScriviDataAllarme, &Form1::ScriviDataAllarme_Click);
    click(leggiprox, &Form1::leggiprox_Click);
    click(Command2, &Form1::command2_Click);
    click(Command1, &Form1::Command1_Click);
    click(preacc, &Form1::Preacc_Click);
    click(impostapreacc, &Form1::impostapreacc_Click);
    click(ReadSt, &Form1::ReadSt_Click);
    click(Status, &Form1::Status_Click);
    click(leggicanali, &Form1::leggicanali_Click);
    click(Scrivicanali, &Form1::Scrivicanali_Click);
    click(CONTAIMP, &Form1::CONTAIMP_Click);
    click(mmpioggialeggi, &Form1::mmpioggialeggi_Click);
    click(mmpioggiatastoscrivi, &Form1::mmpioggiatastoscrivi_Click);
    click(leggifs, &Form1::leggifs_Click);
    click(Aggiorna_acq, &Form1::Aggiorna_acq_Click);
    click(Azzera_memoria, &Form1::Azzera_memoria_Click);
    click(Resetta, &Form1::Resetta_Click);
    click(cmdApriMisuraContinua[0], &Form1::cmdApriMisuraContinua_Click);
    // "Backup" is deliberately left without a handler: it opens nothing and sends nothing.
    click(Leggi_poprieta, &Form1::Leggi_poprieta_Click);
    click(cmdScaricaRimanenti, &Form1::cmdScaricaRimanenti_Click);
    click(Acquisisci, &Form1::Acquisisci_Click);
    click(Acquisisci_Temp, &Form1::Acquisisci_Temp_Click);
    click(Subito, &Form1::Subito_Click);
    click(registradasolo, &Form1::registradasolo_Click);
    for (int n = 0; n < 4; ++n) {
        connect(MISCONTINUA[n], &QPushButton::clicked, this, [this, n] { MISCONTINUA_Click(n); });
        connect(MISCONTINUA_TEMP[n], &QPushButton::clicked, this, [this, n] { MISCONTINUA_TEMP_Click(n); });
    }
    connect(PROVA_IN_SITO, &QAction::triggered, this, &Form1::PROVA_IN_SITO_Click);
    // The way out of a long download: it only raises the flag the download looks at, and
    // ends a wait for a field that may never come.
    connect(cancelDownload, &QPushButton::clicked, this, [this] {
        downloadCancelled_ = true;
        Modulo1::abandonExchanges(true);
    });

    connect(data_logging, &SwitchBox::switchRequested, this, &Form1::data_logging_MouseDown);
    connect(PLUVIOMETRO, &SwitchBox::switchRequested, this, &Form1::PLUVIOMETRO_MouseDown);
    connectRemoteHandlers();

    for (int m = 0; m < 4; ++m)
        connect(MUX[m], &QLineEdit::textEdited, this, [this, m] { MUX_Change(m); });

    markEditedOnKey(Nome_Centralina);
    for (QLineEdit* box : data)
        markEditedOnKey(box);
    for (QLineEdit* box : data_allarme)
        markEditedOnKey(box);
    for (QLineEdit* box : conversione) {
        markEditedOnKey(box);
        trimOnChange(box);
    }
    markEditedOnKey(preaccensione);
    trimOnChange(preaccensione);
    markEditedOnKey(mmpioggia);
}
