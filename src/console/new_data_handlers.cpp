// The console's "Scarica nuovi dati": the window of new-data downloads.
#include "console/console_window.h"
#include "console/data_acquisition_page.h"

#include "link/link.h"
#include "measure/new_data_window.h"

#include <QPushButton>

NewDataWindow* ConsoleWindow::newDataWindow() const { return newDataWindow_.data(); }

void ConsoleWindow::openNewDataWindow()
{
    if (link_.busy())
        return;
    // Loading takes the first DTR pause: the caption says so meanwhile.
    const QString caption = dataAcquisition->newDataButton->text();
    dataAcquisition->newDataButton->setText(QStringLiteral("Please wait..."));
    newDataWindow_ = NewDataWindow::open(services_, newDataWindow_.data(), newDataTiming);
    dataAcquisition->newDataButton->setText(caption);
}
