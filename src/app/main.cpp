// The program: the start window, the hidden console, then the splash that shows the start window.
#include "console/console_window.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "data/link_problems.h"
#include "data/program_folder.h"
#include "modem/open_modem_window.h"
#include "startup/start_window.h"
#include "startup/splash.h"
#include "widgets/services.h"
#include "widgets/widget_dialogs.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    // The installed desktop entry and icon (none in a build folder: no icon then).
    QApplication::setDesktopFileName(QStringLiteral("quorvel"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("quorvel")));
    // Closing the start window or the console ends the program through their own close
    // paths; hiding one to show the other must not.
    QApplication::setQuitOnLastWindowClosed(false);

    Link link;
    WidgetDialogs messageBoxes;
    GuardedDialogs dialogs(messageBoxes, link);
    link.setProblemHandler([&dialogs](const LinkProblem& problem) { showLinkProblem(dialogs, problem); });
    DataloggerModel datalogger;
    Services services{link, dialogs, datalogger, ProgramFolder::chosen()};

    StartWindow startWindow(services);
    ConsoleWindow console(services);
    startWindow.setConsole(&console);
    installModemWindow(&startWindow, services, &console);
    // Closing the console in mid-exchange must end the program then, not after the
    // interrupted exchange has timed out field by field on the closed port.
    console.onProgramEnd = [&link] { endProgramNow(link); };
    Splash splash(&startWindow);
    splash.start();

    const int result = app.exec();
    return result;
}
