// What every page of the console shares.
#include "console/console_page.h"

#include "widgets/edit_marker.h"
#include "widgets/services.h"

#include <QLineEdit>

ConsolePage::ConsolePage(Services& services, QWidget* parent)
    : QWidget(parent), link_(services.link), dialogs_(services.dialogs), datalogger_(services.datalogger)
{
}

void ConsolePage::markEditedOnKey(QLineEdit* box) { markRedOnEdit(box); }

void ConsolePage::trimOnChange(QLineEdit* box)
{
    connect(box, &QLineEdit::textChanged, this, [box](const QString& text) {
        const QString trimmed = text.trimmed();
        if (trimmed != text)
            box->setText(trimmed);
    });
}
