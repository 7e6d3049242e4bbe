// Small factories for the console's widgets: each gets its object name, its caption and
// an accessible name, so that every page is built the same way.
#pragma once

#include <QList>
#include <QString>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;
class SwitchBox;

namespace Controls {

// "name" or, for a control array, "name_index".
QString arrayName(const QString& name, int index);

QPushButton* button(QWidget* parent, const QString& name, const QString& caption);
QCheckBox* check(QWidget* parent, const QString& name, const QString& caption);
SwitchBox* switchBox(QWidget* parent, const QString& name, const QString& caption);
QRadioButton* option(QWidget* parent, const QString& name, const QString& caption);
// A text box; spoken as accessibleName.
QLineEdit* box(QWidget* parent, const QString& name, const QString& accessibleName,
               int width = 0);
QLabel* label(QWidget* parent, const QString& text, const QString& name = QString());
QGroupBox* frame(QWidget* parent, const QString& title, const QString& name = QString());
// The widgets side by side from the left, the rest of the row empty.
QHBoxLayout* leftRow(const QList<QWidget*>& widgets);

} // namespace Controls
