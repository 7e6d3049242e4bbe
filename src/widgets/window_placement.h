// Placing windows on the screen.
#pragma once

class QWidget;

// Centres w on the primary screen's available area.
void centreOnScreen(QWidget* w);
