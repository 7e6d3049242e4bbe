// The start window: its controls, loading the last COM port, the status line, closing.
#include "startup/form2.h"

#include "widgets/window_placement.h"
#include "widgets/box_colours.h"
#include "link/com_ports.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "link/serial_port.h"
#include "link/telnet_tty_client.h"
#include "data/port_settings.h"

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

void endProgramNow()
{
    Modulo1::Chiudi_Porta();
    // A close that arrives while an exchange waits in the event loop cannot unwind that
    // wait; the program ends here instead of finishing the exchange first.
    if (Modulo1::linkBusy()) {
        std::fflush(nullptr);
        std::_Exit(0);
    }
    QCoreApplication::quit();
}

Form2::Form2(QWidget* parent) : QWidget(parent)
{
    onProgramEnd = endProgramNow;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Quorvel"));

    MSComm1 = new SerialPort(this);
    MSComm1->setObjectName(QStringLiteral("MSComm1"));
    TelnetTTYClient1 = new TelnetTTYClient(this);
    TelnetTTYClient1->setObjectName(QStringLiteral("TelnetTTYClient1"));
    Modulo1::setTransports(MSComm1, TelnetTTYClient1);
    connect(TelnetTTYClient1, &TelnetTTYClient::Error, this, &Form2::TelnetTTYClient1_Error);

    buildControls();
    Form_Load();
}

Form2::~Form2()
{
    if (Modulo1::serial() == MSComm1)
        Modulo1::setTransports(nullptr, nullptr);
}

void Form2::buildControls()
{
    Label1 = new QLabel(QStringLiteral("RS232"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    Label1->setFont(heading);

    auto* ports = new QGroupBox(this);
    ports->setAccessibleName(QStringLiteral("RS232"));
    auto* portGrid = new QGridLayout(ports);
    const QStringList devices = ComPorts::devices();
    for (int i = 0; i < 8; ++i) {
        const QString caption = QStringLiteral("COM ") + Conversioni::CStr(double(i + 1));
        Option1[i] = new QRadioButton(caption, ports);
        Option1[i]->setObjectName(QStringLiteral("Option1_") + Conversioni::CStr(double(i)));
        Option1[i]->setAccessibleName(caption);
        const QString fault = ComPorts::fault(i + 1);
        Option1[i]->setToolTip(fault.isEmpty() ? devices.value(i) : devices.value(i) + QLatin1Char('\n') + fault);
        portGrid->addWidget(Option1[i], i % 4, i / 4);
    }

    GSM = makeCheck(QStringLiteral("GSM"), "GSM", this);
    chkTCP = makeCheck(QStringLiteral("Thrugh &internet"), "chkTCP", this);
    connect(GSM, &QCheckBox::toggled, this, &Form2::GSM_Click);

    // The four actions have mnemonics: Alt+C connects, and so on.
    Command1 = makeButton(QStringLiteral("&Connect"), "Command1", this);
    No_conn = makeButton(QStringLiteral("&Step-by-step connection"), "No_conn", this);
    Command3 = makeButton(QStringLiteral("&Reset"), "Command3", this);
    Command2 = makeButton(QStringLiteral("Connect with &modem"), "Command2", this);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(No_conn, &QPushButton::clicked, this, &Form2::No_conn_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);

    Label2 = new QLabel(QLatin1String(initialStatus), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setAccessibleName(QStringLiteral("Status"));
    Label2->setWordWrap(true);
    Label2->setFrameShape(QFrame::Panel);
    Label2->setFrameShadow(QFrame::Sunken);
    Label2->setMinimumHeight(48);
    Label2->setMargin(6);

    auto* options = new QHBoxLayout;
    options->addWidget(GSM);
    options->addWidget(chkTCP);
    options->addStretch();

    auto* buttons = new QGridLayout;
    buttons->addWidget(Command1, 0, 0);
    buttons->addWidget(No_conn, 0, 1);
    buttons->addWidget(Command3, 1, 0);
    buttons->addWidget(Command2, 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ports);
    layout->addLayout(options);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->addSpacing(8);
    layout->addWidget(Label2);

    // Keyboard order follows the window from top to bottom; Connect has the focus first.
    // The ports come first in their own order, so that Tab enters them at COM 1 (the
    // arrow keys then move between them).
    QList<QWidget*> order(Option1.begin(), Option1.end());
    order << GSM << chkTCP << Command1 << No_conn << Command3 << Command2;
    for (qsizetype i = 0; i + 1 < order.size(); ++i)
        setTabOrder(order[i], order[i + 1]);
    Command1->setFocus();
    resize(460, sizeHint().height());
}

void Form2::Form_Load()
{
    Modulo1::link().PortHeldOpen = false;
    centreOnScreen(this);
    IniPath = PortSettings::iniPath();
    readSettings();
}

void Form2::readSettings()
{
    bool ok = true;
    const int saved = PortSettings::load(IniPath, &ok);
    if (!ok)
        return;  // not a number: nothing preselected, the status keeps its first text
    if (saved == 0)
        setStatus(QStringLiteral("Select a RS232"));
    else if (saved >= 1 && saved <= 4)
        Option1[saved - 1]->setChecked(true);
}

void Form2::setStatus(const QString& text)
{
    Label2->setText(text);
    emit statusChanged(text);
}

void Form2::setStatusColour(int colourValue) { setBoxColour(Label2, colourValue); }

int Form2::selectedPort(int options) const
{
    for (int i = 0; i < options; ++i)
        if (Option1[i]->isChecked())
            return i + 1;
    return 0;
}

void Form2::GSM_Click() { Modulo1::link().GsmSelected = GSM->isChecked(); }

void Form2::TelnetTTYClient1_Error(qint32 number, const QString& description)
{
    dialogs().inform(Conversioni::CStr(double(number)) + QLatin1Char(' ') + description);
}

void Form2::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (onProgramEnd)
        onProgramEnd();
}
