// Readings now: one multiplexer's values or temperatures, "Acquire now", the stand-alone
// recording and the field test.
#include "console/form1.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"
#include "widgets/box_colours.h"
#include "widgets/window_placement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Modulo1;
using Conversioni::Str;
using Conversioni::Val;

namespace {

QString vibratingWireValue(const QString& field) { return Conversioni::CStr(Val(field)); }

QString analogValue(const QString& field)
{
    return Conversioni::Format(field, QStringLiteral("######0.0##"));
}

// A temperature outside -30..80 (both ends included) is no reading of a sensor.
QString temperatureValue(const QString& field)
{
    const double t = Val(field);
    return (t < -30 || t > 80) ? QStringLiteral("**N.F.**")
                               : Conversioni::Format(t, QStringLiteral("000.0"));
}

} // namespace

// Both reads of a multiplexer share the reply: per active channel its position, then its
// value. A position the datalogger gives outside 0..15 is not shown anywhere.
static void readMultiplexer(Form1* f, int mux, bool temperatures)
{
    CommandLock lock;
    if (!temperatures)
        Svuota_Ricezione();
    for (int i = 0; i < 16; ++i) {
        f->LABCANALI[i]->setText(QStringLiteral("CH") + Str(16 * mux + i));
        f->continua[i]->setText(QStringLiteral("N.R."));
    }
    Invia_Comando(temperatures ? QStringLiteral("t") : QStringLiteral("p"),
                  Conversioni::Values({Str(mux)}));
    const int count = f->channelCount(mux);
    for (int i = 0; i < count; ++i) {
        setTextColour(f->LABCANALI[i], BoxColour::RedText);
        const double position = Val(Leggi_Campo());
        const QString field = Leggi_Campo();
        const QString shown = temperatures ? temperatureValue(field)
                              : LoggerModelCode != 0 ? vibratingWireValue(field)
                                                     : analogValue(field);
        if (position >= 0 && position <= 15 && position == int(position))
            f->continua[int(position)]->setText(shown);
        setTextColour(f->LABCANALI[i], BoxColour::Black);
    }
}

void Form1::MISCONTINUA_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(this, mux, false);
}

void Form1::MISCONTINUA_TEMP_Click(int mux)
{
    if (linkBusy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(this, mux, true);
}

// A START time already past (1 January of year 100, 00:00) makes the datalogger acquire
// at once; what the START boxes hold is only checked, never sent.
void Form1::Subito_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    const double hour = Val(data_allarme[3]->text());
    const double minute = Val(data_allarme[4]->text());
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59) {
        dialogs().inform(QStringLiteral("Values not valid! "), QStringLiteral("Warning!!"));
        dialogs().beep();
        return;
    }
    for (QLineEdit* box : data)
        setBoxColour(box, BoxColour::Yellow);
    Invia_Comando(QStringLiteral("y"), QStringLiteral("1,1,100,00,00,"));
    LeggiDataAllarme_Click();
}

void Form1::registradasolo_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("^"), QString());
}

// The datalogger runs its field test on its own; the window only says that it started.
void Form1::PROVA_IN_SITO_Click()
{
    if (linkBusy())
        return;
    Invia_Comando(QStringLiteral("J"), QString());
    if (!fieldTestWindow_) {
        fieldTestWindow_ = std::make_unique<QWidget>(nullptr, Qt::Window);
        fieldTestWindow_->setObjectName(QStringLiteral("ProvaInSito"));
        fieldTestWindow_->setWindowTitle(QStringLiteral("PROVA IN SITO"));
        auto* text = new QLabel(QStringLiteral("The datalogger's field test has started."),
                                fieldTestWindow_.get());
        text->setObjectName(QStringLiteral("ProvaInSitoText"));
        text->setMargin(24);
        auto* layout = new QVBoxLayout(fieldTestWindow_.get());
        layout->addWidget(text);
    }
    fieldTestWindow_->setEnabled(false);
    fieldTestWindow_->show();
    centreOnScreen(fieldTestWindow_.get());
    Pausa(20);
    fieldTestWindow_->setEnabled(true);
}
