// The about window: title, version, the program's folder and the system information program.
#include "console/info.h"

#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/program_folder.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

Info::Info(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Info"));
    const QString title = QGuiApplication::applicationDisplayName();
    setWindowTitle(QStringLiteral("Informazioni su ") + title);
    systemInfoPrograms = {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
                          QStringLiteral("plasma-systemmonitor"), QStringLiteral("ksysguard"),
                          QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager"),
                          QStringLiteral("lxtask")};

    lblTitle = new QLabel(title, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont big = lblTitle->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    lblTitle->setFont(big);
    lblVersion = new QLabel(versionText(QUORVEL_VERSION_MAJOR, QUORVEL_VERSION_MINOR,
                                        QUORVEL_VERSION_PATCH), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    // Where the settings and data files are: beside the executable of a build, in the
    // user's data folder once installed. Selectable with the mouse or the keyboard, so
    // that it can be copied.
    lblFolder = new QLabel(QStringLiteral("Program folder: ") + ProgramFolder::path(), this);
    lblFolder->setObjectName(QStringLiteral("lblFolder"));
    lblFolder->setAccessibleName(QStringLiteral("Program folder"));
    lblFolder->setWordWrap(true);
    lblFolder->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    lblFolder->setFocusPolicy(Qt::StrongFocus);  // a Tab stop, after the buttons

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setAccessibleName(QStringLiteral("OK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));
    cmdSysInfo->setAccessibleName(QStringLiteral("System Info..."));
    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, &Info::cmdSysInfo_Click);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    buttons->addStretch();
    auto* texts = new QVBoxLayout;
    texts->addWidget(lblTitle);
    texts->addWidget(lblVersion);
    texts->addWidget(lblFolder);
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);
    setTabOrder(cmdOK, cmdSysInfo);
    setTabOrder(cmdSysInfo, lblFolder);
    cmdOK->setFocus();
    setMinimumWidth(380);
}

QString Info::versionText(int major, int minor, int revision)
{
    return QStringLiteral("Versione ") + Conversioni::Str(major) + QLatin1Char('.')
        + Conversioni::Str(minor) + QLatin1Char('.') + Conversioni::Str(revision);
}

bool Info::startSystemInfo() const
{
    for (const QString& name : systemInfoPrograms) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return true;
    }
    return false;
}

void Info::cmdSysInfo_Click()
{
    if (!startSystemInfo())
        dialogs().inform(QStringLiteral("Information not available at the moment."));
}
