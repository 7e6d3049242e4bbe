// What a screen-reader or keyboard user meets in a window: controls the accessibility tree
// gives no name, focusable controls the Tab key never reaches, and mnemonics that clash.
#pragma once

#include <QStringList>

class QWidget;

namespace WindowAudit {

// The visible interactive controls of the window's accessibility tree (buttons, boxes,
// lists, tables, tabs, menu items, and any widget that takes the focus) whose name is
// empty, each as "class objectName".
QStringList unnamedControls(QWidget* window);

// The visible, enabled controls that take the focus but that pressing Tab again and again
// from the window's first focus never reaches (a radio button counts as reached when
// another of its exclusive group is: the arrow keys move between them).
QStringList unreachableByTab(QWidget* window);

// The controls in Tab order, as "objectName" (for messages).
QStringList tabOrder(QWidget* window);

// Mnemonic letters ("&x") that two visible controls of the window share.
QStringList clashingMnemonics(QWidget* window);

} // namespace WindowAudit
