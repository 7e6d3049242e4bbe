// The menu's field test.
#include "console/console_window.h"

#include "link/link.h"
#include "protocol/readings.h"
#include "widgets/window_placement.h"

#include <QLabel>
#include <QVBoxLayout>

// The datalogger runs its field test on its own; the window only says that it started.
void ConsoleWindow::fieldTest()
{
    if (link_.busy())
        return;
    Readings::startFieldTest(link_);
    if (!fieldTestWindow_) {
        fieldTestWindow_ = std::make_unique<QWidget>(nullptr, Qt::Window);
        fieldTestWindow_->setObjectName(QStringLiteral("ProvaInSito"));
        fieldTestWindow_->setWindowTitle(QStringLiteral("PROVA IN SITO"));
        auto* text = new QLabel(QStringLiteral("The datalogger's field test has started."),
                                fieldTestWindow_.get());
        text->setObjectName(QStringLiteral("ProvaInSitoText"));
        text->setMargin(24);
        auto* layout = new QVBoxLayout(fieldTestWindow_.get());
        layout->addWidget(text);
    }
    fieldTestWindow_->setEnabled(false);
    fieldTestWindow_->show();
    centreOnScreen(fieldTestWindow_.get());
    link_.pause(20);
    fieldTestWindow_->setEnabled(true);
}
