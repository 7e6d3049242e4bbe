// The door that counts each box for the link's exchange guard.
#include "data/dialogs.h"

#include "link/link.h"

Dialogs::Answer GuardedDialogs::message(const QString& text, const QString& title, Buttons buttons,
                                        Icon icon, Answer defaultAnswer)
{
    const Link::NestedLoop inside(link_);
    return boxes_.message(text, title, buttons, icon, defaultAnswer);
}

QString GuardedDialogs::openFileName(const QString& title, const QString& folder, const QString& filter)
{
    const Link::NestedLoop inside(link_);
    return boxes_.openFileName(title, folder, filter);
}

QString GuardedDialogs::saveFileName(const QString& title, const QString& folder, const QString& filter)
{
    const Link::NestedLoop inside(link_);
    return boxes_.saveFileName(title, folder, filter);
}

QString GuardedDialogs::folderName(const QString& title, const QString& folder)
{
    const Link::NestedLoop inside(link_);
    return boxes_.folderName(title, folder);
}

void GuardedDialogs::beep() { boxes_.beep(); }
