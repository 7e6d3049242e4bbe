// The one door through which the program asks the operator something: message boxes,
// questions, file and folder choices, beeps. The program gives its windows one made of
// message boxes; tests give them a scripted one.
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

class Link;

// A door that puts another in front of the operator and counts each box for the link's
// exchange guard while it is up: a modal box runs an event loop of its own, and a timer
// or a click reached through it must find the link busy, as inside a wait for a reply.
class GuardedDialogs final : public Dialogs {
public:
    GuardedDialogs(Dialogs& boxes, Link& link) : boxes_(boxes), link_(link) {}
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultAnswer) override;
    QString openFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder, const QString& filter) override;
    QString folderName(const QString& title, const QString& folder) override;
    void beep() override;

private:
    Dialogs& boxes_;
    Link& link_;
};
