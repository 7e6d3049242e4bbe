// The console's menu bar: field test, help with the about window, and the restore entry
// that frees the console after an interrupted exchange.
#include "console/form1.h"

#include "console/info.h"
#include "link/modulo1.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void Form1::buildMenu()
{
    QMenuBar* bar = menuBar();
    PROVA_IN_SITO = bar->addAction(QStringLiteral("PROVA IN SITO"));
    PROVA_IN_SITO->setObjectName(QStringLiteral("PROVA_IN_SITO"));

    HLP = bar->addMenu(QStringLiteral("&HELP-?"));
    HLP->setObjectName(QStringLiteral("HLP"));
    INFORMAZIONI = HLP->addAction(QStringLiteral("&INFO"));
    INFORMAZIONI->setObjectName(QStringLiteral("INFORMAZIONI"));

    RIPRISTINA_DA_ERRORI = bar->addAction(QStringLiteral("RESTORE "));
    RIPRISTINA_DA_ERRORI->setObjectName(QStringLiteral("RIPRISTINA_DA_ERRORI"));

    connect(INFORMAZIONI, &QAction::triggered, this, &Form1::INFORMAZIONI_Click);
    connect(RIPRISTINA_DA_ERRORI, &QAction::triggered, this, &Form1::RIPRISTINA_DA_ERRORI_Click);
}

void Form1::INFORMAZIONI_Click()
{
    Info about(this);
    Modulo1::NestedLoop modal;
    about.exec();
}

// Reached even while an exchange hangs: the menu is not one of the locked controls.
void Form1::RIPRISTINA_DA_ERRORI_Click()
{
    Modulo1::Svuota_Ricezione();
    Modulo1::resetCommandLock();
}
