// The "TIMERS" page: its controls, and the reads and writes of the acquisition timer and
// of the sensors' pre-heating time.
#include "console/timers_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;
using Numbers::leadingNumber;

namespace {
void warnTimer(Dialogs& dialogs)
{
    dialogs.inform(
        QStringLiteral("Please check acquisition timer ( hours <=23, minutes and seconds <=59; "
                       "timer > 1 min if not GSM version; timer > 10 min if GSM version)! "),
        QStringLiteral("Warning!!"));
    dialogs.beep();
}
} // namespace

TimersPage::TimersPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QVBoxLayout(this);

    // Shown only for analog dataloggers, whose sensors need powering before a reading.
    preheatingFrame = frame(this, QStringLiteral("Sensors pre-heating time"),
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

    QGroupBox* timer = frame(this, QStringLiteral("Acquisition timer"));
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

    for (QLineEdit* box : timerBoxes) {
        markEditedOnKey(box);
        trimOnChange(box);
    }
    markEditedOnKey(preheatingBox);
    trimOnChange(preheatingBox);
    connect(readTimerButton, &QPushButton::clicked, this, &TimersPage::readTimer);
    connect(writeTimerButton, &QPushButton::clicked, this, &TimersPage::writeTimer);
    connect(readPreheatingButton, &QPushButton::clicked, this, &TimersPage::readPreheating);
    connect(writePreheatingButton, &QPushButton::clicked, this, &TimersPage::writePreheating);
}

void TimersPage::readTimer()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList fields = Settings::readTimer(link_).fields;
    for (size_t i = 0; i < timerBoxes.size(); ++i) {
        timerBoxes[i]->setText(fields[qsizetype(i)]);
        setBoxColour(timerBoxes[i], BoxColour::Yellow);
    }
}

void TimersPage::writeTimer()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const double hours = leadingNumber(timerBoxes[0]->text());
    const double minutes = leadingNumber(timerBoxes[1]->text());
    const double seconds = leadingNumber(timerBoxes[2]->text());
    if (hours < 0 || hours > 23 || minutes < 0 || minutes > 59 || seconds < 0 || seconds > 59) {
        warnTimer(dialogs_);
        return;
    }
    // The boxes show the three-digit form from here on, even when the total is refused.
    // The value is formatted, not the text, so that a box holding no number goes out as
    // 000 rather than as whatever was typed.
    const std::array<QString, 3> parts =
        Settings::timerParts({timerBoxes[0]->text(), timerBoxes[1]->text(), timerBoxes[2]->text()});
    for (size_t i = 0; i < timerBoxes.size(); ++i)
        timerBoxes[i]->setText(parts[i]);
    const double total = leadingNumber(parts[0]) * 3600 + leadingNumber(parts[1]) * 60 + leadingNumber(parts[2]);
    if (total < Settings::shortestTimer(datalogger_.gsm())) {
        warnTimer(dialogs_);
        return;
    }
    for (QLineEdit* box : timerBoxes)
        setBoxColour(box, BoxColour::Yellow);
    Settings::writeTimer(link_, parts);
}

void TimersPage::readPreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    preheatingBox->setText(Settings::readPreheating(link_).fields[0]);
    setBoxColour(preheatingBox, BoxColour::Yellow);
}

void TimersPage::writePreheating()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (leadingNumber(preheatingBox->text()) > Settings::LongestPreheating) {
        dialogs_.inform(QStringLiteral("Pre-heating time is too high "), QStringLiteral("Warning"));
        preheatingBox->setText(QStringLiteral("0"));
        return;
    }
    preheatingBox->setText(Settings::preheatingText(preheatingBox->text()));
    setBoxColour(preheatingBox, BoxColour::Yellow);
    Settings::writePreheating(link_, preheatingBox->text());
}
