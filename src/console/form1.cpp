// Form1's construction: the pages in tab order, the command controls the link locks,
// the red-on-key rule, centring, and the console's closing.
#include "console/form1.h"

#include "widgets/window_placement.h"
#include "widgets/box_colours.h"
#include "widgets/edit_marker.h"
#include "widgets/switch_box.h"
#include "link/modulo1.h"
#include "link/program_folder.h"
#include "data/memory_download.h"

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

namespace {
Form1* theConsole = nullptr;
}

Form1* Form1::instance() { return theConsole; }

Form1::Form1(QWidget* parent) : QMainWindow(parent)
{
    theConsole = this;
    onProgramEnd = [] { QCoreApplication::quit(); };
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Quorvel LV210-LV420"));

    SSTab1 = new QTabWidget(this);
    SSTab1->setObjectName(QStringLiteral("SSTab1"));
    // Each page has a mnemonic (Alt+D, Alt+T, ...); the page's own buttons have none, so
    // that no letter is taken twice.
    SSTab1->addTab(buildDateTimePage(), QStringLiteral("&DATE AND TIME"));
    SSTab1->addTab(buildTimersPage(), QStringLiteral("&TIMERS"));
    SSTab1->addTab(buildChannelsPage(), QStringLiteral("&CHANNELS"));
    SSTab1->addTab(buildGeneralPage(), QStringLiteral("&GENERAL"));
    SSTab1->addTab(buildDataAcquisitionPage(), QStringLiteral(" DATA &ACQUISITION"));
    SSTab1->addTab(buildReadNowPage(), QStringLiteral("&READ NOW"));
    SSTab1->addTab(buildGprsPage(), QStringLiteral("G&PRS"));
    SSTab1->addTab(buildAlertsPage(), QStringLiteral("A&LERTS"));
    setCentralWidget(SSTab1);

    buildMenu();
    connectHandlers();
    registerCommandControls();

    resize(1000, 640);
    centreOnScreen(this);
    hide();
}

Form1::~Form1()
{
    if (theConsole == this) {
        theConsole = nullptr;
        Modulo1::setCommandControls({});
    }
}

void Form1::registerCommandControls()
{
    QList<QWidget*> controls = {
        leggi_nome, imposta_nome, Aggiorna_acq, Acquisisci, Acquisisci_Temp, Status,
        leggidata, impostadata, ReadSt, Command1, Command2, impostapreacc, preacc,
        Scrivicanali, leggicanali, Leggi_poprieta, Azzera_memoria, Resetta, Leggi_Allarmi,
        LEGGI_GSM, SCRIVI_GSM, Abilita_SMS, Abilita_Telefono, LeggiGPRS, cmdWebLeggi,
        mmpioggialeggi,
    };
    for (QPushButton* b : MISCONTINUA)
        controls << b;
    for (QPushButton* b : MISCONTINUA_TEMP)
        controls << b;
    Modulo1::setCommandControls([controls](bool enabled) {
        for (QWidget* w : controls)
            w->setEnabled(enabled);
    });
}

void Form1::markEditedOnKey(QLineEdit* box) { markRedOnEdit(box); }

void Form1::trimOnChange(QLineEdit* box)
{
    connect(box, &QLineEdit::textChanged, this, [box](const QString& text) {
        const QString trimmed = text.trimmed();
        if (trimmed != text)
            box->setText(trimmed);
    });
}

// A close that arrives while a read waits in the event loop first ends that wait (the
// read returns the time-out mark and the handler unwinds); the closing command is sent
// once nothing waits any more.
void Form1::closeEvent(QCloseEvent* event)
{
    event->accept();
    if (Modulo1::linkBusy() && !unloaded_) {
        Modulo1::abandonExchanges(true);
        QTimer::singleShot(0, this, &Form1::unloadWhenIdle);
        return;
    }
    Form_Unload();
}

void Form1::unloadWhenIdle()
{
    if (Modulo1::linkBusy()) {
        QTimer::singleShot(20, this, &Form1::unloadWhenIdle);
        return;
    }
    Modulo1::abandonExchanges(false);
    Form_Unload();
}

void Form1::showAfterConnection(QWidget* from)
{
    from->hide();
    from->setEnabled(false);
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void Form1::Form_Unload()
{
    if (unloaded_)
        return;
    unloaded_ = true;
    Modulo1::Pausa(100);
    // Leaves the datalogger converting on its own once the console has gone.
    if (Immediata->isChecked() && data_logging->isChecked())
        Modulo1::Invia_Comando(QStringLiteral("d"), QStringLiteral("0,0,0,0,0,"));
    Modulo1::Chiudi_Porta();
    writeLogoutFile();
    if (onProgramEnd)
        onProgramEnd();
}

// Analog dataloggers record no temperatures and have no frequency/digits choice, but
// their sensors need a pre-heating time.
void Form1::adaptForAnalogModel()
{
    setWindowTitle(QStringLiteral("Quorvel LV210-LV420 16 BIT DATALOGGER"));
    Acquisisci_Temp->hide();
    Acquisisci->setText(QStringLiteral("Acquire data"));
    Acquisisci->setAccessibleName(QStringLiteral("Acquire data"));
    preheatingFrame->show();
    for (QRadioButton* option : TipoF)
        option->hide();
}
