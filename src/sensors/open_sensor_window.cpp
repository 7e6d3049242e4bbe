// The console's "Sensors parameters": the sensor window, opened afresh with the console
// hidden meanwhile.
#include "console/form1.h"

#include "link/modulo1.h"
#include "sensors/sensori_an.h"

void Form1::Leggi_poprieta_Click()
{
    if (Modulo1::linkBusy())
        return;
    sensorWindow_ = std::make_unique<Sensori_An>(this);
    hide();
    sensorWindow_->show();
    sensorWindow_->raise();
    sensorWindow_->activateWindow();
}
