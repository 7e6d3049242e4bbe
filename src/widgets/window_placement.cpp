// Placing windows on the screen.
#include "widgets/window_placement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void centreOnScreen(QWidget* w)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    w->move(area.left() + (area.width() - w->width()) / 2,
            area.top() + (area.height() - w->height()) / 2);
}
