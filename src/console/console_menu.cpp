// The console's menu bar: field test, help with the about window, and the restore entry
// that frees the console after an interrupted exchange.
#include "console/console_window.h"
#include "widgets/services.h"

#include "console/about_box.h"
#include "link/link.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

void ConsoleWindow::buildMenu()
{
    QMenuBar* bar = menuBar();
    fieldTestAction = bar->addAction(QStringLiteral("PROVA IN SITO"));
    fieldTestAction->setObjectName(QStringLiteral("PROVA_IN_SITO"));

    helpMenu = bar->addMenu(QStringLiteral("&HELP-?"));
    helpMenu->setObjectName(QStringLiteral("HLP"));
    aboutAction = helpMenu->addAction(QStringLiteral("&INFO"));
    aboutAction->setObjectName(QStringLiteral("INFORMAZIONI"));

    restoreAction = bar->addAction(QStringLiteral("RESTORE "));
    restoreAction->setObjectName(QStringLiteral("RIPRISTINA_DA_ERRORI"));

    connect(aboutAction, &QAction::triggered, this, &ConsoleWindow::showAbout);
    connect(restoreAction, &QAction::triggered, this, &ConsoleWindow::restore);
}

void ConsoleWindow::showAbout()
{
    AboutBox about(dialogs_, services_.programFolder, this);
    Link::NestedLoop modal(link_);
    about.exec();
}

// Reached even while an exchange hangs: the menu is not one of the locked controls.
void ConsoleWindow::restore()
{
    link_.flushInput();
    link_.resetCommandLock();
}
