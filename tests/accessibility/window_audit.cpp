// The window audit: a walk of Qt's accessibility tree for names, Tab pressed until every
// focusable control has had the focus, and the mnemonics of the visible captions.
#include "window_audit.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeySequence>
#include <QLabel>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTest>

namespace WindowAudit {

namespace {

bool isControlRole(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::Dial:
    case QAccessible::ButtonDropDown:
    case QAccessible::ButtonMenu:
    case QAccessible::PageTab:
    case QAccessible::List:
    case QAccessible::Table:
    case QAccessible::Tree:
    case QAccessible::Link:
    case QAccessible::MenuItem:
    case QAccessible::HotkeyField:
        return true;
    default:
        return false;
    }
}

// Parts of a composite control (a spin box's or combo box's editor, a scroll bar of a
// scrolled view): the composite is what the user meets, and it carries the name.
bool isPartOfAnother(const QWidget* w)
{
    if (qobject_cast<const QScrollBar*>(w) || w->focusProxy())
        return true;
    for (const QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (qobject_cast<const QAbstractSpinBox*>(p) || qobject_cast<const QComboBox*>(p))
            return true;
    return false;
}

QString describe(const QObject* o, const QString& role = QString())
{
    QString d = QString::fromLatin1(o ? o->metaObject()->className() : "item");
    if (o && !o->objectName().isEmpty())
        d += QLatin1Char(' ') + o->objectName();
    if (!role.isEmpty())
        d += QLatin1Char(' ') + role;
    return d;
}

void walk(QAccessibleInterface* iface, QStringList& out, int depth)
{
    if (!iface || !iface->isValid() || depth > 60 || iface->state().invisible)
        return;
    auto* w = qobject_cast<QWidget*>(iface->object());
    const bool part = w && isPartOfAnother(w);
    const bool focusable = w && w->focusPolicy() != Qt::NoFocus;
    if (!part && (isControlRole(iface->role()) || focusable)
        && iface->text(QAccessible::Name).trimmed().isEmpty()) {
        const bool ownWidget = w && iface->object() == w;
        out << describe(iface->object(),
                        ownWidget ? QString() : QStringLiteral("role %1").arg(int(iface->role())));
    }
    for (int i = 0; i < iface->childCount(); ++i)
        walk(iface->child(i), out, depth + 1);
}

bool takesTabFocus(const QWidget* w, const QWidget* window)
{
    return w->window() == window && w->isVisible() && w->isEnabled()
        && w->focusPolicy() != Qt::NoFocus && !isPartOfAnother(w);
}

QList<QWidget*> focusableControls(QWidget* window)
{
    QList<QWidget*> out;
    for (QWidget* w : window->findChildren<QWidget*>())
        if (takesTabFocus(w, window))
            out << w;
    return out;
}

// The control that holds the focus: a composite's editor stands for the composite.
QWidget* controlOf(QWidget* w)
{
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget())
        if (qobject_cast<QAbstractSpinBox*>(p) || qobject_cast<QComboBox*>(p))
            return p;
    return w;
}

// Radio buttons of one exclusive group: one Tab stop, the arrows move among them.
bool sameRadioGroup(const QWidget* a, const QWidget* b)
{
    const auto* ra = qobject_cast<const QRadioButton*>(a);
    const auto* rb = qobject_cast<const QRadioButton*>(b);
    if (!ra || !rb)
        return false;
    if (ra->group() || rb->group())
        return ra->group() == rb->group();
    return ra->autoExclusive() && rb->autoExclusive() && ra->parentWidget() == rb->parentWidget();
}

void activate(QWidget* window)
{
    window->show();
    window->activateWindow();
    QApplication::setActiveWindow(window);
    if (!QTest::qWaitForWindowActive(window, 2000))
        qWarning("window audit: %s did not become active", qPrintable(window->objectName()));
}

// The controls that had the focus, in order, while Tab was pressed enough times to go
// round the window once (a table's cells take a press each).
QList<QWidget*> pressTabAround(QWidget* window, qsizetype controls)
{
    activate(window);
    if (!QApplication::focusWidget() || QApplication::focusWidget()->window() != window)
        QTest::keyClick(window, Qt::Key_Tab);
    QList<QWidget*> order;
    QSet<QWidget*> seen;
    const qsizetype presses = 4 * controls + 400;
    for (qsizetype i = 0; i <= presses; ++i) {
        QWidget* focused = QApplication::focusWidget();
        if (!focused || focused->window() != window)
            break;
        QWidget* control = controlOf(focused);
        if (!seen.contains(control)) {
            seen.insert(control);
            order << control;
        } else if (control == order.first() && order.size() > 1) {
            break;  // round once
        }
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    return order;
}

// The letter after a single "&" of a caption, lower case; empty when there is none.
QString mnemonicOf(const QString& caption)
{
    const QKeySequence key = QKeySequence::mnemonic(caption);
    return key.isEmpty() ? QString() : key.toString().section(QLatin1Char('+'), -1).toLower();
}

} // namespace

QStringList unnamedControls(QWidget* window)
{
    QStringList out;
    window->show();
    walk(QAccessible::queryAccessibleInterface(window), out, 0);
    // The menus' commands are spoken from their texts, whether or not a menu is open.
    for (const QMenu* menu : window->findChildren<QMenu*>())
        for (const QAction* a : menu->actions())
            if (!a->isSeparator() && a->isVisible() && a->text().remove(QLatin1Char('&')).trimmed().isEmpty())
                out << describe(a);
    return out;
}

QStringList unreachableByTab(QWidget* window)
{
    const QList<QWidget*> controls = focusableControls(window);
    const QList<QWidget*> reached = pressTabAround(window, controls.size());
    QStringList out;
    for (QWidget* c : controls) {
        const bool got = std::any_of(reached.begin(), reached.end(),
                                     [c](QWidget* r) { return r == c || sameRadioGroup(r, c); });
        if (!got)
            out << describe(c);
    }
    return out;
}

QStringList tabOrder(QWidget* window)
{
    QStringList out;
    for (QWidget* w : pressTabAround(window, focusableControls(window).size()))
        out << describe(w);
    return out;
}

QStringList clashingMnemonics(QWidget* window)
{
    QMap<QString, QStringList> owners;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() != window || !w->isVisible())
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            owners[mnemonicOf(b->text())] << describe(w);
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            owners[mnemonicOf(l->text())] << describe(w);
        else if (auto* g = qobject_cast<QGroupBox*>(w); g && g->isCheckable())
            owners[mnemonicOf(g->title())] << describe(w);
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                owners[mnemonicOf(t->tabText(i))] << describe(w, t->tabText(i));
        else if (auto* m = qobject_cast<QMenuBar*>(w))
            for (const QAction* a : m->actions())
                owners[mnemonicOf(a->text())] << describe(w, a->text());
    }
    owners.remove(QString());
    QStringList out;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it->size() > 1)
            out << QStringLiteral("&%1: %2").arg(it.key(), it->join(QStringLiteral(", ")));
    return out;
}

} // namespace WindowAudit
