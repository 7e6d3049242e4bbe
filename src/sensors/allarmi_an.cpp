// The alert window: its grid, its buttons and their exchanges.
#include "sensors/allarmi_an.h"

#include "console/form1.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
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

using namespace Modulo1;
using Conversioni::Str;

namespace {

const QString switchColumn = QStringLiteral("Enabled (0/1)");
const QString lowColumn = QStringLiteral("Low Threshold");
const QString highColumn = QStringLiteral("High Threshold");
const QString smsFrame = QStringLiteral("SMS TEXT (5 x 25 characters)");

// The absolute channel of a row, as it travels: with the blank of its sign position.
QString channelText(int mux, int row) { return Str(16 * mux + row); }

} // namespace

Allarmi_An::Allarmi_An(Form1* console, QWidget* parent)
    : QWidget(parent, Qt::Window), console_(console)
{
    setObjectName(QStringLiteral("Allarmi_An"));
    setWindowTitle(QStringLiteral("Sensors Alerts"));
    buildControls();
    resize(600, 760);
    centreOnScreen(this);
}

void Allarmi_An::buildControls()
{
    using namespace Controls;
    auto* layout = new QVBoxLayout(this);
    auto* buttons = new QGridLayout;
    const QString readCaptions[4] = {QStringLiteral("Read MUX0"), QStringLiteral("Read muxMUX1"),
                                     QStringLiteral("Read MUX2"), QStringLiteral("Read MUX3")};
    for (int m = 0; m < 4; ++m) {
        Leggi_all[m] = button(this, arrayName(QStringLiteral("Leggi_all"), m), readCaptions[m]);
        ScriviAll[m] = button(this, arrayName(QStringLiteral("ScriviAll"), m), QStringLiteral("Write MUX%1").arg(m));
        buttons->addWidget(Leggi_all[m], 0, m);
        buttons->addWidget(ScriviAll[m], 1, m);
        connect(Leggi_all[m], &QPushButton::clicked, this, [this, m] { Leggi_All_Click(m); });
        connect(ScriviAll[m], &QPushButton::clicked, this, [this, m] { ScriviAll_Click(m); });
    }
    layout->addLayout(buttons);

    auto* grid = new QGridLayout;
    grid->addWidget(label(this, switchColumn), 0, 1);
    grid->addWidget(label(this, lowColumn), 0, 2);
    grid->addWidget(label(this, highColumn), 0, 3);
    const auto makeBox = [this](const QString& array, const QString& column, int row, int limit) {
        QLineEdit* b = box(this, arrayName(array, row), column + QLatin1Char(' ') + Conversioni::CStr(row));
        b->setMaxLength(limit);
        b->setText(QStringLiteral("read"));
        markRedOnEdit(b);
        return b;
    };
    for (int r = 0; r < 16; ++r) {
        Numero_Canali[r] = label(this, Conversioni::CStr(r), arrayName(QStringLiteral("Numero_Canali"), r));
        AllarmeAttivo[r] = makeBox(QStringLiteral("AllarmeAttivo"), switchColumn, r, 10);
        CB[r] = makeBox(QStringLiteral("CB"), lowColumn, r, 13);
        CA[r] = makeBox(QStringLiteral("CA"), highColumn, r, 13);
        grid->addWidget(Numero_Canali[r], r + 1, 0);
        grid->addWidget(AllarmeAttivo[r], r + 1, 1);
        grid->addWidget(CB[r], r + 1, 2);
        grid->addWidget(CA[r], r + 1, 3);
    }
    layout->addLayout(grid);

    SMS_PERSONALE = frame(this, smsFrame, QStringLiteral("SMS_PERSONALE"));
    auto* sms = new QVBoxLayout(SMS_PERSONALE);
    for (int i = 0; i < 5; ++i) {
        SMS_PERSONALIZZATO[i] = box(SMS_PERSONALE, arrayName(QStringLiteral("SMS_PERSONALIZZATO"), i),
                                    smsFrame + QLatin1Char(' ') + Conversioni::CStr(i));
        SMS_PERSONALIZZATO[i]->setMaxLength(25);
        markRedOnEdit(SMS_PERSONALIZZATO[i]);
        sms->addWidget(SMS_PERSONALIZZATO[i]);
    }
    auto* smsButtons = new QHBoxLayout;
    MESSAGGIO_PERSONALE_LEGGI = button(SMS_PERSONALE, QStringLiteral("MESSAGGIO_PERSONALE_LEGGI"), QStringLiteral("READ SMS"));
    MESSAGGIO_PERSONALE_SCRIVI = button(SMS_PERSONALE, QStringLiteral("MESSAGGIO_PERSONALE_SCRIVI"), QStringLiteral("WRITE SMS"));
    smsButtons->addWidget(MESSAGGIO_PERSONALE_LEGGI);
    smsButtons->addWidget(MESSAGGIO_PERSONALE_SCRIVI);
    smsButtons->addStretch(1);
    sms->addLayout(smsButtons);
    layout->addWidget(SMS_PERSONALE);
    connect(MESSAGGIO_PERSONALE_LEGGI, &QPushButton::clicked, this, &Allarmi_An::MESSAGGIO_PERSONALE_LEGGI_Click);
    connect(MESSAGGIO_PERSONALE_SCRIVI, &QPushButton::clicked, this, &Allarmi_An::MESSAGGIO_PERSONALE_SCRIVI_Click);
}

