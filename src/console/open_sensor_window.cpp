// The console's "Sensors parameters": the sensor window, opened afresh with the console
// hidden meanwhile.
#include "console/console_window.h"

#include "link/link.h"
#include "sensors/sensor_window.h"

void ConsoleWindow::openSensorWindow()
{
    if (link_.busy())
        return;
    sensorWindow_ = std::make_unique<SensorWindow>(services_, this);
    hide();
    sensorWindow_->show();
    sensorWindow_->raise();
    sensorWindow_->activateWindow();
}
