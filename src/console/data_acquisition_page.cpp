// The " DATA ACQUISITION" page: its controls; the memory downloads into data files, the
// data folder and its files, and the events counted.
#include "console/data_acquisition_page.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "data/memory_download.h"
#include "data/program_folder.h"
#include "data/text_file.h"
#include "link/link.h"
#include "measure/data_table.h"
#include "protocol/datalogger_model.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/services.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Controls;
using namespace MemoryDownload;

namespace {
// The page's decoration: a vibrating-wire trace over a grid.
QPixmap tracePicture()
{
    QPixmap pixmap(220, 90);
    pixmap.fill(QColor(250, 250, 240));
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QColor(210, 210, 200));
    for (int x = 0; x < 220; x += 20)
        p.drawLine(x, 0, x, 90);
    for (int y = 0; y < 90; y += 15)
        p.drawLine(0, y, 220, y);
    QPainterPath trace;
    for (int x = 0; x <= 220; ++x) {
        const double y = 45 - 30 * std::exp(-x / 120.0) * std::sin(x / 6.0);
        x == 0 ? trace.moveTo(x, y) : trace.lineTo(x, y);
    }
    p.setPen(QPen(QColor(0, 90, 160), 2));
    p.drawPath(trace);
    return pixmap;
}

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

DataAcquisitionPage::DataAcquisitionPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QGridLayout(this);

    auto* download = new QVBoxLayout;
    acquireButton = button(this, QStringLiteral("Acquisisci"), QStringLiteral("Acquire"));
    acquireTemperaturesButton =
        button(this, QStringLiteral("Acquisisci_Temp"), QStringLiteral("Acquire Temperatures"));
    downloadKindOptions[0] = option(this, arrayName(QStringLiteral("TipoF"), 0), QStringLiteral("Frequency Download"));
    downloadKindOptions[1] = option(this, arrayName(QStringLiteral("TipoF"), 1), QStringLiteral("Digits Download"));
    downloadKindOptions[0]->setChecked(true);
    download->addWidget(acquireButton);
    download->addWidget(acquireTemperaturesButton);
    download->addWidget(downloadKindOptions[0]);
    download->addWidget(downloadKindOptions[1]);
    progressBox = box(this, QStringLiteral("Text1"), QStringLiteral("Download progress"), 80);
    progressBox->setReadOnly(true);
    QLabel* progress = label(this, QStringLiteral("Progress"));
    progress->setBuddy(progressBox);
    download->addWidget(progress);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressBox);
    downloadProgress = new QProgressBar(this);
    downloadProgress->setObjectName(QStringLiteral("downloadProgress"));
    downloadProgress->setAccessibleName(QStringLiteral("Download progress bar"));
    downloadProgress->setRange(0, 100);
    downloadProgress->setValue(0);
    progressRow->addWidget(downloadProgress, 1);
    download->addLayout(progressRow);
    // Not one of the locked controls: it must answer while the download runs.
    cancelDownload = button(this, QStringLiteral("cancelDownload"), QStringLiteral("Cancel"));
    cancelDownload->setEnabled(false);
    download->addWidget(cancelDownload);
    download->addStretch(1);
    layout->addLayout(download, 0, 0);

    QGroupBox* file = frame(this, QStringLiteral("FILE"));
    auto* fileGrid = new QGridLayout(file);
    driveBox = new QComboBox(file);
    driveBox->setObjectName(QStringLiteral("Drive1"));
    driveBox->setAccessibleName(QStringLiteral("Drive"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            driveBox->addItem(volume.rootPath());
    folderBox = box(file, QStringLiteral("Dir1"), QStringLiteral("Folder"), 240);
    folderBrowseButton = new QToolButton(file);
    folderBrowseButton->setObjectName(QStringLiteral("Dir1Browse"));
    folderBrowseButton->setText(QStringLiteral("..."));
    folderBrowseButton->setAccessibleName(QStringLiteral("Choose folder"));
    folderBrowseButton->setFocusPolicy(Qt::StrongFocus);
    fileList = new QListWidget(file);
    fileList->setObjectName(QStringLiteral("File1"));
    fileList->setAccessibleName(QStringLiteral("Files"));
    dataFileNameBox = box(file, QStringLiteral("Nome_File_Dati"), QStringLiteral("Data file name"), 240);
    newDataButton =
        button(file, QStringLiteral("cmdScaricaRimanenti"), QStringLiteral("Scarica nuovi dati"));
    createTableBox = check(file, QStringLiteral("Crea_Tabella"), QStringLiteral("Create table"));
    fileGrid->addWidget(driveBox, 0, 0, 1, 2);
    fileGrid->addWidget(folderBox, 1, 0);
    fileGrid->addWidget(folderBrowseButton, 1, 1);
    fileGrid->addWidget(fileList, 2, 0, 1, 2);
    QLabel* fileName = label(file, QStringLiteral("Data file name"));
    fileName->setBuddy(dataFileNameBox);
    fileGrid->addWidget(fileName, 3, 0, 1, 2);
    fileGrid->addWidget(dataFileNameBox, 4, 0, 1, 2);
    fileGrid->addWidget(newDataButton, 5, 0);
    fileGrid->addWidget(createTableBox, 5, 1);
    layout->addWidget(file, 0, 1, 2, 1);

    auto* others = new QVBoxLayout;
    chartsButton = button(this, QStringLiteral("Grafico"), QStringLiteral("Grafici"));
    chartsButton->setEnabled(false);
    backupButton = button(this, QStringLiteral("back"), QStringLiteral("Backup"));
    eventsCounterButton = button(this, QStringLiteral("CONTAIMP"), QStringLiteral("Command3"));
    eventsCounterBox = box(this, QStringLiteral("Text2"), QStringLiteral("Events counter value"), 80);
    traceImage = label(this, QString(), QStringLiteral("Image1"));
    traceImage->setPixmap(tracePicture());
    others->addWidget(chartsButton);
    others->addWidget(backupButton);
    others->addWidget(eventsCounterButton);
    QLabel* counter = label(this, QStringLiteral("Events counter"));
    counter->setBuddy(eventsCounterBox);
    others->addWidget(counter);
    others->addWidget(eventsCounterBox);
    others->addWidget(traceImage);
    others->addStretch(1);
    layout->addLayout(others, 0, 2);
    layout->setColumnStretch(1, 1);

    connect(driveBox, &QComboBox::textActivated, this, &DataAcquisitionPage::setDataFolder);
    connect(folderBox, &QLineEdit::editingFinished, this, [this] { setDataFolder(folderBox->text()); });
    connect(fileList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseDataFile(item->text()); });
    connect(folderBrowseButton, &QToolButton::clicked, this, [this] {
        const QString chosen =
            dialogs_.folderName(QStringLiteral("Folder"), dataFolder());
        if (!chosen.isEmpty())
            setDataFolder(chosen);
    });
    // The way out of a long download: it only raises the flag the download looks at, and
    // ends a wait for a field that may never come.
    connect(cancelDownload, &QPushButton::clicked, this, [this] {
        downloadCancelled_ = true;
        link_.abandonExchanges(true);
    });
    connect(eventsCounterButton, &QPushButton::clicked, this, &DataAcquisitionPage::readEventsCounter);
    setDataFolder(services.programFolder);
}

