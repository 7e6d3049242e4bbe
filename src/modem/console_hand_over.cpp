// The console after a remote connection: the analog presentation and the hand-over.
#include "modem/console_hand_over.h"

#include "console/form1.h"
#include "data/data_file_name.h"
#include "modem/phone_book_window.h"
#include "widgets/box_colours.h"

#include <QDate>
#include <QLineEdit>
#include <QPushButton>

void presentAnalogModel(Form1* console, const QString& caption, const QString& acquireCaption)
{
    console->adaptForAnalogModel();
    console->setWindowTitle(caption);
    console->Acquisisci->setText(acquireCaption);
    console->Acquisisci->setAccessibleName(acquireCaption);
}

void handOverToConsole(QWidget* from, Form1* console)
{
    console->showAfterConnection(from);
    setBoxColour(console->Nome_File_Dati, PhoneBookWindow::RowColour);
    console->Nome_File_Dati->setText(suggestedDataFileName(console->Nome_Centralina->text(), QDate::currentDate()));
}
