// The console's box colours: platform colour values (blue in the high byte) to QColor,
// and painting a widget's background with one.
#pragma once

#include <QColor>

class QWidget;

namespace BoxColour {
constexpr int Yellow = 1048575;      // in step with the datalogger
constexpr int Red = 255;             // edited, not yet written
constexpr int PaleYellow = 8454143;  // GSM, alert and rain-gauge boxes after a read
constexpr int StatusBusy = 65535;    // a status box while a long operation runs
constexpr int StatusDone = 65280;    // a status box when it has ended
constexpr int Green = 49152;         // the start window's status line: datalogger found
constexpr int Magenta = 16711935;    // the start window's status line: datalogger reset
constexpr int Black = 0;             // a channel label's text at rest
constexpr int RedText = 255;         // a channel label's text while its value is read
} // namespace BoxColour

// 0x00BBGGRR -> QColor(RR, GG, BB).
QColor colourFromValue(int colourValue);
// Paints the background of w; the value is kept on the widget for boxColour().
void setBoxColour(QWidget* w, int colourValue);
// Paints the text of w (a label); the value is kept on the widget for textColour().
void setTextColour(QWidget* w, int colourValue);
int textColour(const QWidget* w);
// The value last painted with setBoxColour, or -1 when the widget was never painted.
int boxColour(const QWidget* w);
