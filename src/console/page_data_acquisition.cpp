// The " DATA ACQUISITION" page: downloads, the data folder and file name, the events
// counter value, charts and backup.
#include "console/console_window.h"
#include "widgets/services.h"

#include "widgets/controls.h"
#include "data/dialogs.h"
#include "data/program_folder.h"

#include <QCheckBox>
#include <QComboBox>
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
#include <QStorageInfo>
#include <QToolButton>
#include <QVBoxLayout>

#include <cmath>

using namespace Controls;

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
} // namespace

QWidget* ConsoleWindow::buildDataAcquisitionPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    auto* download = new QVBoxLayout;
    acquireButton = button(page, QStringLiteral("Acquisisci"), QStringLiteral("Acquire"));
    acquireTemperaturesButton =
        button(page, QStringLiteral("Acquisisci_Temp"), QStringLiteral("Acquire Temperatures"));
    downloadKindOptions[0] = option(page, arrayName(QStringLiteral("TipoF"), 0), QStringLiteral("Frequency Download"));
    downloadKindOptions[1] = option(page, arrayName(QStringLiteral("TipoF"), 1), QStringLiteral("Digits Download"));
    downloadKindOptions[0]->setChecked(true);
    download->addWidget(acquireButton);
    download->addWidget(acquireTemperaturesButton);
    download->addWidget(downloadKindOptions[0]);
    download->addWidget(downloadKindOptions[1]);
    progressBox = box(page, QStringLiteral("Text1"), QStringLiteral("Download progress"), 80);
    progressBox->setReadOnly(true);
    QLabel* progress = label(page, QStringLiteral("Progress"));
    progress->setBuddy(progressBox);
    download->addWidget(progress);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressBox);
    downloadProgress = new QProgressBar(page);
    downloadProgress->setObjectName(QStringLiteral("downloadProgress"));
    downloadProgress->setAccessibleName(QStringLiteral("Download progress bar"));
    downloadProgress->setRange(0, 100);
    downloadProgress->setValue(0);
    progressRow->addWidget(downloadProgress, 1);
    download->addLayout(progressRow);
    // Not one of the locked controls: it must answer while the download runs.
    cancelDownload = button(page, QStringLiteral("cancelDownload"), QStringLiteral("Cancel"));
    cancelDownload->setEnabled(false);
    download->addWidget(cancelDownload);
    download->addStretch(1);
    layout->addLayout(download, 0, 0);

    QGroupBox* file = frame(page, QStringLiteral("FILE"));
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
    chartsButton = button(page, QStringLiteral("Grafico"), QStringLiteral("Grafici"));
    chartsButton->setEnabled(false);
    backupButton = button(page, QStringLiteral("back"), QStringLiteral("Backup"));
    eventsCounterButton = button(page, QStringLiteral("CONTAIMP"), QStringLiteral("Command3"));
    eventsCounterBox = box(page, QStringLiteral("Text2"), QStringLiteral("Events counter value"), 80);
    traceImage = label(page, QString(), QStringLiteral("Image1"));
    traceImage->setPixmap(tracePicture());
    others->addWidget(chartsButton);
    others->addWidget(backupButton);
    others->addWidget(eventsCounterButton);
    QLabel* counter = label(page, QStringLiteral("Events counter"));
    counter->setBuddy(eventsCounterBox);
    others->addWidget(counter);
    others->addWidget(eventsCounterBox);
    others->addWidget(traceImage);
    others->addStretch(1);
    layout->addLayout(others, 0, 2);
    layout->setColumnStretch(1, 1);

    connect(driveBox, &QComboBox::textActivated, this, &ConsoleWindow::setDataFolder);
    connect(folderBox, &QLineEdit::editingFinished, this, [this] { setDataFolder(folderBox->text()); });
    connect(fileList, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { chooseDataFile(item->text()); });
    connect(folderBrowseButton, &QToolButton::clicked, this, [this] {
        const QString chosen =
            dialogs_.folderName(QStringLiteral("Folder"), dataFolder());
        if (!chosen.isEmpty())
            setDataFolder(chosen);
    });
    setDataFolder(services_.programFolder);
    return page;
}

QString ConsoleWindow::dataFolder() const { return folderBox->text(); }

void ConsoleWindow::setDataFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (folderBox->text() != clean)
        folderBox->setText(clean);
    fileList->clear();
    const QStringList names = QDir(clean).entryList(QDir::Files, QDir::Name);
    fileList->addItems(names);
}
