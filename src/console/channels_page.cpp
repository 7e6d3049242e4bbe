// The "CHANNELS" page: its controls; the channel counts per multiplexer (read, checked,
// written) and the events counter's switch.
#include "console/channels_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/switch_box.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Controls;
using Numbers::leadingNumber;
using Numbers::signedText;

namespace {

bool countInRange(const QString& text)
{
    const double count = leadingNumber(text);
    return count >= 0 && count <= 16 && count == std::floor(count);
}

// What a write may send: a box left empty or holding no number goes out as 0 channels,
// but a number outside 0..16 and the time-out mark of a read that got no answer would
// overwrite the datalogger's real count.
bool writableCount(const QString& text)
{
    if (text.trimmed() == QLatin1String("%%"))
        return false;
    return !Numbers::isNumeric(text) || countInRange(text);
}

QString countName(int m) { return QStringLiteral("MUX%1").arg(m); }

} // namespace

ChannelsPage::ChannelsPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QVBoxLayout(this);

    auto* muxGrid = new QGridLayout;
    for (int m = 0; m < 4; ++m) {
        const QString caption = QStringLiteral("CH MUX%1").arg(m);
        QLabel* head = label(this, caption);
        muxBoxes[m] = box(this, arrayName(QStringLiteral("MUX"), m),
                     QStringLiteral("%1 %2").arg(caption).arg(m), 56);
        head->setBuddy(muxBoxes[m]);
        // The model follows the box, so that every window counts channels as shown here.
        connect(muxBoxes[m], &QLineEdit::textChanged, this,
                [this, m](const QString& text) { datalogger_.setChannelText(m, text); });
        muxGrid->addWidget(head, 0, m, Qt::AlignHCenter);
        muxGrid->addWidget(muxBoxes[m], 1, m);
    }
    readChannelsButton = button(this, QStringLiteral("leggicanali"), QStringLiteral("Read channels number"));
    writeChannelsButton =
        button(this, QStringLiteral("Scrivicanali"), QStringLiteral("Write channels number"));
    muxGrid->addWidget(readChannelsButton, 1, 4);
    muxGrid->addWidget(writeChannelsButton, 1, 5);
    muxGrid->setColumnStretch(6, 1);
    layout->addLayout(muxGrid);

    eventsCounterSwitch = switchBox(this, QStringLiteral("PLUVIOMETRO"),
                            QStringLiteral("Events counter enabled (Pluviometer)"));
    layout->addWidget(eventsCounterSwitch);

    resetButton = button(this, QStringLiteral("Resetta"), QStringLiteral("Reset Datalogger"));
    eraseMemoryButton = button(this, QStringLiteral("Azzera_memoria"), QStringLiteral("Erase memory"));
    sensorsButton = button(this, QStringLiteral("Leggi_popriet") + QChar(0x00E0),
                            QStringLiteral("Sensors parameters"));
    layout->addLayout(leftRow({resetButton, eraseMemoryButton, sensorsButton}));
    layout->addStretch(1);

    connect(readChannelsButton, &QPushButton::clicked, this, &ChannelsPage::readChannels);
    connect(writeChannelsButton, &QPushButton::clicked, this, &ChannelsPage::writeChannels);
    connect(eventsCounterSwitch, &SwitchBox::switchRequested, this, &ChannelsPage::toggleEventsCounter);
    for (int m = 0; m < 4; ++m)
        connect(muxBoxes[m], &QLineEdit::textEdited, this, [this, m] { muxChanged(m); });
}

// The counts are shown as received; one that cannot be a count is marked and named, so
// that nobody writes it back unnoticed. A time-out is not the datalogger's answer and is
// left to the caller.
void ChannelsPage::readChannels()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    QStringList invalid;
    for (int m = 0; m < 4; ++m) {
        const QString field = Settings::readChannelCount(link_, m).fields[0];
        muxBoxes[m]->setText(field);
        const bool bad = !Protocol::isTimeoutMark(field) && !DataloggerModel::isChannelCount(field);
        setBoxColour(muxBoxes[m], bad ? BoxColour::Red : BoxColour::Yellow);
        if (bad)
            invalid << countName(m) + QStringLiteral(" = ") + field;
    }
    link_.pause(200);
    if (!invalid.isEmpty())
        dialogs_.inform(QStringLiteral("The datalogger reported channel counts that cannot be valid "
                                        "(0 to 16): ")
                             + invalid.join(QStringLiteral(", ")),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}

// A channel count typed outside 0..16 is wiped at once; text that is no number is left
// for the write to refuse.
void ChannelsPage::muxChanged(int index)
{
    if (index < 0 || index >= int(muxBoxes.size()))
        return;
    QLineEdit* box = muxBoxes[index];
    setBoxColour(box, BoxColour::Red);
    const double count = leadingNumber(box->text());
    if (count > 16 || count < 0)
        box->setText(QStringLiteral("0"));
}

// The datalogger cannot change its channel layout without erasing its memory, so the
// question says so and "b" always goes first. A box that does not hold a count would be
// written as 0 channels over the datalogger's real count: nothing is sent then.
void ChannelsPage::writeChannels()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    for (int m = 0; m < 4; ++m) {
        if (!writableCount(muxBoxes[m]->text())) {
            dialogs_.inform(countName(m) + QStringLiteral(" does not hold a channel count (0 to 16): \"")
                                 + muxBoxes[m]->text() + QStringLiteral("\". Nothing was written."),
                             QStringLiteral("Warning"), Dialogs::Icon::Warning);
            return;
        }
    }
    const bool yes = dialogs_.confirm(
        QStringLiteral("This operation will reset memory. Continue?\r\nAll data will be lost."),
        QStringLiteral("Warning"));
    if (yes) {
        Settings::writeChannelCounts(link_, {leadingNumber(muxBoxes[0]->text()), leadingNumber(muxBoxes[1]->text()),
                                             leadingNumber(muxBoxes[2]->text()), leadingNumber(muxBoxes[3]->text())});
        readChannels();
        link_.pause(20);
        emit countsWritten();
        link_.pause(20);
    }
    link_.pause(200);
}

void ChannelsPage::toggleEventsCounter()
{
    if (link_.busy())
        return;
    eventsCounterSwitch->showField(Settings::setEventsCounter(link_, !eventsCounterSwitch->isChecked()).fields[0]);
}
