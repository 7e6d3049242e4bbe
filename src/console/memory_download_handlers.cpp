// The console's memory downloads, "Acquire" (sensor values) and "Acquire Temperatures":
// the " DATA ACQUISITION" page runs them with the name the "GENERAL" page shows and the
// events counter's switch of the "CHANNELS" page.
#include "console/console_window.h"
#include "console/channels_page.h"
#include "console/data_acquisition_page.h"
#include "console/general_page.h"

#include "link/serial_port.h"
#include "link/link.h"
#include "widgets/switch_box.h"

#include <QLineEdit>

void ConsoleWindow::acquire()
{
    dataAcquisition->download(false, general->nameBox->text(), channels->eventsCounterSwitch->isChecked());
}

void ConsoleWindow::acquireTemperatures()
{
    dataAcquisition->download(true, general->nameBox->text(), channels->eventsCounterSwitch->isChecked());
}

void ConsoleWindow::discardSerialInput()
{
    if (SerialPort* port = link_.serial())
        port->discardInput();
}

QString ConsoleWindow::dataFolder() const { return dataAcquisition->dataFolder(); }

void ConsoleWindow::setDataFolder(const QString& folder) { dataAcquisition->setDataFolder(folder); }
