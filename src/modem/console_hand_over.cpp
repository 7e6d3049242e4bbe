// The console after a remote connection: the analog presentation and the hand-over.
#include "modem/console_hand_over.h"

#include "console/console_window.h"
#include "data/data_file_name.h"
#include "modem/phone_book_window.h"
#include "widgets/box_colours.h"

#include <QDate>
#include <QLineEdit>
#include <QPushButton>

void presentAnalogModel(ConsoleWindow* console, const QString& caption, const QString& acquireCaption)
{
    console->adaptForAnalogModel();
    console->setWindowTitle(caption);
    console->acquireButton->setText(acquireCaption);
    console->acquireButton->setAccessibleName(acquireCaption);
}

void handOverToConsole(QWidget* from, ConsoleWindow* console)
{
    console->showAfterConnection(from);
    setBoxColour(console->dataFileNameBox, PhoneBookWindow::RowColour);
    console->dataFileNameBox->setText(suggestedDataFileName(console->nameBox->text(), QDate::currentDate()));
}
