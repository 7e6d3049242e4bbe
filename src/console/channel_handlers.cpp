// The console's channels per multiplexer, events counter and rain millimetres, and the
// "T" read of the datalogger's six stored constants.
#include "console/console_window.h"
#include "console/general_page.h"

#include "widgets/box_colours.h"
#include "widgets/switch_box.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"

#include <QLineEdit>

#include <cmath>

using Numbers::signedText;
using Numbers::leadingNumber;

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

int ConsoleWindow::channelCount(int m) const { return datalogger_.channelCount(m); }

// The counts are shown as received; one that cannot be a count is marked and named, so
// that nobody writes it back unnoticed. A time-out is not the datalogger's answer and is
// left to the caller.
void ConsoleWindow::readChannels()
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
void ConsoleWindow::muxChanged(int index)
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
void ConsoleWindow::writeChannels()
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
        general->readMemory();
        link_.pause(20);
    }
    link_.pause(200);
}

void ConsoleWindow::toggleEventsCounter()
{
    if (link_.busy())
        return;
    eventsCounterSwitch->showField(Settings::setEventsCounter(link_, !eventsCounterSwitch->isChecked()).fields[0]);
}

void ConsoleWindow::readEventsCounter()
{
    if (link_.busy())
        return;
    eventsCounterBox->setText(Settings::readEventsCount(link_).fields[0]);
}

