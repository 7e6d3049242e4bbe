// The console's "Sensor alerts settings": the alert window, opened afresh with the
// console hidden meanwhile.
#include "console/console_window.h"

#include "link/link.h"
#include "sensors/alert_window.h"

void ConsoleWindow::openAlertWindow()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    alertWindow_ = std::make_unique<AlertWindow>(services_, this);
    hide();
    alertWindow_->show();
    alertWindow_->setEnabled(true);
    alertWindow_->raise();
    alertWindow_->activateWindow();
}
