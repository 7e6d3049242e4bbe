// Clicking the console's controls as the operator does: the page holding the control is
// brought to the front first.
#pragma once

#include "console/console_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

inline void showPageOf(ConsoleWindow* console, QWidget* control)
{
    for (int i = 0; i < console->pages->count(); ++i)
        if (console->pages->widget(i)->isAncestorOf(control))
            console->pages->setCurrentIndex(i);
}

// The visible top-level window of type W (a window the console opened), or nullptr.
template <class W>
W* visibleWindow()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<W*>(w); window && window->isVisible())
            return window;
    return nullptr;
}

inline void click(ConsoleWindow* console, QAbstractButton* button)
{
    showPageOf(console, button);
    QTest::mouseClick(button, Qt::LeftButton);
}

template <std::size_t N>
void type(const std::array<QLineEdit*, N>& boxes, const QStringList& texts)
{
    for (std::size_t i = 0; i < N; ++i)
        boxes[i]->setText(texts.value(int(i)));
}
