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

