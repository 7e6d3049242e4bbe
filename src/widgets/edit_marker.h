// The one rule for a box the operator edits: a key that changes its text paints it red,
// as no longer what the datalogger holds, until the next read or write paints it again.
#pragma once

class QWidget;

// Moving through the window with the keyboard (Tab, Escape, Enter) does not mark the box.
void markRedOnEdit(QWidget* box);
