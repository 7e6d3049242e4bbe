// What a remote window does to the console once its line is up, the same for the modem
// and the internet window: the analog model's presentation under the window's caption,
// and the hand-over with the suggested data-file name.
#pragma once

#include <QString>

class ConsoleWindow;
class QWidget;

// The analog (model 0) console: the cable presentation, under its own caption and with
// its own caption on the "Acquire" button.
void presentAnalogModel(ConsoleWindow* console, const QString& caption, const QString& acquireCaption);
// Hides and disables the window, shows the console, and suggests the data file's name
// from the datalogger's name and today's date.
void handOverToConsole(QWidget* from, ConsoleWindow* console);
