// Readings now: one multiplexer's values or temperatures, "Acquire now", the stand-alone
// recording and the field test.
#include "console/console_window.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "widgets/box_colours.h"
#include "widgets/window_placement.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using Numbers::signedText;
using Numbers::leadingNumber;

namespace {

QString vibratingWireValue(const QString& field) { return Numbers::shownNumber(leadingNumber(field)); }

QString analogValue(const QString& field)
{
    return Numbers::formatted(field, QStringLiteral("######0.0##"));
}

// A temperature outside -30..80 (both ends included) is no reading of a sensor.
QString temperatureValue(const QString& field)
{
    const double t = leadingNumber(field);
    return (t < -30 || t > 80) ? QStringLiteral("**N.F.**")
                               : Numbers::formatted(t, QStringLiteral("000.0"));
}

} // namespace

// Both reads of a multiplexer share the reply: per active channel its position, then its
// value. A position the datalogger gives outside 0..15 is not shown anywhere.
static void readMultiplexer(ConsoleWindow* f, Link& link_, bool vibratingWire, int mux, bool temperatures)
{
    Link::CommandLock lock(link_);
    if (!temperatures)
        link_.flushInput();
    for (int i = 0; i < 16; ++i) {
        f->readingLabels[i]->setText(QStringLiteral("CH") + signedText(16 * mux + i));
        f->readingBoxes[i]->setText(QStringLiteral("N.R."));
    }
    link_.sendCommand(temperatures ? QStringLiteral("t") : QStringLiteral("p"),
                  Numbers::valuesString({signedText(mux)}));
    const int count = f->channelCount(mux);
    for (int i = 0; i < count; ++i) {
        setTextColour(f->readingLabels[i], BoxColour::RedText);
        const double position = leadingNumber(link_.readField());
        const QString field = link_.readField();
        const QString shown = temperatures ? temperatureValue(field)
                              : vibratingWire ? vibratingWireValue(field)
                                                     : analogValue(field);
        if (position >= 0 && position <= 15 && position == int(position))
            f->readingBoxes[int(position)]->setText(shown);
        setTextColour(f->readingLabels[i], BoxColour::Black);
    }
}

void ConsoleWindow::readMux(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(this, link_, datalogger_.modelCode() != 0, mux, false);
}

void ConsoleWindow::readMuxTemperatures(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(this, link_, datalogger_.modelCode() != 0, mux, true);
}

void ConsoleWindow::standAlone()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    link_.flushInput();
    link_.sendCommand(QStringLiteral("^"), QString());
}

// The datalogger runs its field test on its own; the window only says that it started.
void ConsoleWindow::fieldTest()
{
    if (link_.busy())
        return;
    link_.sendCommand(QStringLiteral("J"), QString());
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
    link_.pause(20);
    fieldTestWindow_->setEnabled(true);
}