void Allarmi_An::setButtonsEnabled(bool enabled)
{
    for (int m = 0; m < 4; ++m) {
        Leggi_all[m]->setEnabled(enabled);
        ScriviAll[m]->setEnabled(enabled);
    }
    MESSAGGIO_PERSONALE_LEGGI->setEnabled(enabled);
    MESSAGGIO_PERSONALE_SCRIVI->setEnabled(enabled);
}

// No row can be read or written for a count that is empty, not a number or above 16.
int Allarmi_An::rowsOf(int mux, const QString& outcome)
{
    const QString text = console_->MUX[mux]->text();
    const double count = Conversioni::Val(text);
    if (Conversioni::IsNumeric(text) && count >= 0 && count <= 16 && count == std::floor(count))
        return int(count);
    dialogs().inform(QStringLiteral("MUX%1 does not hold a channel count (0 to 16): \"").arg(mux) + text
                         + QStringLiteral("\". ") + outcome,
                     QStringLiteral("Warning"));
    return -1;
}

void Allarmi_An::Leggi_All_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    const int rows = rowsOf(mux, QStringLiteral("Nothing was read."));
    if (rows < 0)
        return;
    setButtonsEnabled(false);
    for (QLineEdit* box : AllarmeAttivo)
        box->setText(QStringLiteral("Disabled"));
    for (int r = 0; r < rows; ++r) {
        Invia_Comando(QStringLiteral("J"), Conversioni::Values({channelText(mux, r)}));
        AllarmeAttivo[r]->setText(Leggi_Campo());
        CA[r]->setText(Leggi_Campo().trimmed());
        CB[r]->setText(Leggi_Campo().trimmed());
        Pausa(10);
    }
    setButtonsEnabled(true);
    for (int r = 0; r < 16; ++r)
        for (QLineEdit* box : {AllarmeAttivo[r], CA[r], CB[r]})
            setBoxColour(box, BoxColour::PaleYellow);
}

QString Allarmi_An::unsendableRows(int rows) const
{
    for (int r = 0; r < rows; ++r) {
        const QString row = QStringLiteral(" of row ") + Conversioni::CStr(r);
        for (const auto& [box, column] : {std::pair{AllarmeAttivo[r], switchColumn}, std::pair{CA[r], highColumn},
                                          std::pair{CB[r], lowColumn}}) {
            const QString reason = unsendableReason(column + row, box->text().trimmed());
            if (!reason.isEmpty())
                return reason;
        }
    }
    return {};
}

// The texts go out as typed, trimmed; the read that follows shows what the datalogger kept.
void Allarmi_An::ScriviAll_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    const int rows = rowsOf(mux, QStringLiteral("Nothing was written."));
    if (rows < 0)
        return;
    if (const QString reason = unsendableRows(rows); !reason.isEmpty()) {
        dialogs().inform(refusalMessage(reason), QStringLiteral("Warning"));
        return;
    }
    setButtonsEnabled(false);
    for (int r = 0; r < rows; ++r)
        Invia_Comando(QStringLiteral("j"),
                      Conversioni::Values({channelText(mux, r), AllarmeAttivo[r]->text().trimmed(),
                                           CA[r]->text().trimmed(), CB[r]->text().trimmed()}));
    Pausa(10);
    Leggi_All_Click(mux);
    setButtonsEnabled(true);
}

void Allarmi_An::MESSAGGIO_PERSONALE_LEGGI_Click()
{
    if (linkBusy())
        return;
    setButtonsEnabled(false);
    Invia_Comando(QStringLiteral("X"), QString());
    for (QLineEdit* line : SMS_PERSONALIZZATO) {
        line->setText(Leggi_Campo());
        Pausa(10);
        setBoxColour(line, BoxColour::PaleYellow);
    }
    setButtonsEnabled(true);
}

// A comma inside a line would make two lines of it on the datalogger and lose the fifth.
QString Allarmi_An::unsendableSms() const
{
    for (int i = 0; i < 5; ++i) {
        const QString reason = unsendableReason(QStringLiteral("SMS line ") + Conversioni::CStr(i + 1),
                                                SMS_PERSONALIZZATO[i]->text());
        if (!reason.isEmpty())
            return reason;
    }
    return {};
}

// Each line goes out as a command text of its own, untrimmed, followed by its comma.
void Allarmi_An::MESSAGGIO_PERSONALE_SCRIVI_Click()
{
    if (linkBusy())
        return;
    if (const QString reason = unsendableSms(); !reason.isEmpty()) {
        dialogs().inform(refusalMessage(reason), QStringLiteral("Warning"));
        return;
    }
    setButtonsEnabled(false);
    Invia_Comando(QStringLiteral("x"), QString());
    for (QLineEdit* line : SMS_PERSONALIZZATO) {
        Invia_Comando(line->text(), QStringLiteral(","));
        Pausa(10);
    }
    Invia_Comando(QStringLiteral("X"), QString());
    MESSAGGIO_PERSONALE_LEGGI_Click();
    setButtonsEnabled(true);
}

void Allarmi_An::closeEvent(QCloseEvent* event)
{
    Form_Unload();
    event->accept();
}

void Allarmi_An::Form_Unload()
{
    hide();
    setEnabled(false);
    console_->show();
    console_->setEnabled(true);
}
