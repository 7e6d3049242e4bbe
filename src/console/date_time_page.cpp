// The "DATE AND TIME" page: its controls; the reads and writes of the clock and of the
// START time, "Acquire now", and the GSM-function and acquisition switches.
#include "console/date_time_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/health.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;
using Numbers::leadingNumber;

namespace {
const char* const kPartNames[5] = {"day", "month", "year", "hour", "minute"};

// One five-box date row, spoken as the row's label, its index and what the box holds.
void buildDateRow(QWidget* parent, QGridLayout* grid, int row, const QString& rowLabel,
                  const QString& name, std::array<QLineEdit*, 5>& boxes)
{
    QLabel* title = label(parent, rowLabel);
    grid->addWidget(title, row, 0);
    for (int i = 0; i < 5; ++i) {
        boxes[i] = box(parent, arrayName(name, i),
                       QStringLiteral("%1 %2 (%3)").arg(rowLabel).arg(i).arg(kPartNames[i]), 56);
        grid->addWidget(boxes[i], row, i + 1);
    }
    // No length limit on these boxes: an hour typed as 123 must reach the range check
    // whole, not be cut to a 12 that passes and is written to the datalogger.
    title->setBuddy(boxes[0]);
}
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

DateTimePage::DateTimePage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QVBoxLayout(this);

    QGroupBox* clock =
        frame(this, QStringLiteral("Internal clock and START time for next acquisition of data"));
    auto* grid = new QGridLayout(clock);
    const QStringList heads = {QStringLiteral("Day"), QStringLiteral("Month"),
                               QStringLiteral("Year"), QStringLiteral("Hour"),
                               QStringLiteral("Minute")};
    for (int i = 0; i < 5; ++i)
        grid->addWidget(label(clock, heads[i]), 0, i + 1, Qt::AlignHCenter);

    buildDateRow(clock, grid, 1, QStringLiteral("Internal clock"), QStringLiteral("data"), clockBoxes);
    readClockButton = button(clock, QStringLiteral("leggidata"), QStringLiteral("Read"));
    writeClockButton = button(clock, QStringLiteral("impostadata"), QStringLiteral("Write"));
    grid->addWidget(readClockButton, 1, 6);
    grid->addWidget(writeClockButton, 1, 7);

    buildDateRow(clock, grid, 2, QStringLiteral("START time"), QStringLiteral("data_allarme"),
                 startTimeBoxes);
    readStartTimeButton =
        button(clock, QStringLiteral("LeggiDataAllarme"), QStringLiteral("Read START time"));
    writeStartTimeButton =
        button(clock, QStringLiteral("ScriviDataAllarme"), QStringLiteral("Write START time"));
    grid->addWidget(readStartTimeButton, 2, 6);
    grid->addWidget(writeStartTimeButton, 2, 7);

    acquireNowButton = button(clock, QStringLiteral("Subito"), QStringLiteral("Acquire now"));
    grid->addWidget(acquireNowButton, 3, 6, 1, 2);
    grid->setColumnStretch(8, 1);
    layout->addWidget(clock);

    QGroupBox* switches = frame(this, QString());
    switches->setAccessibleName(QStringLiteral("Datalogger switches"));
    auto* column = new QVBoxLayout(switches);
    gsmSwitch = switchBox(switches, QStringLiteral("Telefono"),
                         QStringLiteral("Datalogger Abilitato per GSM"));
    immediateConversionBox = check(switches, QStringLiteral("Immediata"), QStringLiteral("Immediate Conversion"));
    acquisitionSwitch = switchBox(switches, QStringLiteral("data_logging"),
                             QStringLiteral("Acquisition Enabled"));
    readAcquisitionSwitchButton = button(switches, QStringLiteral("ReadSt"), QStringLiteral("Read parameter"));
    column->addWidget(gsmSwitch);
    column->addWidget(immediateConversionBox);
    column->addWidget(acquisitionSwitch);
    column->addWidget(readAcquisitionSwitchButton, 0, Qt::AlignLeft);
    layout->addWidget(switches);
    layout->addStretch(1);

    for (QLineEdit* box : clockBoxes)
        markEditedOnKey(box);
    for (QLineEdit* box : startTimeBoxes)
        markEditedOnKey(box);
    connect(readClockButton, &QPushButton::clicked, this, &DateTimePage::readClock);
    connect(writeClockButton, &QPushButton::clicked, this, &DateTimePage::writeClock);
    connect(readStartTimeButton, &QPushButton::clicked, this, &DateTimePage::readStartTime);
    connect(writeStartTimeButton, &QPushButton::clicked, this, &DateTimePage::writeStartTime);
    connect(acquireNowButton, &QPushButton::clicked, this, &DateTimePage::acquireNow);
    connect(readAcquisitionSwitchButton, &QPushButton::clicked, this, &DateTimePage::readAcquisitionSwitch);
    connect(acquisitionSwitch, &SwitchBox::switchRequested, this, &DateTimePage::toggleAcquisition);
    connect(gsmSwitch, &SwitchBox::switchRequested, this, &DateTimePage::toggleGsm);
}

void DateTimePage::readClock()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    showDateRow(clockBoxes, Health::readClock(link_).fields);
}

void DateTimePage::readStartTime()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    showDateRow(startTimeBoxes, Settings::readStartTime(link_).fields);  // the sixth field is not shown
}

// Day, month, hour and minute travel as typed; the year as its value less 1900 with the
// sign position kept (2015 goes out as " 115"). The clock's write is the one the collector
// makes too.
bool DateTimePage::writeDateRow(const std::array<QLineEdit*, 5>& row, bool clock)
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

void DateTimePage::writeClock()
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

void DateTimePage::writeStartTime()
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

// The box asks the datalogger for the opposite state and then shows what it holds.
void DateTimePage::toggleAcquisition()
{
    if (link_.busy())
        return;
    Settings::setAcquisition(link_, !acquisitionSwitch->isChecked());
    readAcquisitionSwitch();
}

void DateTimePage::readAcquisitionSwitch()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    acquisitionSwitch->showField(Settings::readAcquisitionSwitch(link_).fields[0]);
}

// The datalogger has no read for its GSM function: the box shows what was sent, once it
// has gone out.
void DateTimePage::toggleGsm()
{
    if (link_.busy())
        return;
    const bool on = !gsmSwitch->isChecked();
    if (Settings::setGsmFunction(link_, on))
        gsmSwitch->setChecked(on);
    readAcquisitionSwitch();
}

// A START time already past (1 January of year 100, 00:00) makes the datalogger acquire
// at once; what the START boxes hold is only checked, never sent.
void DateTimePage::acquireNow()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const double hour = leadingNumber(startTimeBoxes[3]->text());
    const double minute = leadingNumber(startTimeBoxes[4]->text());
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        dialogs_.inform(QStringLiteral("Values not valid! "), QStringLiteral("Warning!!"));
        dialogs_.beep();
        return;
    }
    for (QLineEdit* box : clockBoxes)
        setBoxColour(box, BoxColour::Yellow);
    Settings::startAtOnce(link_);
    readStartTime();
}
