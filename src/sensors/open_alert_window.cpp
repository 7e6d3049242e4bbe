// The console's "Sensor alerts settings": the alert window, opened afresh with the
// console hidden meanwhile.
#include "console/form1.h"

#include "link/modulo1.h"
#include "sensors/allarmi_an.h"

void Form1::Leggi_Allarmi_Click()
{
    if (Modulo1::linkBusy())
        return;
    Modulo1::CommandLock lock;
    alertWindow_ = std::make_unique<Allarmi_An>(this);
    hide();
    alertWindow_->show();
    alertWindow_->setEnabled(true);
    alertWindow_->raise();
    alertWindow_->activateWindow();
}
