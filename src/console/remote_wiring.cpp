// Which GSM, GPRS, e-mail and internet controls raise which of the console's handlers.
#include "console/console_window.h"

#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void ConsoleWindow::connectRemoteHandlers()
{
    connect(readGsmButton, &QPushButton::clicked, this, &ConsoleWindow::readGsm);
    connect(writeGsmButton, &QPushButton::clicked, this, &ConsoleWindow::writeGsm);
    connect(readEmailButton, &QPushButton::clicked, this, &ConsoleWindow::readEmail);
    connect(alertsButton, &QPushButton::clicked, this, &ConsoleWindow::openAlertWindow);

    connect(smsAlertSwitch, &SwitchBox::switchRequested, this, &ConsoleWindow::toggleSmsAlert);
    connect(phoneAlertSwitch, &SwitchBox::switchRequested, this, &ConsoleWindow::togglePhoneAlert);
    connect(emailSwitch, &SwitchBox::switchRequested, this, &ConsoleWindow::toggleEmail);

    for (QLineEdit* box : smsNumberBoxes)
        markEditedOnKey(box);
    markEditedOnKey(smsCountBox);
    markEditedOnKey(phoneNumberBox);
}
