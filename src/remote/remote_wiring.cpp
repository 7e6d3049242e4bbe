// Which GSM, GPRS, e-mail and internet controls raise which of the console's handlers.
#include "console/form1.h"

#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

void Form1::connectRemoteHandlers()
{
    connect(LEGGI_GSM, &QPushButton::clicked, this, &Form1::LEGGI_GSM_Click);
    connect(SCRIVI_GSM, &QPushButton::clicked, this, &Form1::SCRIVI_GSM_Click);
    connect(Leggi_Email, &QPushButton::clicked, this, &Form1::Leggi_Email_Click);
    connect(Leggi_Allarmi, &QPushButton::clicked, this, &Form1::Leggi_Allarmi_Click);
    connect(LeggiGPRS, &QPushButton::clicked, this, &Form1::LeggiGPRS_Click);
    connect(ScriviGPRS, &QPushButton::clicked, this, &Form1::ScriviGPRS_Click);
    connect(cmdWebLeggi, &QPushButton::clicked, this, &Form1::cmdWebLeggi_Click);
    connect(chkWebAbilita, &QCheckBox::toggled, this, &Form1::chkWebAbilita_Click);

    connect(Abilita_SMS, &SwitchBox::switchRequested, this, &Form1::Abilita_SMS_MouseDown);
    connect(Abilita_Telefono, &SwitchBox::switchRequested, this, &Form1::Abilita_Telefono_MouseDown);
    connect(EMAIL, &SwitchBox::switchRequested, this, &Form1::EMAIL_MouseDown);
    connect(Telefono, &SwitchBox::switchRequested, this, &Form1::Telefono_MouseDown);

    for (QLineEdit* box : NUMERO_ALLARME_SMS)
        markEditedOnKey(box);
    markEditedOnKey(NUMERO_ALLARMI_SMS);
    markEditedOnKey(NUMERO_ALLARME_TELEFONO);
    for (QLineEdit* box : GPRS)
        markEditedOnKey(box);
}
