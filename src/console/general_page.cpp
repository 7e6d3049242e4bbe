// The "GENERAL" page: its controls, and the datalogger's name, next acquisition date,
// memory, internet-connection switch and stored constants.
#include "console/general_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/fixed_replies.h"
#include "protocol/health.h"
#include "protocol/readings.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/unsendable.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>

using namespace Controls;
using Numbers::leadingNumber;

GeneralPage::GeneralPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QGridLayout(this);

    QGroupBox* id = frame(this, QStringLiteral("Datalogger ID"));
    auto* idRow = new QHBoxLayout(id);
    nameBox = box(id, QStringLiteral("Nome_Centralina"), QStringLiteral("Datalogger ID"), 160);
    readNameButton = button(id, QStringLiteral("leggi_nome"), QStringLiteral("Read ID"));
    writeNameButton = button(id, QStringLiteral("imposta_nome"), QStringLiteral("Write ID"));
    idRow->addWidget(nameBox, 1);
    idRow->addWidget(readNameButton);
    idRow->addWidget(writeNameButton);
    layout->addWidget(id, 0, 0);

    QGroupBox* next = frame(this, QStringLiteral("Next Acquisition Date"));
    auto* nextRow = new QHBoxLayout(next);
    const char* const parts[5] = {"day", "month", "year", "hour", "minute"};
    for (int i = 0; i < 5; ++i) {
        nextAcquisitionBoxes[i] = box(next, arrayName(QStringLiteral("Prox"), i),
                      QStringLiteral("Next Acquisition Date %1 (%2)").arg(i).arg(parts[i]), 48);
        nextRow->addWidget(nextAcquisitionBoxes[i]);
    }
    readNextAcquisitionButton = button(next, QStringLiteral("leggiprox"), QStringLiteral("NEW CONVERSION DATE"));
    nextRow->addWidget(readNextAcquisitionButton);
    layout->addWidget(next, 1, 0);

    QGroupBox* memory = frame(this, QStringLiteral("Memory"));
    auto* memGrid = new QGridLayout(memory);
    // One heading over both boxes; each box is still spoken by its own half of it.
    QLabel* heading = label(memory, QStringLiteral("Total Free"));
    memoryTotalBox = box(memory, QStringLiteral("Acq_possibili"), QStringLiteral("Total"), 90);
    memoryFreeBox = box(memory, QStringLiteral("acq_disponibili"), QStringLiteral("Free"), 90);
    memoryTotalBox->setReadOnly(true);
    memoryFreeBox->setReadOnly(true);
    heading->setBuddy(memoryTotalBox);
    readMemoryButton = button(memory, QStringLiteral("Aggiorna_acq"), QStringLiteral("Read"));
    memGrid->addWidget(heading, 0, 0, 1, 2);
    memGrid->addWidget(memoryTotalBox, 1, 0);
    memGrid->addWidget(memoryFreeBox, 1, 1);
    memGrid->addWidget(readMemoryButton, 1, 2);
    layout->addWidget(memory, 0, 1);

    QGroupBox* web = frame(this, QStringLiteral("Internet Connection"));
    auto* webRow = new QHBoxLayout(web);
    internetSwitchBox = check(web, QStringLiteral("chkWebAbilita"), QStringLiteral("Enabled"));
    readInternetSwitchButton = button(web, QStringLiteral("cmdWebLeggi"), QStringLiteral("Read parameter"));
    webRow->addWidget(internetSwitchBox);
    webRow->addWidget(readInternetSwitchButton);
    layout->addWidget(web, 1, 1);

    readFullScaleButton = button(this, QStringLiteral("leggifs"), QStringLiteral("leggifs"));
    layout->addWidget(readFullScaleButton, 2, 0, Qt::AlignLeft);
    layout->setRowStretch(3, 1);
    layout->setColumnStretch(0, 1);

    markEditedOnKey(nameBox);
    connect(readNameButton, &QPushButton::clicked, this, &GeneralPage::readName);
    connect(writeNameButton, &QPushButton::clicked, this, &GeneralPage::writeName);
    connect(readNextAcquisitionButton, &QPushButton::clicked, this, &GeneralPage::readNextAcquisition);
    connect(readMemoryButton, &QPushButton::clicked, this, &GeneralPage::readMemory);
    connect(readFullScaleButton, &QPushButton::clicked, this, &GeneralPage::readFullScale);
    connect(readInternetSwitchButton, &QPushButton::clicked, this, &GeneralPage::readInternetSwitch);
    connect(internetSwitchBox, &QCheckBox::toggled, this, &GeneralPage::writeInternetSwitch);
}

