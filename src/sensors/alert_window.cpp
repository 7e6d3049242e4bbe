// The alert window: its grid, its buttons and their exchanges.
#include "widgets/services.h"
#include "sensors/alert_window.h"

#include "protocol/datalogger_model.h"
#include "protocol/sensors.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "widgets/unsendable.h"
#include "widgets/box_colours.h"
#include "widgets/edit_marker.h"
#include "widgets/controls.h"
#include "widgets/window_placement.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>


namespace {

const QString switchColumn = QStringLiteral("Enabled (0/1)");
const QString lowColumn = QStringLiteral("Low Threshold");
const QString highColumn = QStringLiteral("High Threshold");
const QString smsFrame = QStringLiteral("SMS TEXT (5 x 25 characters)");

} // namespace

AlertWindow::AlertWindow(Services& services, QWidget* opener, QWidget* parent)
    : QWidget(parent, Qt::Window), opener_(opener), link_(services.link), dialogs_(services.dialogs),
      datalogger_(services.datalogger)
{
    setObjectName(QStringLiteral("Allarmi_An"));
    setWindowTitle(QStringLiteral("Sensors Alerts"));
    buildControls();
    resize(600, 760);
    centreOnScreen(this);
}

void AlertWindow::buildControls()
{
    using namespace Controls;
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    const QString readCaptions[4] = {QStringLiteral("Read MUX0"), QStringLiteral("Read muxMUX1"),
                                     QStringLiteral("Read MUX2"), QStringLiteral("Read MUX3")};
    for (int m = 0; m < 4; ++m) {
        readButtons[m] = button(this, arrayName(QStringLiteral("Leggi_all"), m), readCaptions[m]);
        writeButtons[m] = button(this, arrayName(QStringLiteral("ScriviAll"), m), QStringLiteral("Write MUX%1").arg(m));
        buttons->addWidget(readButtons[m], 0, m);
        buttons->addWidget(writeButtons[m], 1, m);
        connect(readButtons[m], &QPushButton::clicked, this, [this, m] { readAlerts(m); });
        connect(writeButtons[m], &QPushButton::clicked, this, [this, m] { writeAlerts(m); });
    }
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    grid->addWidget(label(this, switchColumn), 0, 1);
    grid->addWidget(label(this, lowColumn), 0, 2);
    grid->addWidget(label(this, highColumn), 0, 3);
    const auto makeBox = [this](const QString& array, const QString& column, int row, int limit) {
        QLineEdit* b = box(this, arrayName(array, row), column + QLatin1Char(' ') + Numbers::shownNumber(row));
        b->setMaxLength(limit);
        b->setText(QStringLiteral("read"));
        markRedOnEdit(b);
        return b;
    };
    for (int r = 0; r < 16; ++r) {
        channelLabels[r] = label(this, Numbers::shownNumber(r), arrayName(QStringLiteral("Numero_Canali"), r));
        alertOnBoxes[r] = makeBox(QStringLiteral("AllarmeAttivo"), switchColumn, r, 10);
        lowThresholdBoxes[r] = makeBox(QStringLiteral("CB"), lowColumn, r, 13);
        highThresholdBoxes[r] = makeBox(QStringLiteral("CA"), highColumn, r, 13);
        grid->addWidget(channelLabels[r], r + 1, 0);
        grid->addWidget(alertOnBoxes[r], r + 1, 1);
        grid->addWidget(lowThresholdBoxes[r], r + 1, 2);
        grid->addWidget(highThresholdBoxes[r], r + 1, 3);
    }
    layout->addLayout(grid);

    smsGroup = frame(this, smsFrame, QStringLiteral("SMS_PERSONALE"));
    auto* sms = new QVBoxLayout(smsGroup);
    for (int i = 0; i < 5; ++i) {
        smsTextBoxes[i] = box(smsGroup, arrayName(QStringLiteral("SMS_PERSONALIZZATO"), i),
                                    smsFrame + QLatin1Char(' ') + Numbers::shownNumber(i));
        smsTextBoxes[i]->setMaxLength(25);
        markRedOnEdit(smsTextBoxes[i]);
        sms->addWidget(smsTextBoxes[i]);
    }
    readSmsButton = button(smsGroup, QStringLiteral("MESSAGGIO_PERSONALE_LEGGI"), QStringLiteral("READ SMS"));
    writeSmsButton = button(smsGroup, QStringLiteral("MESSAGGIO_PERSONALE_SCRIVI"), QStringLiteral("WRITE SMS"));
    sms->addLayout(leftRow({readSmsButton, writeSmsButton}));
    layout->addWidget(smsGroup);
    connect(readSmsButton, &QPushButton::clicked, this, &AlertWindow::readSms);
    connect(writeSmsButton, &QPushButton::clicked, this, &AlertWindow::writeSms);
}

