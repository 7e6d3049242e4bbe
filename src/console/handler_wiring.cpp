// Which control raises which of the console's handlers.
#include "console/console_window.h"
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/general_page.h"
#include "console/alerts_page.h"
#include "console/read_now_page.h"

#include "link/link.h"
#include "widgets/switch_box.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>

void ConsoleWindow::connectHandlers()
{
    const auto click = [this](QPushButton* b, void (ConsoleWindow::*handler)()) {
        connect(b, &QPushButton::clicked, this, handler);
    };
    connect(channels, &ChannelsPage::countsWritten, general, &GeneralPage::readMemory);
    click(alerts->alertsButton, &ConsoleWindow::openAlertWindow);
    click(channels->eraseMemoryButton, &ConsoleWindow::eraseMemory);
    click(channels->resetButton, &ConsoleWindow::resetDatalogger);
    click(readNow->continuousReadingButtons[0], &ConsoleWindow::openContinuousReading);
    // "Backup" is deliberately left without a handler: it opens nothing and sends nothing.
    click(channels->sensorsButton, &ConsoleWindow::openSensorWindow);
    click(dataAcquisition->newDataButton, &ConsoleWindow::openNewDataWindow);
    click(dataAcquisition->acquireButton, &ConsoleWindow::acquire);
    click(dataAcquisition->acquireTemperaturesButton, &ConsoleWindow::acquireTemperatures);
    connect(fieldTestAction, &QAction::triggered, this, &ConsoleWindow::fieldTest);
}
