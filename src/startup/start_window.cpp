// The start window: its controls, loading the last COM port, the status line, closing.
#include "widgets/services.h"
#include "startup/start_window.h"

#include "widgets/window_placement.h"
#include "widgets/box_colours.h"
#include "data/com_ports.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "link/serial_port.h"
#include "link/telnet_client.h"
#include "data/port_settings.h"

#include <QAccessible>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstdio>
#include <cstdlib>

namespace {

const char* const initialStatus = "Select a COM port, connect the cable and click Connect.";

QPushButton* makeButton(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    b->setMinimumHeight(32);
    return b;
}

QCheckBox* makeCheck(const QString& caption, const char* name, QWidget* parent)
{
    auto* c = new QCheckBox(caption, parent);
    c->setObjectName(QLatin1String(name));
    c->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return c;
}

} // namespace

void endProgramNow(Link& link_)
{
    link_.closePort();
    // A close that arrives while an exchange waits in the event loop cannot unwind that
    // wait; the program ends here instead of finishing the exchange first.
    if (link_.busy()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    QCoreApplication::quit();
}

StartWindow::StartWindow(Services& services, QWidget* parent)
    : QWidget(parent), services_(services), link_(services.link), dialogs_(services.dialogs),
      datalogger_(services.datalogger)
{
    onProgramEnd = [this] { endProgramNow(link_); };
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Quorvel"));

    serialPort = new SerialPort(this);
    serialPort->setPortNames(ComPorts::names(services_.programFolder));
    serialPort->setObjectName(QStringLiteral("MSComm1"));
    telnetClient = new TelnetClient(this);
    telnetClient->setObjectName(QStringLiteral("TelnetTTYClient1"));
    link_.setTransports(serialPort, telnetClient);
    connect(telnetClient, &TelnetClient::Error, this, &StartWindow::telnetError);

    buildControls();
    load();
}

StartWindow::~StartWindow()
{
    if (link_.serial() == serialPort)
        link_.setTransports(nullptr, nullptr);
}

void StartWindow::buildControls()
{
    portHeading = new QLabel(QStringLiteral("RS232"), this);
    portHeading->setObjectName(QStringLiteral("Label1"));
    QFont heading = portHeading->font();
    heading.setBold(true);
    portHeading->setFont(heading);

    auto* ports = new QGroupBox(this);
    ports->setAccessibleName(QStringLiteral("RS232"));
    auto* portGrid = new QGridLayout(ports);
    const QStringList devices = ComPorts::devices(services_.programFolder);
    for (int i = 0; i < 8; ++i) {
        const QString caption = QStringLiteral("COM ") + Numbers::shownNumber(double(i + 1));
        portOptions[i] = new QRadioButton(caption, ports);
        portOptions[i]->setObjectName(QStringLiteral("Option1_") + Numbers::shownNumber(double(i)));
        portOptions[i]->setAccessibleName(caption);
        const QString fault = ComPorts::fault(services_.programFolder, i + 1);
        portOptions[i]->setToolTip(fault.isEmpty() ? devices.value(i) : devices.value(i) + QLatin1Char('\n') + fault);
        portGrid->addWidget(portOptions[i], i % 4, i / 4);
    }

    gsmBox = makeCheck(QStringLiteral("GSM"), "GSM", this);
    internetBox = makeCheck(QStringLiteral("Thrugh &internet"), "chkTCP", this);
    connect(gsmBox, &QCheckBox::toggled, this, &StartWindow::gsmToggled);

    // The four actions have mnemonics: Alt+C connects, and so on.
    connectButton = makeButton(QStringLiteral("&Connect"), "Command1", this);
    stepByStepButton = makeButton(QStringLiteral("&Step-by-step connection"), "No_conn", this);
    resetButton = makeButton(QStringLiteral("&Reset"), "Command3", this);
    modemButton = makeButton(QStringLiteral("Connect with &modem"), "Command2", this);
    connect(connectButton, &QPushButton::clicked, this, &StartWindow::connectToDatalogger);
    connect(stepByStepButton, &QPushButton::clicked, this, &StartWindow::connectStepByStep);
    connect(resetButton, &QPushButton::clicked, this, &StartWindow::resetDatalogger);
    connect(modemButton, &QPushButton::clicked, this, &StartWindow::connectWithModem);

    statusLine = new QLabel(QLatin1String(initialStatus), this);
    statusLine->setObjectName(QStringLiteral("Label2"));
    statusLine->setAccessibleName(QStringLiteral("Status"));
    statusLine->setWordWrap(true);
    statusLine->setFrameShape(QFrame::Panel);
    statusLine->setFrameShadow(QFrame::Sunken);
    statusLine->setMinimumHeight(48);
    statusLine->setMargin(6);

    auto* options = new QHBoxLayout;
    options->addWidget(gsmBox);
    options->addWidget(internetBox);
    options->addStretch();

    auto* buttons = new QGridLayout;
    buttons->addWidget(connectButton, 0, 0);
    buttons->addWidget(stepByStepButton, 0, 1);
    buttons->addWidget(resetButton, 1, 0);
    buttons->addWidget(modemButton, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(portHeading);
    layout->addWidget(ports);
    layout->addLayout(options);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addSpacing(8);
    layout->addWidget(statusLine);

    // Keyboard order follows the window from top to bottom; Connect has the focus first.
    // The ports come first in their own order, so that Tab enters them at COM 1 (the
    // arrow keys then move between them).
    QList<QWidget*> order(portOptions.begin(), portOptions.end());
    order << gsmBox << internetBox << connectButton << stepByStepButton << resetButton << modemButton;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    connectButton->setFocus();
    resize(460, sizeHint().height());
}

void StartWindow::load()
{
    link_.setPortHeldOpen(false);
    centreOnScreen(this);
    settingsPath = PortSettings::iniPath(services_.programFolder);
    readSettings();
}

void StartWindow::readSettings()
{
    bool ok = true;
    const int saved = PortSettings::load(settingsPath, &ok);
    if (!ok)
        return;  // not a number: nothing preselected, the status keeps its first text
    if (saved == 0)
        setStatus(QStringLiteral("Select a RS232"));
    else if (saved >= 1 && saved <= 4)
        portOptions[saved - 1]->setChecked(true);
}

void StartWindow::setStatus(const QString& text)
{
    statusLine->setText(text);
    // A screen reader knows the line by its name, "Status", and speaks what it shows from
    // its description, told of each change, so that every step of a connection is heard.
    statusLine->setAccessibleDescription(text);
    QAccessibleEvent changed(statusLine, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&changed);
    emit statusChanged(text);
}

void StartWindow::setStatusColour(int colourValue) { setBoxColour(statusLine, colourValue); }

int StartWindow::selectedPort(int options) const
{
    for (int i = 0; i < options; ++i)
        if (portOptions[i]->isChecked())
            return i + 1;
    return 0;
}

void StartWindow::gsmToggled() { datalogger_.setGsm(gsmBox->isChecked()); }

void StartWindow::telnetError(qint32 number, const QString& description)
{
    dialogs_.inform(Numbers::shownNumber(double(number)) + QLatin1Char(' ') + description);
}

void StartWindow::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (onProgramEnd)
        onProgramEnd();
}
