// The "TIMERS" page: the sensors' pre-heating time and the acquisition timer.
#include "console/console_window.h"

#include "widgets/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* ConsoleWindow::buildTimersPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    // Shown only for analog dataloggers, whose sensors need powering before a reading.
    preheatingFrame = frame(page, QStringLiteral("Sensors pre-heating time"),
                            QStringLiteral("preheatingFrame"));
    auto* pre = new QGridLayout(preheatingFrame);
    preheatingBox = box(preheatingFrame, QStringLiteral("preaccensione"),
                        QStringLiteral("Sensors pre-heating time"), 80);
    // No length limit: 100000 typed must be refused as too high, not cut to 10000.
    pre->addWidget(preheatingBox, 0, 0);
    pre->addWidget(label(preheatingFrame, QStringLiteral("x 10^-3 Sec")), 0, 1);
    readPreheatingButton = button(preheatingFrame, QStringLiteral("preacc"), QStringLiteral("Read pre-heating"));
    writePreheatingButton = button(preheatingFrame, QStringLiteral("impostapreacc"),
                           QStringLiteral("Write pre-heating"));
    pre->addWidget(readPreheatingButton, 0, 2);
    pre->addWidget(writePreheatingButton, 0, 3);
    pre->setColumnStretch(4, 1);
    preheatingFrame->hide();
    layout->addWidget(preheatingFrame);

    QGroupBox* timer = frame(page, QStringLiteral("Acquisition timer"));
    auto* grid = new QGridLayout(timer);
    const QStringList heads = {QStringLiteral("Hh"), QStringLiteral("Mm"), QStringLiteral("Ss")};
    for (int i = 0; i < 3; ++i) {
        QLabel* head = label(timer, heads[i]);
        timerBoxes[i] = box(timer, arrayName(QStringLiteral("conversione"), i),
                             QStringLiteral("Acquisition timer %1 %2").arg(heads[i]).arg(i), 56);
        head->setBuddy(timerBoxes[i]);
        grid->addWidget(head, 0, i, Qt::AlignHCenter);
        grid->addWidget(timerBoxes[i], 1, i);
    }
    readTimerButton = button(timer, QStringLiteral("Command2"), QStringLiteral("Read acquisition timer"));
    writeTimerButton = button(timer, QStringLiteral("Command1"), QStringLiteral("Write acquisition timer"));
    grid->addWidget(readTimerButton, 1, 3);
    grid->addWidget(writeTimerButton, 1, 4);
    grid->setColumnStretch(5, 1);
    layout->addWidget(timer);
    layout->addStretch(1);
    return page;
}
