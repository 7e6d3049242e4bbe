// The "CHANNELS" page: channels per multiplexer, the events counter switch, reset,
// memory erase and the sensors' parameters.
#include "console/console_window.h"

#include "protocol/datalogger_model.h"
#include "widgets/controls.h"
#include "widgets/switch_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* ConsoleWindow::buildChannelsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* muxGrid = new QGridLayout;
    for (int m = 0; m < 4; ++m) {
        const QString caption = QStringLiteral("CH MUX%1").arg(m);
        QLabel* head = label(page, caption);
        muxBoxes[m] = box(page, arrayName(QStringLiteral("MUX"), m),
                     QStringLiteral("%1 %2").arg(caption).arg(m), 56);
        head->setBuddy(muxBoxes[m]);
        // The model follows the box, so that every window counts channels as shown here.
        connect(muxBoxes[m], &QLineEdit::textChanged, this,
                [this, m](const QString& text) { datalogger_.setChannelText(m, text); });
        muxGrid->addWidget(head, 0, m, Qt::AlignHCenter);
        muxGrid->addWidget(muxBoxes[m], 1, m);
    }
    readChannelsButton = button(page, QStringLiteral("leggicanali"), QStringLiteral("Read channels number"));
    writeChannelsButton =
        button(page, QStringLiteral("Scrivicanali"), QStringLiteral("Write channels number"));
    muxGrid->addWidget(readChannelsButton, 1, 4);
    muxGrid->addWidget(writeChannelsButton, 1, 5);
    muxGrid->setColumnStretch(6, 1);
    layout->addLayout(muxGrid);

    eventsCounterSwitch = switchBox(page, QStringLiteral("PLUVIOMETRO"),
                            QStringLiteral("Events counter enabled (Pluviometer)"));
    layout->addWidget(eventsCounterSwitch);

    auto* actions = new QHBoxLayout;
    resetButton = button(page, QStringLiteral("Resetta"), QStringLiteral("Reset Datalogger"));
    eraseMemoryButton = button(page, QStringLiteral("Azzera_memoria"), QStringLiteral("Erase memory"));
    sensorsButton = button(page, QStringLiteral("Leggi_popriet") + QChar(0x00E0),
                            QStringLiteral("Sensors parameters"));
    actions->addWidget(resetButton);
    actions->addWidget(eraseMemoryButton);
    actions->addWidget(sensorsButton);
    actions->addStretch(1);
    layout->addLayout(actions);
    layout->addStretch(1);
    return page;
}
