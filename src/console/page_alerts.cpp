// The "ALERTS" page: rain millimetres per pulse, SMS and phone alert numbers and
// switches, e-mail, and the sensors' alert settings.
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

QWidget* Form1::buildAlertsPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    QGroupBox* rain = frame(page, QStringLiteral("Rain mm per pulse"));
    auto* rainRow = new QHBoxLayout(rain);
    mmpioggia = box(rain, QStringLiteral("mmpioggia"), QStringLiteral("Rain mm per pulse"), 80);
    mmpioggialeggi = button(rain, QStringLiteral("mmpioggialeggi"), QStringLiteral("read rain mm"));
    mmpioggiatastoscrivi =
        button(rain, QStringLiteral("mmpioggiatastoscrivi"), QStringLiteral("write rain mm"));
    rainRow->addWidget(mmpioggia);
    rainRow->addWidget(mmpioggialeggi);
    rainRow->addWidget(mmpioggiatastoscrivi);
    rainRow->addStretch(1);
    layout->addWidget(rain, 0, 0, 1, 2);

    QGroupBox* gsm = frame(page, QStringLiteral("GSM"));
    auto* grid = new QGridLayout(gsm);
    QLabel* countLabel = label(gsm, QStringLiteral("SMS numbers in use"));
    NUMERO_ALLARMI_SMS = box(gsm, QStringLiteral("NUMERO_ALLARMI_SMS"),
                             QStringLiteral("SMS numbers in use"), 50);
    NUMERO_ALLARMI_SMS->setToolTip(QStringLiteral("(0-10)"));
    NUMERO_ALLARMI_SMS->setMaxLength(14);
    countLabel->setBuddy(NUMERO_ALLARMI_SMS);
    grid->addWidget(countLabel, 0, 0);
    grid->addWidget(NUMERO_ALLARMI_SMS, 0, 1);
    for (int i = 0; i < 10; ++i) {
        const QString caption = QStringLiteral("SMS number %1").arg(i + 1);
        Label6[i] = label(gsm, caption, arrayName(QStringLiteral("Label6"), i));
        NUMERO_ALLARME_SMS[i] = box(gsm, arrayName(QStringLiteral("NUMERO_ALLARME_SMS"), i),
                                    QStringLiteral("%1 %2").arg(caption).arg(i), 140);
        NUMERO_ALLARME_SMS[i]->setToolTip(QStringLiteral("Phone number"));
        NUMERO_ALLARME_SMS[i]->setMaxLength(14);
        Label6[i]->setBuddy(NUMERO_ALLARME_SMS[i]);
        grid->addWidget(Label6[i], 1 + i % 5, (i / 5) * 2);
        grid->addWidget(NUMERO_ALLARME_SMS[i], 1 + i % 5, (i / 5) * 2 + 1);
    }
    Label6[10] = label(gsm, QStringLiteral("Phone number to call"), arrayName(QStringLiteral("Label6"), 10));
    NUMERO_ALLARME_TELEFONO = box(gsm, QStringLiteral("NUMERO_ALLARME_TELEFONO"),
                                  QStringLiteral("Phone number to call"), 140);
    NUMERO_ALLARME_TELEFONO->setToolTip(QStringLiteral("Phone number to call"));
    NUMERO_ALLARME_TELEFONO->setMaxLength(14);
    Label6[10]->setBuddy(NUMERO_ALLARME_TELEFONO);
    grid->addWidget(Label6[10], 6, 0);
    grid->addWidget(NUMERO_ALLARME_TELEFONO, 6, 1);
    Abilita_SMS = switchBox(gsm, QStringLiteral("Abilita_SMS"), QStringLiteral("Enable SMS alert"));
    Abilita_Telefono =
        switchBox(gsm, QStringLiteral("Abilita_Telefono"), QStringLiteral("Enable PHONE alert"));
    grid->addWidget(Abilita_SMS, 7, 0, 1, 2);
    grid->addWidget(Abilita_Telefono, 7, 2, 1, 2);
    LEGGI_GSM = button(gsm, QStringLiteral("LEGGI_GSM"), QStringLiteral("Read"));
    SCRIVI_GSM = button(gsm, QStringLiteral("SCRIVI_GSM"), QStringLiteral("Write"));
    grid->addWidget(LEGGI_GSM, 8, 0);
    grid->addWidget(SCRIVI_GSM, 8, 1);
    layout->addWidget(gsm, 1, 0);

    auto* side = new QVBoxLayout;
    EMAIL = switchBox(page, QStringLiteral("EMAIL"),
                      QStringLiteral("Datalogger Abilitato per invio EMAIL"));
    Leggi_Email = button(page, QStringLiteral("Leggi_Email"), QStringLiteral("Read e-mail"));
    Leggi_Allarmi =
        button(page, QStringLiteral("Leggi_Allarmi"), QStringLiteral("Sensor alerts settings"));
    side->addWidget(EMAIL);
    side->addWidget(Leggi_Email, 0, Qt::AlignLeft);
    side->addSpacing(16);
    side->addWidget(Leggi_Allarmi, 0, Qt::AlignLeft);
    side->addStretch(1);
    layout->addLayout(side, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);
    return page;
}
