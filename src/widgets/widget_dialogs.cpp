// Message boxes and file choosers on Qt Widgets, behind the program's one Dialogs door.
#include "widgets/widget_dialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace {

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information: return QMessageBox::Information;
    case Dialogs::Icon::Warning: return QMessageBox::Warning;
    case Dialogs::Icon::Critical: return QMessageBox::Critical;
    case Dialogs::Icon::Question: return QMessageBox::Question;
    case Dialogs::Icon::None: break;
    }
    return QMessageBox::NoIcon;
}

QMessageBox::StandardButtons boxButtons(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Dialogs::Buttons::RetryCancel: return QMessageBox::Retry | QMessageBox::Cancel;
    case Dialogs::Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Dialogs::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

QMessageBox::StandardButton boxButton(Dialogs::Answer answer)
{
    switch (answer) {
    case Dialogs::Answer::Yes: return QMessageBox::Yes;
    case Dialogs::Answer::No: return QMessageBox::No;
    case Dialogs::Answer::Retry: return QMessageBox::Retry;
    case Dialogs::Answer::Cancel: return QMessageBox::Cancel;
    case Dialogs::Answer::Ok: break;
    }
    return QMessageBox::Ok;
}

Dialogs::Answer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return Dialogs::Answer::Yes;
    case QMessageBox::No: return Dialogs::Answer::No;
    case QMessageBox::Retry: return Dialogs::Answer::Retry;
    case QMessageBox::Cancel: return Dialogs::Answer::Cancel;
    default: return Dialogs::Answer::Ok;
    }
}

// Closing the box with its title-bar button or Escape counts as the negative answer.
QMessageBox::StandardButton negativeButton(Dialogs::Buttons buttons)
{
    switch (buttons) {
    case Dialogs::Buttons::YesNo: return QMessageBox::No;
    case Dialogs::Buttons::RetryCancel:
    case Dialogs::Buttons::OkCancel: return QMessageBox::Cancel;
    case Dialogs::Buttons::Ok: break;
    }
    return QMessageBox::Ok;
}

QWidget* ownerWindow() { return QApplication::activeWindow(); }

} // namespace

Dialogs::Answer WidgetDialogs::message(const QString& text, const QString& title,
                                       Buttons buttons, Icon icon, Answer defaultAnswer)
{
    QMessageBox box(boxIcon(icon), title.isEmpty() ? QApplication::applicationDisplayName() : title,
                    text, boxButtons(buttons), ownerWindow());
    box.setDefaultButton(boxButton(defaultAnswer));
    box.setEscapeButton(negativeButton(buttons));
    return answerOf(box.exec());
}

QString WidgetDialogs::openFileName(const QString& title, const QString& folder,
                                    const QString& filter)
{
    return QFileDialog::getOpenFileName(ownerWindow(), title, folder, filter);
}

QString WidgetDialogs::saveFileName(const QString& title, const QString& folder,
                                    const QString& filter)
{
    return QFileDialog::getSaveFileName(ownerWindow(), title, folder, filter);
}

QString WidgetDialogs::folderName(const QString& title, const QString& folder)
{
    return QFileDialog::getExistingDirectory(ownerWindow(), title, folder);
}

void WidgetDialogs::beep() { QApplication::beep(); }
