// The "ALERTS" page: rain millimetres per pulse, SMS and phone alert numbers and
// switches, e-mail, and the sensors' alert settings.
#include "console/console_window.h"

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

QWidget* ConsoleWindow::buildAlertsPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    QGroupBox* rain = frame(page, QStringLiteral("Rain mm per pulse"));
    auto* rainRow = new QHBoxLayout(rain);
    rainBox = box(rain, QStringLiteral("mmpioggia"), QStringLiteral("Rain mm per pulse"), 80);
    readRainButton = button(rain, QStringLiteral("mmpioggialeggi"), QStringLiteral("read rain mm"));
    writeRainButton =
        button(rain, QStringLiteral("mmpioggiatastoscrivi"), QStringLiteral("write rain mm"));
    rainRow->addWidget(rainBox);
    rainRow->addWidget(readRainButton);
    rainRow->addWidget(writeRainButton);
    rainRow->addStretch(1);
    layout->addWidget(rain, 0, 0, 1, 2);

    QGroupBox* gsm = frame(page, QStringLiteral("GSM"));
    auto* grid = new QGridLayout(gsm);
    QLabel* countLabel = label(gsm, QStringLiteral("SMS numbers in use"));
    smsCountBox = box(gsm, QStringLiteral("NUMERO_ALLARMI_SMS"),
                             QStringLiteral("SMS numbers in use"), 50);
    smsCountBox->setToolTip(QStringLiteral("(0-10)"));
    smsCountBox->setMaxLength(14);
    countLabel->setBuddy(smsCountBox);
    grid->addWidget(countLabel, 0, 0);
    grid->addWidget(smsCountBox, 0, 1);
    for (int i = 0; i < 10; ++i) {
        const QString caption = QStringLiteral("SMS number %1").arg(i + 1);
        alertNumberLabels[i] = label(gsm, caption, arrayName(QStringLiteral("Label6"), i));
        smsNumberBoxes[i] = box(gsm, arrayName(QStringLiteral("NUMERO_ALLARME_SMS"), i),
                                    QStringLiteral("%1 %2").arg(caption).arg(i), 140);
        smsNumberBoxes[i]->setToolTip(QStringLiteral("Phone number"));
        smsNumberBoxes[i]->setMaxLength(14);
        alertNumberLabels[i]->setBuddy(smsNumberBoxes[i]);
        grid->addWidget(alertNumberLabels[i], 1 + i % 5, (i / 5) * 2);
        grid->addWidget(smsNumberBoxes[i], 1 + i % 5, (i / 5) * 2 + 1);
    }
    alertNumberLabels[10] = label(gsm, QStringLiteral("Phone number to call"), arrayName(QStringLiteral("Label6"), 10));
    phoneNumberBox = box(gsm, QStringLiteral("NUMERO_ALLARME_TELEFONO"),
                                  QStringLiteral("Phone number to call"), 140);
    phoneNumberBox->setToolTip(QStringLiteral("Phone number to call"));
    phoneNumberBox->setMaxLength(14);
    alertNumberLabels[10]->setBuddy(phoneNumberBox);
    grid->addWidget(alertNumberLabels[10], 6, 0);
    grid->addWidget(phoneNumberBox, 6, 1);
    smsAlertSwitch = switchBox(gsm, QStringLiteral("Abilita_SMS"), QStringLiteral("Enable SMS alert"));
    phoneAlertSwitch =
        switchBox(gsm, QStringLiteral("Abilita_Telefono"), QStringLiteral("Enable PHONE alert"));
    grid->addWidget(smsAlertSwitch, 7, 0, 1, 2);
    grid->addWidget(phoneAlertSwitch, 7, 2, 1, 2);
    readGsmButton = button(gsm, QStringLiteral("LEGGI_GSM"), QStringLiteral("Read"));
    writeGsmButton = button(gsm, QStringLiteral("SCRIVI_GSM"), QStringLiteral("Write"));
    grid->addWidget(readGsmButton, 8, 0);
    grid->addWidget(writeGsmButton, 8, 1);
    layout->addWidget(gsm, 1, 0);

    auto* side = new QVBoxLayout;
    emailSwitch = switchBox(page, QStringLiteral("EMAIL"),
                      QStringLiteral("Datalogger Abilitato per invio EMAIL"));
    readEmailButton = button(page, QStringLiteral("Leggi_Email"), QStringLiteral("Read e-mail"));
    alertsButton =
        button(page, QStringLiteral("Leggi_Allarmi"), QStringLiteral("Sensor alerts settings"));
    side->addWidget(emailSwitch);
    side->addWidget(readEmailButton, 0, Qt::AlignLeft);
    side->addSpacing(16);
    side->addWidget(alertsButton, 0, Qt::AlignLeft);
    side->addStretch(1);
    layout->addLayout(side, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);
    return page;
}
