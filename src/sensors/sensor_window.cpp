// The sensor window: its grid, its eight buttons and their exchanges.
#include "widgets/services.h"
#include "sensors/sensor_window.h"

#include "protocol/datalogger_model.h"
#include "protocol/sensors.h"
#include "data/coefficient_table.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "widgets/controls.h"
#include "widgets/unsendable.h"
#include "widgets/window_placement.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Numbers::leadingNumber;

namespace {

const QString columnNames[5] = {QStringLiteral("Sensor name"), QStringLiteral("Zero_Volt"),
                                QStringLiteral("FS_Volt"), QStringLiteral("Zero_Physical"),
                                QStringLiteral("FS_Physical")};

} // namespace

SensorWindow::SensorWindow(Services& services, QWidget* opener, QWidget* parent)
    : QWidget(parent, Qt::Window), opener_(opener), link_(services.link), dialogs_(services.dialogs),
      datalogger_(services.datalogger)
{
    setObjectName(QStringLiteral("Sensori_An"));
    setWindowTitle(QStringLiteral("Sensors settings"));
    buildControls();
    resize(760, 640);
    centreOnScreen(this);
}

void SensorWindow::buildControls()
{
    using namespace Controls;
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    for (int m = 0; m < 4; ++m) {
        readButtons[m] = button(this, arrayName(QStringLiteral("Leggi_prop"), m),
                               QStringLiteral("Read MUX%1").arg(m));
        writeButtons[m] = button(this, arrayName(QStringLiteral("ScriviProp"), m),
                               m == 0 ? QStringLiteral("Write  MUX0") : QStringLiteral("Write MUX%1").arg(m));
        buttons->addWidget(readButtons[m], 0, m);
        buttons->addWidget(writeButtons[m], 1, m);
        connect(readButtons[m], &QPushButton::clicked, this, [this, m] { readSensors(m); });
        connect(writeButtons[m], &QPushButton::clicked, this, [this, m] { writeSensors(m); });
    }
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    for (int c = 0; c < 5; ++c)
        grid->addWidget(label(this, columnNames[c]), 0, c + 1);
    std::array<std::array<QLineEdit*, 16>*, 5> columns = {&channelNameBoxes, &zeroVoltBoxes, &fullScaleVoltBoxes, &zeroUnitBoxes, &fullScaleUnitBoxes};
    const QString arrays[5] = {QStringLiteral("NomeCanali"), QStringLiteral("CA"), QStringLiteral("CB"),
                               QStringLiteral("CC"), QStringLiteral("CD")};
    for (int p = 0; p < 16; ++p) {
        channelLabels[p] = label(this, Numbers::shownNumber(p), arrayName(QStringLiteral("Numero_Canali"), p));
        grid->addWidget(channelLabels[p], p + 1, 0);
        for (int c = 0; c < 5; ++c) {
            QLineEdit* box = Controls::box(this, arrayName(arrays[c], p),
                                           columnNames[c] + QLatin1Char(' ') + Numbers::shownNumber(p));
            box->setText(QStringLiteral("read mux"));
            (*columns[size_t(c)])[size_t(p)] = box;
            grid->addWidget(box, p + 1, c + 1);
        }
    }
    layout->addLayout(grid);
    layout->addWidget(label(this, QStringLiteral("VALUE=((VOLT_OUT-ZERO_VOLT)/(FS_VOLT-ZERO_VOLT))*(FS_PH-ZERO_PH)+ZERO_PH"),
                            QStringLiteral("Formula")));
    layout->addWidget(label(this, QStringLiteral("Modifying Full Scale values has no effect on Vibrating Wire sensors"),
                            QStringLiteral("Avviso")));
}

void SensorWindow::setButtonsEnabled(bool enabled)
{
    for (int m = 0; m < 4; ++m) {
        readButtons[m]->setEnabled(enabled);
        writeButtons[m]->setEnabled(enabled);
    }
}

// The rows beyond the channel count are not read: named "Non Attivo", their coefficient
// boxes kept as they were.
void SensorWindow::readRows(int mux)
{
    for (QLineEdit* name : channelNameBoxes)
        name->setText(QStringLiteral("Non Attivo"));
    const int rows = datalogger_.channelCount(mux);
    for (int p = 0; p < rows; ++p) {
        const Sensors::Reply row = Sensors::readCoefficients(link_, 16 * mux + p);
        channelNameBoxes[p]->setText(row.fields[0]);
        const std::array<QLineEdit*, 4> boxes = {zeroVoltBoxes[p], fullScaleVoltBoxes[p], zeroUnitBoxes[p], fullScaleUnitBoxes[p]};
        for (size_t i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(row.fields[qsizetype(i) + 1].trimmed());
    }
}

void SensorWindow::readSensors(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    setButtonsEnabled(false);
    readRows(mux);
    setButtonsEnabled(true);
}

// A comma would end a value early and shift every later field on the datalogger; a
// character outside Latin-1 would arrive as "?".
QString SensorWindow::unsendable(int rows) const
{
    const std::array<const std::array<QLineEdit*, 16>*, 5> columns = {&channelNameBoxes, &zeroVoltBoxes, &fullScaleVoltBoxes, &zeroUnitBoxes, &fullScaleUnitBoxes};
    for (int p = 0; p < rows; ++p) {
        for (int c = 0; c < 5; ++c) {
            const QString reason = unsendableReason(
                columnNames[c] + QStringLiteral(" of row ") + Numbers::shownNumber(p),
                (*columns[size_t(c)])[size_t(p)]->text());
            if (!reason.isEmpty())
                return reason;
        }
    }
    return {};
}

void SensorWindow::writeSensors(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    setButtonsEnabled(false);
    const int rows = datalogger_.channelCount(mux);
    const QString refused = unsendable(rows);
    if (!refused.isEmpty()) {
        dialogs_.inform(refusalMessage(refused), QStringLiteral("Warning"));
        setButtonsEnabled(true);
        return;
    }
    for (int p = 0; p < rows; ++p) {
        const int ch = 16 * mux + p;
        datalogger_.setCoefficients(ch, {leadingNumber(zeroVoltBoxes[p]->text()), leadingNumber(fullScaleVoltBoxes[p]->text()),
                                         leadingNumber(zeroUnitBoxes[p]->text()), leadingNumber(fullScaleUnitBoxes[p]->text())});
        Sensors::writeCoefficients(link_, ch,
                                   {channelNameBoxes[p]->text().trimmed(), zeroVoltBoxes[p]->text().trimmed(),
                                    fullScaleVoltBoxes[p]->text().trimmed(), zeroUnitBoxes[p]->text().trimmed(),
                                    fullScaleUnitBoxes[p]->text().trimmed()});
    }
    link_.pause(10);
    readRows(mux);
    setButtonsEnabled(true);
}

void SensorWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void SensorWindow::unload()
{
    hide();
    setEnabled(false);
    opener_->show();
    opener_->setEnabled(true);
}