DataAcquisitionPage::~DataAcquisitionPage() = default;

QString DataAcquisitionPage::dataFolder() const { return folderBox->text(); }

void DataAcquisitionPage::setDataFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (folderBox->text() != clean)
        folderBox->setText(clean);
    fileList->clear();
    const QStringList names = QDir(clean).entryList(QDir::Files, QDir::Name);
    fileList->addItems(names);
}

// Everything the datalogger recorded, read into the store first and written in one pass
// once the last field has arrived. The file goes through a temporary file, so a lost
// link, a cancel or an error never cuts short a file that was there before.
void DataAcquisitionPage::download(bool temperatures, const QString& dataloggerName, bool rainGauge)
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    Options options;
    options.kind = temperatures ? Kind::Temperatures : Kind::Sensors;
    options.modelCode = datalogger_.modelCode();
    options.digits = downloadKindOptions[1]->isChecked();
    options.rainGauge = rainGauge;
    setBoxColour(dataFileNameBox, BoxColour::StatusBusy);

    const QDateTime now = QDateTime::currentDateTime();
    const QString name = fileName(dataloggerName, now.date(), options.kind);
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
void DataAcquisitionPage::endCancelledDownload()
{
    dataFileNameBox->setText(QStringLiteral("Download cancelled"));
    if (!link_.discardUntilQuiet(300, 3000))
        dialogs_.inform(QStringLiteral("The datalogger is still sending the rest of the cancelled "
                                        "download; a command given before it ends may need to be repeated."),
                         QStringLiteral("Warning"), Dialogs::Icon::Warning);
}

void DataAcquisitionPage::showDataTable(const Store& store)
{
    dataTable_.reset(newDataTableWindow(store));
    dataTable_->show();
}

void DataAcquisitionPage::chooseDataFile(const QString& name) { dataFileNameBox->setText(name); }

void DataAcquisitionPage::readEventsCounter()
{
    if (link_.busy())
        return;
    eventsCounterBox->setText(Settings::readEventsCount(link_).fields[0]);
}
