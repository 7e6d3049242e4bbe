// The "CHANNELS" page: channels per multiplexer, the events counter switch, reset,
// memory erase and the sensors' parameters.
#include "console/form1.h"

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

QWidget* Form1::buildChannelsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* muxGrid = new QGridLayout;
    for (int m = 0; m < 4; ++m) {
        const QString caption = QStringLiteral("CH MUX%1").arg(m);
        QLabel* head = label(page, caption);
        MUX[m] = box(page, arrayName(QStringLiteral("MUX"), m),
                     QStringLiteral("%1 %2").arg(caption).arg(m), 56);
        head->setBuddy(MUX[m]);
        muxGrid->addWidget(head, 0, m, Qt::AlignHCenter);
        muxGrid->addWidget(MUX[m], 1, m);
    }
    leggicanali = button(page, QStringLiteral("leggicanali"), QStringLiteral("Read channels number"));
    Scrivicanali =
        button(page, QStringLiteral("Scrivicanali"), QStringLiteral("Write channels number"));
    muxGrid->addWidget(leggicanali, 1, 4);
    muxGrid->addWidget(Scrivicanali, 1, 5);
    muxGrid->setColumnStretch(6, 1);
    layout->addLayout(muxGrid);

    PLUVIOMETRO = switchBox(page, QStringLiteral("PLUVIOMETRO"),
                            QStringLiteral("Events counter enabled (Pluviometer)"));
    layout->addWidget(PLUVIOMETRO);

    auto* actions = new QHBoxLayout;
    Resetta = button(page, QStringLiteral("Resetta"), QStringLiteral("Reset Datalogger"));
    Azzera_memoria = button(page, QStringLiteral("Azzera_memoria"), QStringLiteral("Erase memory"));
    Leggi_poprieta = button(page, QStringLiteral("Leggi_popriet") + QChar(0x00E0),
                            QStringLiteral("Sensors parameters"));
    actions->addWidget(Resetta);
    actions->addWidget(Azzera_memoria);
    actions->addWidget(Leggi_poprieta);
    actions->addStretch(1);
    layout->addLayout(actions);
    layout->addStretch(1);
    return page;
}
