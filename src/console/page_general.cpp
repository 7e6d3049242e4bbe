// The "GENERAL" page: the datalogger's ID, the next acquisition date, the memory
// capacity and the internet-connection switch.
#include "console/console_window.h"

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

QWidget* ConsoleWindow::buildGeneralPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    QGroupBox* id = frame(page, QStringLiteral("Datalogger ID"));
    auto* idRow = new QHBoxLayout(id);
    nameBox = box(id, QStringLiteral("Nome_Centralina"), QStringLiteral("Datalogger ID"), 160);
    readNameButton = button(id, QStringLiteral("leggi_nome"), QStringLiteral("Read ID"));
    writeNameButton = button(id, QStringLiteral("imposta_nome"), QStringLiteral("Write ID"));
    idRow->addWidget(nameBox, 1);
    idRow->addWidget(readNameButton);
    idRow->addWidget(writeNameButton);
    layout->addWidget(id, 0, 0);

    QGroupBox* next = frame(page, QStringLiteral("Next Acquisition Date"));
    auto* nextRow = new QHBoxLayout(next);
    const char* const parts[5] = {"day", "month", "year", "hour", "minute"};
    for (int i = 0; i < 5; ++i) {
        nextAcquisitionBoxes[i] = box(next, arrayName(QStringLiteral("Prox"), i),
                      QStringLiteral("Next Acquisition Date %1 (%2)").arg(i).arg(parts[i]), 48);
        nextRow->addWidget(nextAcquisitionBoxes[i]);
    }
    readNextAcquisitionButton = button(next, QStringLiteral("leggiprox"), QStringLiteral("NEW CONVERSION DATE"));
    nextRow->addWidget(readNextAcquisitionButton);
    layout->addWidget(next, 1, 0);

    QGroupBox* memory = frame(page, QStringLiteral("Memory"));
    auto* memGrid = new QGridLayout(memory);
    // One heading over both boxes; each box is still spoken by its own half of it.
    QLabel* heading = label(memory, QStringLiteral("Total Free"));
    memoryTotalBox = box(memory, QStringLiteral("Acq_possibili"), QStringLiteral("Total"), 90);
    memoryFreeBox = box(memory, QStringLiteral("acq_disponibili"), QStringLiteral("Free"), 90);
    memoryTotalBox->setReadOnly(true);
    memoryFreeBox->setReadOnly(true);
    heading->setBuddy(memoryTotalBox);
    readMemoryButton = button(memory, QStringLiteral("Aggiorna_acq"), QStringLiteral("Read"));
    memGrid->addWidget(heading, 0, 0, 1, 2);
    memGrid->addWidget(memoryTotalBox, 1, 0);
    memGrid->addWidget(memoryFreeBox, 1, 1);
    memGrid->addWidget(readMemoryButton, 1, 2);
    layout->addWidget(memory, 0, 1);

    QGroupBox* web = frame(page, QStringLiteral("Internet Connection"));
    auto* webRow = new QHBoxLayout(web);
    internetSwitchBox = check(web, QStringLiteral("chkWebAbilita"), QStringLiteral("Enabled"));
    readInternetSwitchButton = button(web, QStringLiteral("cmdWebLeggi"), QStringLiteral("Read parameter"));
    webRow->addWidget(internetSwitchBox);
    webRow->addWidget(readInternetSwitchButton);
    layout->addWidget(web, 1, 1);

    readFullScaleButton = button(page, QStringLiteral("leggifs"), QStringLiteral("leggifs"));
    layout->addWidget(readFullScaleButton, 2, 0, Qt::AlignLeft);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);
    return page;
}
