// The " DATA ACQUISITION" page: downloads, the data folder and file name, the events
// counter value, charts and backup.
#include "console/form1.h"

#include "widgets/controls.h"
#include "link/dialogs.h"
#include "link/program_folder.h"

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

QWidget* Form1::buildDataAcquisitionPage()
{
    auto* page = new QWidget;
    auto* layout = new QGridLayout(page);

    auto* download = new QVBoxLayout;
    Acquisisci = button(page, QStringLiteral("Acquisisci"), QStringLiteral("Acquire"));
    Acquisisci_Temp =
        button(page, QStringLiteral("Acquisisci_Temp"), QStringLiteral("Acquire Temperatures"));
    TipoF[0] = option(page, arrayName(QStringLiteral("TipoF"), 0), QStringLiteral("Frequency Download"));
    TipoF[1] = option(page, arrayName(QStringLiteral("TipoF"), 1), QStringLiteral("Digits Download"));
    TipoF[0]->setChecked(true);
    download->addWidget(Acquisisci);
    download->addWidget(Acquisisci_Temp);
    download->addWidget(TipoF[0]);
    download->addWidget(TipoF[1]);
    Text1 = box(page, QStringLiteral("Text1"), QStringLiteral("Download progress"), 80);
    Text1->setReadOnly(true);
    QLabel* progress = label(page, QStringLiteral("Progress"));
    progress->setBuddy(Text1);
    download->addWidget(progress);
    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(Text1);
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
    Drive1 = new QComboBox(file);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setAccessibleName(QStringLiteral("Drive"));
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes())
        if (volume.isValid() && volume.isReady())
            Drive1->addItem(volume.rootPath());
    Dir1 = box(file, QStringLiteral("Dir1"), QStringLiteral("Folder"), 240);
    Dir1Browse = new QToolButton(file);
    Dir1Browse->setObjectName(QStringLiteral("Dir1Browse"));
    Dir1Browse->setText(QStringLiteral("..."));
    Dir1Browse->setAccessibleName(QStringLiteral("Choose folder"));
    Dir1Browse->setFocusPolicy(Qt::StrongFocus);
    File1 = new QListWidget(file);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setAccessibleName(QStringLiteral("Files"));
    Nome_File_Dati = box(file, QStringLiteral("Nome_File_Dati"), QStringLiteral("Data file name"), 240);
    cmdScaricaRimanenti =
        button(file, QStringLiteral("cmdScaricaRimanenti"), QStringLiteral("Scarica nuovi dati"));
    Crea_Tabella = check(file, QStringLiteral("Crea_Tabella"), QStringLiteral("Create table"));
    fileGrid->addWidget(Drive1, 0, 0, 1, 2);
    fileGrid->addWidget(Dir1, 1, 0);
    fileGrid->addWidget(Dir1Browse, 1, 1);
    fileGrid->addWidget(File1, 2, 0, 1, 2);
    QLabel* fileName = label(file, QStringLiteral("Data file name"));
    fileName->setBuddy(Nome_File_Dati);
    fileGrid->addWidget(fileName, 3, 0, 1, 2);
    fileGrid->addWidget(Nome_File_Dati, 4, 0, 1, 2);
    fileGrid->addWidget(cmdScaricaRimanenti, 5, 0);
    fileGrid->addWidget(Crea_Tabella, 5, 1);
    layout->addWidget(file, 0, 1, 2, 1);

    auto* others = new QVBoxLayout;
    Grafico = button(page, QStringLiteral("Grafico"), QStringLiteral("Grafici"));
    Grafico->setEnabled(false);
    Grafico->setToolTip(QStringLiteral("Will open the chart of the downloaded data once charts are available"));
    back = button(page, QStringLiteral("back"), QStringLiteral("Backup"));
    CONTAIMP = button(page, QStringLiteral("CONTAIMP"), QStringLiteral("Command3"));
    Text2 = box(page, QStringLiteral("Text2"), QStringLiteral("Events counter value"), 80);
    Image1 = label(page, QString(), QStringLiteral("Image1"));
    Image1->setPixmap(tracePicture());
    others->addWidget(Grafico);
    others->addWidget(back);
    others->addWidget(CONTAIMP);
    QLabel* counter = label(page, QStringLiteral("Events counter"));
    counter->setBuddy(Text2);
    others->addWidget(counter);
    others->addWidget(Text2);
    others->addWidget(Image1);
    others->addStretch(1);
    layout->addLayout(others, 0, 2);
    layout->setColumnStretch(1, 1);

    connect(Drive1, &QComboBox::textActivated, this, &Form1::setDataFolder);
    connect(Dir1, &QLineEdit::editingFinished, this, [this] { setDataFolder(Dir1->text()); });
    connect(File1, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { File1_Click(item->text()); });
    connect(Dir1Browse, &QToolButton::clicked, this, [this] {
        const QString chosen =
            dialogs().folderName(QStringLiteral("Folder"), dataFolder());
        if (!chosen.isEmpty())
            setDataFolder(chosen);
    });
    setDataFolder(ProgramFolder::path());
    return page;
}

QString Form1::dataFolder() const { return Dir1->text(); }

void Form1::setDataFolder(const QString& folder)
{
    const QString clean = QDir::cleanPath(folder);
    if (Dir1->text() != clean)
        Dir1->setText(clean);
    File1->clear();
    const QStringList names = QDir(clean).entryList(QDir::Files, QDir::Name);
    File1->addItems(names);
}