void AlertWindow::setButtonsEnabled(bool enabled)
{
    for (int m = 0; m < 4; ++m) {
        readButtons[m]->setEnabled(enabled);
        writeButtons[m]->setEnabled(enabled);
    }
    readSmsButton->setEnabled(enabled);
    writeSmsButton->setEnabled(enabled);
}

// No row can be read or written for a count that is empty, not a number or above 16.
int AlertWindow::rowsOf(int mux, const QString& outcome)
{
    if (datalogger_.validChannelCount(mux))
        return datalogger_.channelCount(mux);
    const QString text = datalogger_.channelText(mux);
    dialogs_.inform(QStringLiteral("MUX%1 does not hold a channel count (0 to 16): \"").arg(mux) + text
                         + QStringLiteral("\". ") + outcome,
                     QStringLiteral("Warning"));
    return -1;
}

void AlertWindow::readAlerts(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    const int rows = rowsOf(mux, QStringLiteral("Nothing was read."));
    if (rows < 0)
        return;
    setButtonsEnabled(false);
    for (QLineEdit* box : alertOnBoxes)
        box->setText(QStringLiteral("Disabled"));
    for (int r = 0; r < rows; ++r) {
        const Sensors::Reply row = Sensors::readAlert(link_, 16 * mux + r);
        alertOnBoxes[r]->setText(row.fields[0]);
        highThresholdBoxes[r]->setText(row.fields[1].trimmed());
        lowThresholdBoxes[r]->setText(row.fields[2].trimmed());
    }
    setButtonsEnabled(true);
    for (int r = 0; r < 16; ++r)
        for (QLineEdit* box : {alertOnBoxes[r], highThresholdBoxes[r], lowThresholdBoxes[r]})
            setBoxColour(box, BoxColour::PaleYellow);
}

QString AlertWindow::unsendableRows(int rows) const
{
    for (int r = 0; r < rows; ++r) {
        const QString row = QStringLiteral(" of row ") + Numbers::shownNumber(r);
        for (const auto& [box, column] : {std::pair{alertOnBoxes[r], switchColumn}, std::pair{highThresholdBoxes[r], highColumn},
                                          std::pair{lowThresholdBoxes[r], lowColumn}}) {
            const QString reason = unsendableReason(column + row, box->text().trimmed());
            if (!reason.isEmpty())
                return reason;
        }
    }
    return {};
}

// The texts go out as typed, trimmed; the read that follows shows what the datalogger kept.
void AlertWindow::writeAlerts(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    const int rows = rowsOf(mux, QStringLiteral("Nothing was written."));
    if (rows < 0)
        return;
    if (const QString reason = unsendableRows(rows); !reason.isEmpty()) {
        dialogs_.inform(refusalMessage(reason), QStringLiteral("Warning"));
        return;
    }
    setButtonsEnabled(false);
    for (int r = 0; r < rows; ++r)
        Sensors::writeAlert(link_, 16 * mux + r,
                            {alertOnBoxes[r]->text().trimmed(), highThresholdBoxes[r]->text().trimmed(),
                             lowThresholdBoxes[r]->text().trimmed()});
    link_.pause(10);
    readAlerts(mux);
    setButtonsEnabled(true);
}

void AlertWindow::readSms()
{
    if (link_.busy())
        return;
    setButtonsEnabled(false);
    const Sensors::Reply texts = Sensors::readSmsTexts(link_);
    for (size_t i = 0; i < smsTextBoxes.size(); ++i) {
        smsTextBoxes[i]->setText(texts.fields[qsizetype(i)]);
        setBoxColour(smsTextBoxes[i], BoxColour::PaleYellow);
    }
    setButtonsEnabled(true);
}

// A comma inside a line would make two lines of it on the datalogger and lose the fifth.
QString AlertWindow::unsendableSms() const
{
    for (int i = 0; i < 5; ++i) {
        const QString reason = unsendableReason(QStringLiteral("SMS line ") + Numbers::shownNumber(i + 1),
                                                smsTextBoxes[i]->text());
        if (!reason.isEmpty())
            return reason;
    }
    return {};
}

// Each line goes out as a command text of its own, untrimmed, followed by its comma.
void AlertWindow::writeSms()
{
    if (link_.busy())
        return;
    if (const QString reason = unsendableSms(); !reason.isEmpty()) {
        dialogs_.inform(refusalMessage(reason), QStringLiteral("Warning"));
        return;
    }
    setButtonsEnabled(false);
    QStringList lines;
    for (const QLineEdit* line : smsTextBoxes)
        lines << line->text();
    Sensors::writeSmsTexts(link_, lines);
    readSms();
    setButtonsEnabled(true);
}

void AlertWindow::closeEvent(QCloseEvent* event)
{
    unload();
    event->accept();
}

void AlertWindow::unload()
{
    hide();
    setEnabled(false);
    opener_->show();
    opener_->setEnabled(true);
}
