// The console's memory downloads: "Acquire" (sensor values) and "Acquire Temperatures",
// the file list, and the data table.
#include "console/console_window.h"
#include "console/channels_page.h"
#include "console/general_page.h"

#include "data/coefficient_table.h"
#include "data/memory_download.h"
#include "data/text_file.h"
#include "data/conversions.h"
#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "data/program_folder.h"
#include "link/serial_port.h"
#include "measure/data_table.h"
#include "widgets/box_colours.h"
#include "widgets/switch_box.h"

#include <QDateTime>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>

using namespace MemoryDownload;

namespace {

// True when a file can be created under path; nothing is left behind.
bool creatable(const QString& path)
{
    QSaveFile probe(path);
    const bool ok = probe.open(QIODevice::WriteOnly);
    probe.cancelWriting();
    return ok;
}

QString failureText(const Result& result, const QString& path)
{
    const Outcome outcome = result.outcome;
    const QString kept = QStringLiteral(" Nothing was written; ") + path
                         + QStringLiteral(" was left as it was.");
    switch (outcome) {
    case Outcome::TooManyRecords:
        return QStringLiteral("The datalogger holds more records than can be downloaded (at most ")
               + Numbers::shownNumber(Store::MaxRecords) + QStringLiteral(").") + kept;
    case Outcome::TooManyColumns:
        return QStringLiteral("The datalogger sends more values per record than can be stored (at most ")
               + Numbers::shownNumber(Store::MaxColumns) + QStringLiteral(").") + kept;
    case Outcome::LinkLost:
        return QStringLiteral("The datalogger stopped sending during the download.") + kept;
    case Outcome::NoAnswer:
        return QStringLiteral("The datalogger did not answer.") + kept;
    case Outcome::Garbled:
        return QStringLiteral("The datalogger sent a garbled field (") + result.garbled
               + QStringLiteral("); the download was stopped and can be tried again.") + kept;
    default:
        return {};
    }
}

} // namespace

void ConsoleWindow::acquire() { download(false); }

void ConsoleWindow::acquireTemperatures() { download(true); }

// Everything the datalogger recorded, read into the store first and written in one pass
// once the last field has arrived. The file goes through a temporary file, so a lost
// link, a cancel or an error never cuts short a file that was there before.
void ConsoleWindow::download(bool temperatures)
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    Options options;
    options.kind = temperatures ? Kind::Temperatures : Kind::Sensors;
    options.modelCode = datalogger_.modelCode();
    options.digits = downloadKindOptions[1]->isChecked();
    options.rainGauge = channels->eventsCounterSwitch->isChecked();
    setBoxColour(dataFileNameBox, BoxColour::StatusBusy);

    const QDateTime now = QDateTime::currentDateTime();
    const QString name = fileName(general->nameBox->text(), now.date(), options.kind);
    const QString path = joinPath(dataFolder(), name);
    dataFileNameBox->setText(path);
    if (!creatable(path)) {
        dialogs_.inform(QStringLiteral("Name ") + name + QStringLiteral(" not valid"),
                         QStringLiteral("Warning"));
        dataFileNameBox->clear();
        return;
    }
    dataFileNameBox->setText(temperatures ? QStringLiteral("Wait Please") : QStringLiteral("Please wait.."));
    downloadProgress->setValue(0);
    downloadCancelled_ = false;
    cancelDownload->setEnabled(true);
    int shown = -1;
    const auto progress = [this, &shown](int percent) {
        if (percent == shown)
            return;
        shown = percent;
        progressBox->setText(Numbers::signedText(percent) + QStringLiteral(" %"));
        downloadProgress->setValue(percent);
        link_.serviceUi();  // a reply already buffered would otherwise freeze the window
    };
    const Result result = transfer(link_, options, progress, [this] { return downloadCancelled_; });
    cancelDownload->setEnabled(false);
    if (downloadCancelled_)
        link_.abandonExchanges(false);

    if (result.outcome != Outcome::Completed) {
        dataFileNameBox->setText(name);
        if (result.outcome == Outcome::NotSent)
            dialogs_.inform(QStringLiteral("Datalogger not found!"), QStringLiteral("Warning"));
        else if (result.outcome == Outcome::Cancelled)
            endCancelledDownload();
        else
            dialogs_.inform(failureText(result, path), QStringLiteral("Warning"),
                             Dialogs::Icon::Warning);
        return;
    }

    dialogs_.beep();
    dataFileNameBox->setText(QStringLiteral("Check Data: OK"));
    const FileContext context{now.date(), now.time(), datalogger_.channelCounts(), datalogger_.coefficients()};
    if (!TextFile::replace(path, fileText(result.store, options, context))) {
        dialogs_.inform(QStringLiteral("The file ") + path + QStringLiteral(" could not be written."),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
        dataFileNameBox->setText(name);
        return;
    }
    if (!temperatures && createTableBox->isChecked())
        showDataTable(result.store);
    dialogs_.beep();
    dataFileNameBox->setText(temperatures ? QStringLiteral("Check Dati 3: OK")
                                         : QStringLiteral("Check Data 3: OK"));
    setBoxColour(dataFileNameBox, BoxColour::StatusDone);
    dialogs_.inform(QStringLiteral("Operation completed"));
    dialogs_.beep();
    acquireButton->setEnabled(true);
    acquireTemperaturesButton->setEnabled(true);
    link_.pause(100);
    dataFileNameBox->setText(name);
    setDataFolder(dataFolder());  // the new file appears in the list
}

// The datalogger has no command that stops a reply: the rest of it is let go by before
// the console is handed back, as long as that takes a moment.
void ConsoleWindow::endCancelledDownload()
{
    dataFileNameBox->setText(QStringLiteral("Download cancelled"));
    if (!link_.discardUntilQuiet(300, 3000))
        dialogs_.inform(QStringLiteral("The datalogger is still sending the rest of the cancelled "
                                        "download; a command given before it ends may need to be repeated."),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}

void ConsoleWindow::showDataTable(const Store& store)
{
    dataTable_.reset(newDataTableWindow(store));
    dataTable_->show();
}

void ConsoleWindow::discardSerialInput()
{
    if (SerialPort* port = link_.serial())
        port->discardInput();
}

void ConsoleWindow::chooseDataFile(const QString& name) { dataFileNameBox->setText(name); }
