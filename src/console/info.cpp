// The about window: title, version and the system information program.
#include "console/info.h"

#include "link/conversions.h"
#include "link/dialogs.h"

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
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);
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
