// A Dialogs implementation for tests: records every message and answers from a script.
// The windows of a test are given a ToScriptedDialogs (test_link.h), which puts each box in
// front of the scripted door made last that still lives, so that a test can make one
// where it wants the boxes recorded.
#pragma once

#include "data/dialogs.h"

#include <QList>
#include <QQueue>

class ScriptedDialogs final : public Dialogs {
public:
    struct Shown {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
        Answer defaultAnswer;
    };

    ScriptedDialogs() { doors().append(this); }
    ~ScriptedDialogs() override { doors().removeOne(this); }

    // The scripted door made last that still lives, or nullptr.
    static ScriptedDialogs* current() { return doors().isEmpty() ? nullptr : doors().last(); }

    // Answers given to the next questions, in order; when empty the default is given.
    QQueue<Answer> answers;
    // Paths returned by the file and folder dialogs, in order; empty means cancelled.
    QQueue<QString> paths;
    QList<Shown> shown;
    int beeps = 0;

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultAnswer) override
    {
        shown.append({text, title, buttons, icon, defaultAnswer});
        return answers.isEmpty() ? defaultAnswer : answers.dequeue();
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return nextPath(); }
    QString saveFileName(const QString&, const QString&, const QString&) override { return nextPath(); }
    QString folderName(const QString&, const QString&) override { return nextPath(); }
    void beep() override { ++beeps; }

    QStringList texts() const
    {
        QStringList t;
        for (const auto& s : shown)
            t << s.text;
        return t;
    }

private:
    QString nextPath() { return paths.isEmpty() ? QString() : paths.dequeue(); }
    static QList<ScriptedDialogs*>& doors()
    {
        static QList<ScriptedDialogs*> list;
        return list;
    }
};
