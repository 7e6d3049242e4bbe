// The "GENERAL" page: the datalogger's ID, the next acquisition date, the memory
// capacity and the internet-connection switch.
#include "console/form1.h"

#include "widgets/controls.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* Form1::buildGeneralPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    QGroupBox* id = frame(page, QStringLiteral("Datalogger ID"));
    auto* idRow = new QHBoxLayout(id);
    Nome_Centralina = box(id, QStringLiteral("Nome_Centralina"), QStringLiteral("Datalogger ID"), 160);
    leggi_nome = button(id, QStringLiteral("leggi_nome"), QStringLiteral("Read ID"));
    imposta_nome = button(id, QStringLiteral("imposta_nome"), QStringLiteral("Write ID"));
    idRow->addWidget(Nome_Centralina, 1);
    idRow->addWidget(leggi_nome);
    idRow->addWidget(imposta_nome);
    layout->addWidget(id, 0, 0);

    QGroupBox* next = frame(page, QStringLiteral("Next Acquisition Date"));
    auto* nextRow = new QHBoxLayout(next);
    const char* const parts[5] = {"day", "month", "year", "hour", "minute"};
    for (int i = 0; i < 5; ++i) {
        Prox[i] = box(next, arrayName(QStringLiteral("Prox"), i),
                      QStringLiteral("Next Acquisition Date %1 (%2)").arg(i).arg(parts[i]), 48);
        nextRow->addWidget(Prox[i]);
    }
    leggiprox = button(next, QStringLiteral("leggiprox"), QStringLiteral("NEW CONVERSION DATE"));
    nextRow->addWidget(leggiprox);
    layout->addWidget(next, 1, 0);

    QGroupBox* memory = frame(page, QStringLiteral("Memory"));
    auto* memGrid = new QGridLayout(memory);
    // One heading over both boxes; each box is still spoken by its own half of it.
    QLabel* heading = label(memory, QStringLiteral("Total Free"));
    Acq_possibili = box(memory, QStringLiteral("Acq_possibili"), QStringLiteral("Total"), 90);
    acq_disponibili = box(memory, QStringLiteral("acq_disponibili"), QStringLiteral("Free"), 90);
    Acq_possibili->setReadOnly(true);
    acq_disponibili->setReadOnly(true);
    heading->setBuddy(Acq_possibili);
    Aggiorna_acq = button(memory, QStringLiteral("Aggiorna_acq"), QStringLiteral("Read"));
    memGrid->addWidget(heading, 0, 0, 1, 2);
    memGrid->addWidget(Acq_possibili, 1, 0);
    memGrid->addWidget(acq_disponibili, 1, 1);
    memGrid->addWidget(Aggiorna_acq, 1, 2);
    layout->addWidget(memory, 0, 1);

    QGroupBox* web = frame(page, QStringLiteral("Internet Connection"));
    auto* webRow = new QHBoxLayout(web);
    chkWebAbilita = check(web, QStringLiteral("chkWebAbilita"), QStringLiteral("Enabled"));
    cmdWebLeggi = button(web, QStringLiteral("cmdWebLeggi"), QStringLiteral("Read parameter"));
    webRow->addWidget(chkWebAbilita);
    webRow->addWidget(cmdWebLeggi);
    layout->addWidget(web, 1, 1);

    leggifs = button(page, QStringLiteral("leggifs"), QStringLiteral("leggifs"));
    layout->addWidget(leggifs, 2, 0, Qt::AlignLeft);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
    return page;
}
