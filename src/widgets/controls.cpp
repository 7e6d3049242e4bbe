// Factories for the console's widgets.
#include "widgets/controls.h"

#include "widgets/switch_box.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace Controls {

QString arrayName(const QString& name, int index)
{
    return name + QLatin1Char('_') + QString::number(index);
}

namespace {
// Buttons and check boxes are spoken by their caption, without the mnemonic marker.
template <typename W>
W* captioned(W* w, const QString& name, const QString& caption)
{
    w->setObjectName(name);
    QString spoken = caption;
    w->setAccessibleName(spoken.remove(QLatin1Char('&')).trimmed());
    return w;
}
} // namespace

QPushButton* button(QWidget* parent, const QString& name, const QString& caption)
{
    auto* b = captioned(new QPushButton(caption, parent), name, caption);
    b->setAutoDefault(false);
    return b;
}

QCheckBox* check(QWidget* parent, const QString& name, const QString& caption)
{
    return captioned(new QCheckBox(caption, parent), name, caption);
}

SwitchBox* switchBox(QWidget* parent, const QString& name, const QString& caption)
{
    return captioned(new SwitchBox(caption, parent), name, caption);
}

QRadioButton* option(QWidget* parent, const QString& name, const QString& caption)
{
    return captioned(new QRadioButton(caption, parent), name, caption);
}

QLineEdit* box(QWidget* parent, const QString& name, const QString& accessibleName, int width)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(name);
    e->setAccessibleName(accessibleName);
    if (width > 0)
        e->setMinimumWidth(width);
    // Short values get short boxes, so that a page does not stretch them across the window.
    if (width > 0 && width < 100)
        e->setMaximumWidth(width + 40);
    return e;
}

QLabel* label(QWidget* parent, const QString& text, const QString& name)
{
    auto* l = new QLabel(text, parent);
    if (!name.isEmpty())
        l->setObjectName(name);
    return l;
}

QGroupBox* frame(QWidget* parent, const QString& title, const QString& name)
{
    auto* g = new QGroupBox(title, parent);
    if (!name.isEmpty())
        g->setObjectName(name);
    g->setAccessibleName(title);
    return g;
}

QHBoxLayout* leftRow(const QList<QWidget*>& widgets)
{
    auto* row = new QHBoxLayout;
    for (QWidget* w : widgets)
        row->addWidget(w);
    row->addStretch(1);
    return row;
}

} // namespace Controls
