// A page of the console: it owns its controls and their handlers, and works with the
// link, the door to the operator and the datalogger model like every window.
#pragma once

#include <QWidget>

class DataloggerModel;
class Dialogs;
class Link;
class QLineEdit;
struct Services;

class ConsolePage : public QWidget {
    Q_OBJECT
public:
    explicit ConsolePage(Services& services, QWidget* parent = nullptr);

protected:
    // A key that edits the box paints it red, as no longer what the datalogger holds.
    static void markEditedOnKey(QLineEdit* box);
    // The box's text is kept trimmed as it changes.
    void trimOnChange(QLineEdit* box);

    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;
};
