// Painting widget backgrounds with the console's colour values.
#include "widgets/box_colours.h"

#include <QPalette>
#include <QVariant>
#include <QWidget>

namespace {
const char* const kProperty = "boxColourValue";
const char* const kTextProperty = "textColourValue";
}

QColor colourFromValue(int colourValue)
{
    return QColor(colourValue & 0xFF, (colourValue >> 8) & 0xFF, (colourValue >> 16) & 0xFF);
}

void setBoxColour(QWidget* w, int colourValue)
{
    if (!w)
        return;
    const QColor colour = colourFromValue(colourValue);
    QPalette palette = w->palette();
    // Text boxes paint Base; labels, check boxes and frames paint Window.
    palette.setColor(QPalette::Base, colour);
    palette.setColor(QPalette::Window, colour);
    // Dark backgrounds would hide dark text.
    const QColor text = colour.lightness() < 110 ? Qt::white : Qt::black;
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::WindowText, text);
    w->setPalette(palette);
    w->setAutoFillBackground(true);
    w->setProperty(kProperty, colourValue);
}

int boxColour(const QWidget* w)
{
    if (!w)
        return -1;
    const QVariant v = w->property(kProperty);
    return v.isValid() ? v.toInt() : -1;
}

void setTextColour(QWidget* w, int colourValue)
{
    if (!w)
        return;
    QPalette palette = w->palette();
    palette.setColor(QPalette::WindowText, colourFromValue(colourValue));
    w->setPalette(palette);
    w->setProperty(kTextProperty, colourValue);
}

int textColour(const QWidget* w)
{
    if (!w)
        return -1;
    const QVariant v = w->property(kTextProperty);
    return v.isValid() ? v.toInt() : -1;
}
