// The Dialogs the program shows the operator: message boxes, file and folder choosers, beeps.
#pragma once

#include "data/dialogs.h"

class WidgetDialogs final : public Dialogs {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon,
                   Answer defaultAnswer) override;
    QString openFileName(const QString& title, const QString& folder,
                         const QString& filter) override;
    QString saveFileName(const QString& title, const QString& folder,
                         const QString& filter) override;
    QString folderName(const QString& title, const QString& folder) override;
    void beep() override;
};
