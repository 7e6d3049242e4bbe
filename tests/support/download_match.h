// A memory download over a remote link (modem, internet) compared with the same download
// over the cable: the simulator holds three known records, the console downloads them as
// frequencies, and the two files must match byte for byte but for the download time in
// their header.
#pragma once

#include "console/data_acquisition_page.h"
#include "console/channels_page.h"
#include "console/general_page.h"
#include "console/console_clicks.h"
#include "console/console_rig.h"
#include "support/file_bytes.h"

#include <QDate>
#include <QFile>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace DownloadMatch {

// The simulator's options for the known records (the folder must outlive the simulator).
inline QStringList knownRecords(const QTemporaryDir& folder)
{
    const QString path = folder.filePath(QStringLiteral("records.txt"));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("2026-12-07T10:15:30;1234.5 987 2500.25;20 21 22;0\n"
                "2026-12-07T10:25:30;1234.6 988.5 400;20 21 22;0\n"
                "2026-01-02T03:04:05;4000 0.5 1000;20 21 22;0\n");
    return {"--records", path, "--channels", "3,0,0,0"};
}

// The download's file name for the simulator's datalogger today.
inline QString fileName()
{
    return QStringLiteral("SIM01_") + QDate::currentDate().toString(QStringLiteral("dd_MM_yy"))
           + QStringLiteral("_SENS.txt");
}

// Downloads the memory as frequencies into the console's data folder.
inline void download(ConsoleWindow* console)
{
    console->dataAcquisition->downloadKindOptions[0]->setChecked(true);
    click(console, console->dataAcquisition->acquireButton);
}

// The file the same download writes over the cable, from a simulator of its own.
inline QByteArray overTheCable(const QStringList& simArgs)
{
    ConsoleRig rig(simArgs);
    if (!rig.connect())
        return QByteArray("<no cable connection>");
    setPausePercent(rig.link, 10);
    rig.datalogger.setModelCode(1);
    ConsoleWindow* f = rig.console.get();
    f->show();
    f->general->nameBox->setText(QStringLiteral("SIM01"));
    click(f, f->channels->readChannelsButton);
    download(f);
    return fileBytes(rig.folder.filePath(fileName()));
}

// The file with the time of the download in its header replaced by a mark.
inline QString withoutDownloadTime(const QByteArray& file)
{
    static const QRegularExpression time(QStringLiteral("\\d\\d/\\d\\d/\\d{4}  \\d\\d:\\d\\d:\\d\\d"));
    return QString::fromLatin1(file).replace(time, QStringLiteral("<download time>"));
}

} // namespace DownloadMatch
