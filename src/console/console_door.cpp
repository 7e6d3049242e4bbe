// The console as the windows that connect see it: its reads by name, what else the
// connection's reads bring, and the hand-over.
#include "console/console_window.h"
#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/alerts_page.h"
#include "console/read_now_page.h"
#include "console/date_time_page.h"
#include "console/general_page.h"
#include "console/gprs_page.h"
#include "console/timers_page.h"

#include "data/data_file_name.h"
#include "protocol/fixed_replies.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QDate>
#include <QLineEdit>
#include <QPushButton>

void ConsoleWindow::read(Read what)
{
    switch (what) {
    case Read::Channels: channels->readChannels(); break;
    case Read::Clock: dateTime->readClock(); break;
    case Read::StartTime: dateTime->readStartTime(); break;
    case Read::Timer: timers->readTimer(); break;
    case Read::Preheating: timers->readPreheating(); break;
    case Read::InternalParameters: readNow->readInternalParameters(); break;
    case Read::Memory: general->readMemory(); break;
    case Read::Name: general->readName(); break;
    case Read::Gsm: alerts->readGsm(); break;
    case Read::Gprs: gprs->read(); break;
    case Read::InternetSwitch: general->readInternetSwitch(); break;
    }
}

void ConsoleWindow::showEventsCounterField(const QString& field) { channels->eventsCounterSwitch->showField(field); }

void ConsoleWindow::showAcquisitionField(const QString& field) { dateTime->acquisitionSwitch->showField(field); }

void ConsoleWindow::showFixedReplies(const FixedReplies& replies)
{
    const auto fill = [](const auto& boxes, const auto& texts) {
        for (size_t i = 0; i < boxes.size(); ++i)
            boxes[i]->setText(texts[i]);
    };
    if (replies.clock)
        fill(dateTime->clockBoxes, *replies.clock);
    if (replies.timer)
        fill(timers->timerBoxes, *replies.timer);
    if (replies.preheating)
        timers->preheatingBox->setText(*replies.preheating);
    if (replies.name)
        general->nameBox->setText(*replies.name);
    if (replies.nextAcquisition)
        fill(general->nextAcquisitionBoxes, *replies.nextAcquisition);
    if (replies.memory) {
        general->memoryFreeBox->setText(replies.memory->second);
        general->memoryTotalBox->setText(replies.memory->first);
    }
}

void ConsoleWindow::presentAnalogModel(const QString& caption, const QString& acquireCaption)
{
    adaptForAnalogModel();
    setWindowTitle(caption);
    dataAcquisition->acquireButton->setText(acquireCaption);
    dataAcquisition->acquireButton->setAccessibleName(acquireCaption);
}

void ConsoleWindow::suggestDataFileName(int colour)
{
    dataAcquisition->dataFileNameBox->setText(::suggestedDataFileName(general->nameBox->text(), QDate::currentDate()));
    setBoxColour(dataAcquisition->dataFileNameBox, colour);
}