void GeneralPage::readName()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    nameBox->setText(Settings::readName(link_).fields[0].trimmed());
    setBoxColour(nameBox, BoxColour::Yellow);
}

void GeneralPage::writeName()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QString name = nameBox->text().trimmed();
    // A comma would end the name early and the rest would reach the datalogger as a
    // command of its own; a character outside Latin-1 would arrive as "?".
    const QString refused = unsendableReason(QStringLiteral("The datalogger ID"), name);
    if (!refused.isEmpty()) {
        dialogs_.inform(refused, QStringLiteral("Warning"));
        return;
    }
    setBoxColour(nameBox, BoxColour::Yellow);
    nameBox->setText(name);
    Settings::writeName(link_, name);
}

// The datalogger answers "D" alone with a fixed 20-character block; the date parts sit at
// fixed positions. A short or malformed block stops the filling where it fails.
void GeneralPage::readNextAcquisition()
{
    if (link_.busy())
        return;
    const QStringList parts = FixedLength::readNextAcquisition(link_);
    for (qsizetype i = 0; i < parts.size(); ++i)
        nextAcquisitionBoxes[size_t(i)]->setText(parts[i]);
}

void GeneralPage::readMemory()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QString channels = Health::readMemoryChannelCount(link_).fields[0];
    // A datalogger that did not answer has not said that it has no channels.
    if (channels == QLatin1String("%%"))
        return;
    if (Numbers::leadingNumber(channels) == 0) {
        dialogs_.inform(QStringLiteral("Please enable at least one channel!"),
                         QStringLiteral("Warning"));
    } else {
        link_.pause(50);
        const Health::MemoryState memory = Health::readMemoryState(link_);
        memoryTotalBox->setText(memory.fields[0]);
        memoryFreeBox->setText(memory.fields[1]);
    }
}

// Every change of the box is written, a change made by a read included: the read that
// follows then finds the box unchanged and the round ends. A datalogger that keeps
// answering the opposite of what it was sent would make the rounds endless, so a change
// made inside a nested round is shown and not written again.
void GeneralPage::writeInternetSwitch()
{
    if (link_.busy()) {
        // An exchange is running: the box goes back to what the datalogger last said.
        const QSignalBlocker block(internetSwitchBox);
        internetSwitchBox->setChecked(!internetSwitchBox->isChecked());
        return;
    }
    if (internetSwitchRounds_ >= 2)
        return;
    ++internetSwitchRounds_;
    Settings::setInternetSwitch(link_, internetSwitchBox->isChecked());
    readInternetSwitch();
    --internetSwitchRounds_;
}

// A read that got no answer leaves the box alone: taking it for 0 would write "<0," and
// close the datalogger to internet connections.
void GeneralPage::readInternetSwitch()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QString field = Settings::readInternetSwitch(link_).fields[0];
    if (Protocol::isTimeoutMark(field))
        return;
    internetSwitchBox->setChecked(Numbers::leadingNumber(field) != 0);
}

void GeneralPage::readFullScale()
{
    if (link_.busy())
        return;
    const Readings::FullScale fs = Readings::readFullScale(link_);
    for (int i = 0; i < 2; ++i)
        fsWhole[i] = Numbers::roundedInt32(fs.whole[i]);
    fsScaled = fs.scaled;
}
