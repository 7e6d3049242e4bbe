// The "ALERTS" page: its controls; the GSM settings (the SMS alert numbers and switch,
// the number to call and its switch), the e-mail switch and the rain millimetres.
#include "console/alerts_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/switch_box.h"
#include "widgets/unsendable.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

AlertsPage::AlertsPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QGridLayout(this);

    QGroupBox* rain = frame(this, QStringLiteral("Rain mm per pulse"));
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

    QGroupBox* gsm = frame(this, QStringLiteral("GSM"));
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
    emailSwitch = switchBox(this, QStringLiteral("EMAIL"),
                      QStringLiteral("Datalogger Abilitato per invio EMAIL"));
    readEmailButton = button(this, QStringLiteral("Leggi_Email"), QStringLiteral("Read e-mail"));
    alertsButton =
        button(this, QStringLiteral("Leggi_Allarmi"), QStringLiteral("Sensor alerts settings"));
    side->addWidget(emailSwitch);
    side->addWidget(readEmailButton, 0, Qt::AlignLeft);
    side->addSpacing(16);
    side->addWidget(alertsButton, 0, Qt::AlignLeft);
    side->addStretch(1);
    layout->addLayout(side, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setRowStretch(2, 1);

    for (QLineEdit* box : smsNumberBoxes)
        markEditedOnKey(box);
    markEditedOnKey(smsCountBox);
    markEditedOnKey(phoneNumberBox);
    markEditedOnKey(rainBox);
    connect(readGsmButton, &QPushButton::clicked, this, &AlertsPage::readGsm);
    connect(writeGsmButton, &QPushButton::clicked, this, &AlertsPage::writeGsm);
    connect(readEmailButton, &QPushButton::clicked, this, &AlertsPage::readEmail);
    connect(readRainButton, &QPushButton::clicked, this, &AlertsPage::readRain);
    connect(writeRainButton, &QPushButton::clicked, this, &AlertsPage::writeRain);
    connect(smsAlertSwitch, &SwitchBox::switchRequested, this, &AlertsPage::toggleSmsAlert);
    connect(phoneAlertSwitch, &SwitchBox::switchRequested, this, &AlertsPage::togglePhoneAlert);
    connect(emailSwitch, &SwitchBox::switchRequested, this, &AlertsPage::toggleEmail);
}

namespace {

QString currentState(const SwitchBox* box) { return Settings::keptSwitch(box->isChecked()); }
QString newState(const SwitchBox* box) { return Settings::changedSwitch(!box->isChecked()); }

// "i" and "f" with what the boxes hold and the two switches as given.
void writeAlerts(Link& link, const AlertsPage& f, const QString& smsSwitch, const QString& phoneSwitch)
{
    QStringList numbers;
    for (const QLineEdit* box : f.smsNumberBoxes)
        numbers << box->text().trimmed();
    Settings::writeSmsAlerts(link, numbers, f.smsCountBox->text().trimmed(), smsSwitch);
    Settings::writePhoneAlert(link, f.phoneNumberBox->text().trimmed(), phoneSwitch);
}

// The first GSM box whose text the wire cannot carry, with the reason; empty when all can go.
QString unsendableGsm(const AlertsPage& f)
{
    for (int i = 0; i < 10; ++i) {
        const QString reason = unsendableReason(f.alertNumberLabels[i]->text(), f.smsNumberBoxes[i]->text().trimmed());
        if (!reason.isEmpty())
            return reason;
    }
    QString reason = unsendableReason(QStringLiteral("SMS numbers in use"), f.smsCountBox->text().trimmed());
    if (reason.isEmpty())
        reason = unsendableReason(QStringLiteral("Phone number to call"), f.phoneNumberBox->text().trimmed());
    return reason;
}

bool refuseUnsendableGsm(Dialogs& dialogs, const AlertsPage& f)
{
    const QString reason = unsendableGsm(f);
    if (reason.isEmpty())
        return false;
    dialogs.inform(refusalMessage(reason), QStringLiteral("Warning"));
    return true;
}

} // namespace

void AlertsPage::readGsm()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList sms = Settings::readSmsAlerts(link_).fields;
    for (size_t i = 0; i < smsNumberBoxes.size(); ++i)
        smsNumberBoxes[i]->setText(sms[qsizetype(i)].trimmed());
    smsCountBox->setText(sms[10].trimmed());
    smsAlertSwitch->showField(sms[11]);

    const QStringList call = Settings::readPhoneAlert(link_).fields;
    phoneNumberBox->setText(call[0].trimmed());
    phoneAlertSwitch->showField(call[1]);

    for (QLineEdit* box : smsNumberBoxes)
        setBoxColour(box, BoxColour::PaleYellow);
    setBoxColour(phoneNumberBox, BoxColour::PaleYellow);
    setBoxColour(smsCountBox, BoxColour::PaleYellow);
}

// The count is sent as typed: the datalogger, not the program, decides what it accepts.
void AlertsPage::writeGsm()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (refuseUnsendableGsm(dialogs_, *this))
        return;
    writeAlerts(link_, *this, currentState(smsAlertSwitch), currentState(phoneAlertSwitch));
    readGsm();
}

// The switches travel with the numbers, so the numbers typed go out with them.
void AlertsPage::toggleSmsAlert()
{
    if (link_.busy() || refuseUnsendableGsm(dialogs_, *this))
        return;
    writeAlerts(link_, *this, newState(smsAlertSwitch), currentState(phoneAlertSwitch));
    link_.pause(50);
    readGsm();
}

void AlertsPage::togglePhoneAlert()
{
    if (link_.busy() || refuseUnsendableGsm(dialogs_, *this))
        return;
    writeAlerts(link_, *this, currentState(smsAlertSwitch), newState(phoneAlertSwitch));
    link_.pause(50);
    readGsm();
}

void AlertsPage::toggleEmail()
{
    if (link_.busy())
        return;
    Settings::setEmail(link_, !emailSwitch->isChecked());
    readEmail();
}

void AlertsPage::readEmail()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    emailSwitch->showField(Settings::readEmailSwitch(link_).fields[0]);
}

// The rain millimetres per pulse have no command: the buttons only mark the box.
void AlertsPage::readRain()
{
    Link::CommandLock lock(link_);
    setBoxColour(rainBox, BoxColour::PaleYellow);
}

void AlertsPage::writeRain()
{
    // Locks the console and sends nothing: no command of the datalogger writes the rain
    // millimetres.
    Link::CommandLock lock(link_);
}
