// SwitchBox: presses become requests; the state changes only when the datalogger answers.
#include "widgets/switch_box.h"

#include "data/conversions.h"

#include <QKeyEvent>
#include <QMouseEvent>

SwitchBox::SwitchBox(const QString& text, QWidget* parent) : QCheckBox(text, parent)
{
    setFocusPolicy(Qt::StrongFocus);
}

void SwitchBox::mousePressEvent(QMouseEvent* event)
{
    event->accept();
    if (!isEnabled())
        return;
    setFocus(Qt::MouseFocusReason);
    emit switchRequested();
}

// The release would toggle the box behind the datalogger's back.
void SwitchBox::mouseReleaseEvent(QMouseEvent* event) { event->accept(); }

void SwitchBox::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void SwitchBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Space) {
        QCheckBox::keyPressEvent(event);
        return;
    }
    event->accept();
    if (!event->isAutoRepeat() && isEnabled())
        emit switchRequested();
}

void SwitchBox::keyReleaseEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space)
        event->accept();
    else
        QCheckBox::keyReleaseEvent(event);
}

// Any number but 0 ticks, however large: a 16-bit conversion would wrap a value such as
// 70000 to 0 and clear the box.
void SwitchBox::showField(const QString& field) { setChecked(Numbers::leadingNumber(field) != 0); }
