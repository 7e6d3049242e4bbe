// The one door through which the program asks the operator something: message boxes,
// questions, file and folder choices, beeps. Tests install a scripted implementation.
#pragma once

#include <QString>
#include <QStringList>

class Dialogs {
public:
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Buttons { Ok, YesNo, RetryCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Retry, Cancel };

    virtual ~Dialogs() = default;

    // Shows a message box and returns the button chosen; closing the box counts as the
    // "negative" button (No, Cancel). defaultAnswer is the button Enter presses.
    virtual Answer message(const QString& text, const QString& title, Buttons buttons,
                           Icon icon, Answer defaultAnswer) = 0;
    // Empty result: the operator cancelled.
    virtual QString openFileName(const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString saveFileName(const QString& title, const QString& folder,
                                 const QString& filter) = 0;
    virtual QString folderName(const QString& title, const QString& folder) = 0;
    virtual void beep() = 0;

    // Convenience: a plain information box with an OK button.
    void inform(const QString& text, const QString& title = QString(),
                Icon icon = Icon::Information)
    {
        message(text, title, Buttons::Ok, icon, Answer::Ok);
    }
    // Convenience: a Yes/No question whose default is No (every destructive question).
    bool confirm(const QString& text, const QString& title, Icon icon = Icon::Critical)
    {
        return message(text, title, Buttons::YesNo, icon, Answer::No) == Answer::Yes;
    }
};

// The installed implementation. Until a window layer installs one, a silent fallback
// prints to stderr and answers with the default button.
Dialogs& dialogs();
// Installs d (not owned); nullptr restores the fallback.
void setDialogs(Dialogs* d);
class Link;
// The link whose exchange guard a box's own event loop counts for (nullptr: none).
void setDialogsGuard(Link* link);
