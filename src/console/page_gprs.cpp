// The "GPRS" page: the ten GPRS and FTP settings of a datalogger with a GSM modem.
#include "console/console_window.h"

#include "widgets/controls.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* ConsoleWindow::buildGprsPage()
{
    struct Field {
        const char* label;
        int limit;  // the datalogger's room for the text
    };
    static const Field fields[10] = {
        {"GPRS USERNAME", 14}, {"GPRS PASSWORD", 16}, {"APN SERVER", 29},
        {"FTP SERVER", 29},    {"FTP USERNAME", 20},  {"FTP PASSWORD", 20},
        {"FTP DIRECTORY", 29}, {"FTP PORT", 8},       {"DATA TO SEND", 8},
        {"SEND ALL DATA ALWAYS", 8},
    };

    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        const QString caption = QString::fromLatin1(fields[i].label);
        gprsLabels[i] = label(page, caption, arrayName(QStringLiteral("GPRSLABEL"), i));
        gprsBoxes[i] = box(page, arrayName(QStringLiteral("GPRS"), i),
                      QStringLiteral("%1 %2").arg(caption).arg(i), 260);
        gprsBoxes[i]->setMaxLength(fields[i].limit);
        gprsLabels[i]->setBuddy(gprsBoxes[i]);
        grid->addWidget(gprsLabels[i], i, 0);
        grid->addWidget(gprsBoxes[i], i, 1);
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    auto* buttons = new QHBoxLayout;
    readGprsButton = button(page, QStringLiteral("LeggiGPRS"), QStringLiteral("Read GPRS parameters"));
    writeGprsButton = button(page, QStringLiteral("ScriviGPRS"), QStringLiteral("Write GPRS parameters"));
    buttons->addWidget(readGprsButton);
    buttons->addWidget(writeGprsButton);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    layout->addStretch(1);
    return page;
}
