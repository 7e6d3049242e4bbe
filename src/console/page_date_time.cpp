// The "DATE AND TIME" page: the datalogger's clock, the START time of the next
// acquisition, and the GSM, conversion and acquisition switches.
#include "console/console_window.h"

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
} // namespace

QWidget* ConsoleWindow::buildDateTimePage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    QGroupBox* clock =
        frame(page, QStringLiteral("Internal clock and START time for next acquisition of data"));
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

    QGroupBox* switches = frame(page, QString());
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
    return page;
}
