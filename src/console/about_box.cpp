// The about window: title, version, the program's folder and the system information program.
#include "console/about_box.h"

#include "data/conversions.h"
#include "data/dialogs.h"
#include "data/program_folder.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

AboutBox::AboutBox(Dialogs& dialogs, const QString& programFolder, QWidget* parent) : QDialog(parent), dialogs_(dialogs)
{
    setObjectName(QStringLiteral("Info"));
    const QString title = QGuiApplication::applicationDisplayName();
    setWindowTitle(QStringLiteral("Informazioni su ") + title);
    systemInfoPrograms = {QStringLiteral("hardinfo"), QStringLiteral("gnome-system-monitor"),
                          QStringLiteral("plasma-systemmonitor"), QStringLiteral("ksysguard"),
                          QStringLiteral("mate-system-monitor"), QStringLiteral("xfce4-taskmanager"),
                          QStringLiteral("lxtask")};

    titleLabel = new QLabel(title, this);
    titleLabel->setObjectName(QStringLiteral("lblTitle"));
    QFont big = titleLabel->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    titleLabel->setFont(big);
    versionLabel = new QLabel(versionText(QUORVEL_VERSION_MAJOR, QUORVEL_VERSION_MINOR,
                                        QUORVEL_VERSION_PATCH), this);
    versionLabel->setObjectName(QStringLiteral("lblVersion"));
    // Where the settings and data files are: beside the executable of a build, in the
    // user's data folder once installed. Selectable with the mouse or the keyboard, so
    // that it can be copied.
    folderLabel = new QLabel(QStringLiteral("Program folder: ") + programFolder, this);
    folderLabel->setObjectName(QStringLiteral("lblFolder"));
    folderLabel->setAccessibleName(QStringLiteral("Program folder"));
    folderLabel->setWordWrap(true);
    folderLabel->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    folderLabel->setFocusPolicy(Qt::StrongFocus);  // a Tab stop, after the buttons

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("cmdOK"));
    okButton->setAccessibleName(QStringLiteral("OK"));
    okButton->setDefault(true);
    systemInfoButton = new QPushButton(QStringLiteral("&System Info..."), this);
    systemInfoButton->setObjectName(QStringLiteral("cmdSysInfo"));
    systemInfoButton->setAccessibleName(QStringLiteral("System Info..."));
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(systemInfoButton, &QPushButton::clicked, this, &AboutBox::showSystemInfo);

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(okButton);
    buttons->addWidget(systemInfoButton);
    buttons->addStretch();
    auto* texts = new QVBoxLayout;
    texts->addWidget(titleLabel);
    texts->addWidget(versionLabel);
    texts->addWidget(folderLabel);
    texts->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(texts, 1);
    layout->addLayout(buttons);
    setTabOrder(okButton, systemInfoButton);
    setTabOrder(systemInfoButton, folderLabel);
    okButton->setFocus();
    setMinimumWidth(380);
}

QString AboutBox::versionText(int major, int minor, int revision)
{
    return QStringLiteral("Versione ") + Numbers::signedText(major) + QLatin1Char('.')
        + Numbers::signedText(minor) + QLatin1Char('.') + Numbers::signedText(revision);
}

bool AboutBox::startSystemInfo() const
{
    for (const QString& name : systemInfoPrograms) {
        const QString program = QStandardPaths::findExecutable(name);
        if (!program.isEmpty() && QProcess::startDetached(program, {}))
            return true;
    }
    return false;
}

void AboutBox::showSystemInfo()
{
    if (!startSystemInfo())
        dialogs_.inform(QStringLiteral("Information not available at the moment."));
}
