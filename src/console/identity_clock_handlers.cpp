// The console's read/write pairs for the datalogger's name, clock, START time and next
// conversion date.
#include "console/console_window.h"

#include "widgets/box_colours.h"
#include "widgets/unsendable.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/settings.h"

#include <QLineEdit>

using Numbers::leadingNumber;

namespace {
void paint(const std::array<QLineEdit*, 5>& row)
{
    for (QLineEdit* box : row)
        setBoxColour(box, BoxColour::Yellow);
}

// Day, month and year come back as plain numbers (07 shows as 7), hour and minute as
// two digits.
void showDateRow(const std::array<QLineEdit*, 5>& row, const QStringList& fields)
{
    for (int i = 0; i < fields.size(); ++i) {
        if (i < 3)
            row[i]->setText(Numbers::shownNumber(leadingNumber(fields[i])));
        else if (i < 5)
            row[i]->setText(Numbers::formatted(fields[i], QStringLiteral("00")));
    }
    paint(row);
}

bool inRange(const QLineEdit* box, double low, double high)
{
    const double v = leadingNumber(box->text());
    return v >= low && v <= high;
}
} // namespace

void ConsoleWindow::readName()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    nameBox->setText(Settings::readName(link_).fields[0].trimmed());
    setBoxColour(nameBox, BoxColour::Yellow);
}

void ConsoleWindow::writeName()
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

void ConsoleWindow::readClock()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    showDateRow(clockBoxes, Health::readClock(link_).fields);
}

void ConsoleWindow::readStartTime()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    showDateRow(startTimeBoxes, Settings::readStartTime(link_).fields);  // the sixth field is not shown
}

// Day, month, hour and minute travel as typed; the year as its value less 1900 with the
// sign position kept (2015 goes out as " 115"). The clock's write is the one the collector
// makes too.
bool ConsoleWindow::writeDateRow(const std::array<QLineEdit*, 5>& row, bool clock)
{
    if (!inRange(row[3], 0, 23) || !inRange(row[4], 0, 59))
        return false;
    // A comma typed in a box would shift every following value on the wire, and a
    // character the wire cannot carry would arrive as "?".
    for (int i : {0, 1, 3, 4})
        if (row[i]->text().contains(QLatin1Char(',')) || !Numbers::fitsTheWire(row[i]->text()))
            return false;
    paint(row);
    const double year = leadingNumber(row[2]->text());
    if (clock)
        Health::writeClock(link_, row[0]->text(), row[1]->text(), year, row[3]->text(), row[4]->text());
    else
        Settings::writeStartTime(link_, row[0]->text(), row[1]->text(), year, row[3]->text(), row[4]->text());
    return true;
}

void ConsoleWindow::writeClock()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (!writeDateRow(clockBoxes, true)) {
        dialogs_.inform(QStringLiteral("Controlla i dati inseriti! "), QStringLiteral("Attenzione!!"));
        dialogs_.beep();
        return;
    }
    readClock();
}

void ConsoleWindow::writeStartTime()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    if (!writeDateRow(startTimeBoxes, false)) {
        dialogs_.inform(QStringLiteral("Values not valid! "), QStringLiteral("Warning!!"));
        dialogs_.beep();
        return;
    }
    readStartTime();
}

// The datalogger answers "D" alone with a fixed 20-character block; the date parts sit at
// fixed positions. A short or malformed block stops the filling where it fails.
void ConsoleWindow::readNextAcquisition()
{
    if (link_.busy())
        return;
    const QString reply = link_.sendAndCollectOnPort(QStringLiteral("D"), 20);
    const auto part = [&reply](int position) { return reply.mid(position - 1, 2); };
    const auto complete = [](const QString& text) { return text.size() == 2; };

    if (!complete(part(2)))
        return;
    nextAcquisitionBoxes[0]->setText(part(2));
    if (!complete(part(6)))
        return;
    nextAcquisitionBoxes[1]->setText(part(6));
    if (!complete(part(10)) || !Numbers::isNumeric(part(10)))
        return;
    nextAcquisitionBoxes[2]->setText(Numbers::shownNumber(2000 + Numbers::roundedInt16(part(10))));
    if (!complete(part(14)))
        return;
    nextAcquisitionBoxes[3]->setText(part(14));
    if (!complete(part(18)))
        return;
    nextAcquisitionBoxes[4]->setText(part(18));
}
