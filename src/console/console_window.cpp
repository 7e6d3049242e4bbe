// ConsoleWindow's construction: the pages in tab order, the command controls the link locks,
// the red-on-key rule, centring, and the console's closing.
#include "widgets/services.h"
#include "data/dialogs.h"
#include "console/console_window.h"
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/read_now_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/gprs_page.h"
#include "console/timers_page.h"

#include "widgets/window_placement.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "link/link.h"
#include "protocol/settings.h"
#include "data/program_folder.h"
#include "data/memory_download.h"
#include "measure/continuous_reading_window.h"
#include "measure/new_data_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTabWidget>
#include <QTimer>

ConsoleWindow::ConsoleWindow(Services& services, QWidget* parent)
    : QMainWindow(parent), services_(services), link_(services.link), dialogs_(services.dialogs),
      datalogger_(services.datalogger)
{
    onProgramEnd = [] { QCoreApplication::quit(); };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel LV210-LV420"));

    pages = new QTabWidget(this);
    pages->setObjectName(QStringLiteral("SSTab1"));
    // Each page has a mnemonic (Alt+D, Alt+T, ...); the page's own buttons have none, so
    // that no letter is taken twice.
    pages->addTab(dateTime = new DateTimePage(services_), QStringLiteral("&DATE AND TIME"));
    pages->addTab(timers = new TimersPage(services_), QStringLiteral("&TIMERS"));
    pages->addTab(channels = new ChannelsPage(services_), QStringLiteral("&CHANNELS"));
    pages->addTab(general = new GeneralPage(services_), QStringLiteral("&GENERAL"));
    pages->addTab(dataAcquisition = new DataAcquisitionPage(services_), QStringLiteral(" DATA &ACQUISITION"));
    pages->addTab(readNow = new ReadNowPage(services_), QStringLiteral("&READ NOW"));
    pages->addTab(gprs = new GprsPage(services_), QStringLiteral("G&PRS"));
    pages->addTab(alerts = new AlertsPage(services_), QStringLiteral("A&LERTS"));
    setCentralWidget(pages);

    buildMenu();
    connectHandlers();
    registerCommandControls();

    resize(1000, 640);
    centreOnScreen(this);
    hide();
}

ConsoleWindow::~ConsoleWindow()
{
    link_.setCommandControls({});
    delete continuousWindow();
    delete newDataWindow();
}

void ConsoleWindow::registerCommandControls()
{
    QList<QWidget*> controls = {
        general->readNameButton, general->writeNameButton, general->readMemoryButton, dataAcquisition->acquireButton, dataAcquisition->acquireTemperaturesButton, readNow->readInternalParametersButton,
        dateTime->readClockButton, dateTime->writeClockButton, dateTime->readAcquisitionSwitchButton, timers->writeTimerButton, timers->readTimerButton, timers->writePreheatingButton, timers->readPreheatingButton,
        channels->writeChannelsButton, channels->readChannelsButton, channels->sensorsButton, channels->eraseMemoryButton, channels->resetButton, alerts->alertsButton,
        alerts->readGsmButton, alerts->writeGsmButton, alerts->smsAlertSwitch, alerts->phoneAlertSwitch, gprs->readButton, general->readInternetSwitchButton,
        alerts->readRainButton,
    };
    for (QPushButton* b : readNow->readMuxButtons)
        controls << b;
    for (QPushButton* b : readNow->readMuxTemperatureButtons)
        controls << b;
    link_.setCommandControls([controls](bool enabled) {
        for (QWidget* w : controls)
            w->setEnabled(enabled);
    });
}

// A close that arrives while a read waits in the event loop first ends that wait (the
// read returns the time-out mark and the handler unwinds); the closing command is sent
// once nothing waits any more.
void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (link_.busy() && !unloaded_) {
        link_.abandonExchanges(true);
        QTimer::singleShot(0, this, &ConsoleWindow::unloadWhenIdle);
        return;
    }
    unload();
}

void ConsoleWindow::unloadWhenIdle()
{
    if (link_.busy()) {
        QTimer::singleShot(20, this, &ConsoleWindow::unloadWhenIdle);
        return;
    }
    link_.abandonExchanges(false);
    unload();
}

void ConsoleWindow::showAfterConnection(QWidget* from)
{
    from->hide();
    from->setEnabled(false);
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void ConsoleWindow::unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    link_.pause(100);
    // Leaves the datalogger converting on its own once the console has gone.
    if (dateTime->immediateConversionBox->isChecked() && dateTime->acquisitionSwitch->isChecked())
        Settings::leaveConverting(link_);
    link_.closePort();
    writeLogoutFile();
    if (onProgramEnd)
        onProgramEnd();
}

// Analog dataloggers record no temperatures and have no frequency/digits choice, but
// their sensors need a pre-heating time.
void ConsoleWindow::adaptForAnalogModel()
{
    setWindowTitle(QStringLiteral("Quorvel LV210-LV420 16 BIT DATALOGGER"));
    dataAcquisition->acquireTemperaturesButton->hide();
    dataAcquisition->acquireButton->setText(QStringLiteral("Acquire data"));
    dataAcquisition->acquireButton->setAccessibleName(QStringLiteral("Acquire data"));
    timers->preheatingFrame->show();
    for (QRadioButton* option : dataAcquisition->downloadKindOptions)
        option->hide();
}
