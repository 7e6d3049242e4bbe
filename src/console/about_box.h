// Info: the about window with the program's title, version, folder and a system information button.
#pragma once

#include <QDialog>
#include <QStringList>

class Dialogs;
class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
public:
    AboutBox(Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);

    QLabel* titleLabel = nullptr;
    QLabel* versionLabel = nullptr;
    QLabel* folderLabel = nullptr;  // "Program folder: " and where the files are
    QPushButton* okButton = nullptr;
    QPushButton* systemInfoButton = nullptr;

    // System information programs looked for on the PATH, first found first tried.
    QStringList systemInfoPrograms;

    // "Versione " and the three version numbers, each with its sign position.
    static QString versionText(int major, int minor, int revision);

public slots:
    void showSystemInfo();

private:
    Dialogs& dialogs_;
    // Starts the first program of the list found on the PATH; false when none started.
    bool startSystemInfo() const;
};
