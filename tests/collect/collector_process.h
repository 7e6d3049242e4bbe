// Running quorvel-collect as the system's timers run it, for the collector's tests.
#pragma once

#include "support/sim_process.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <memory>

struct CollectorRun {
    int status = -1;
    QString out;
    QString err;
    QStringList lines() const { return out.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }
};

// The collector started with a short datalogger time-out and programFolder as its folder.
inline std::unique_ptr<QProcess> startCollector(const QString& programFolder, const QStringList& args,
                                                int timeoutSeconds = 3)
{
    auto p = std::make_unique<QProcess>();
    p->setProcessEnvironment(childEnvironment(QStringLiteral("quorvel-collect")));
    p->start(QStringLiteral(QUORVEL_COLLECT_PATH),
             QStringList{"--timeout", QString::number(timeoutSeconds), "--program-folder", programFolder} + args);
    return p;
}

inline CollectorRun finishCollector(QProcess& p)
{
    p.waitForFinished(90000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

inline CollectorRun runCollector(const QString& programFolder, const QStringList& args, int timeoutSeconds = 3)
{
    return finishCollector(*startCollector(programFolder, args, timeoutSeconds));
}

inline QString writeStationsFile(const QString& path, const QString& text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(text.toUtf8());
    return path;
}

inline QString serialStationText(const QString& name, const QString& port, const QString& folder)
{
    return QStringLiteral("[%1]\nlink = serial\nport = %2\nfolder = %3\n\n").arg(name, port, folder);
}

inline QString internetStationText(const QString& name, const QString& entry, quint16 tcpPort, const QString& folder)
{
    return QStringLiteral("[%1]\nlink = internet\nentry = %2\ntcp-port = %3\nfolder = %4\n\n")
        .arg(name, entry).arg(tcpPort).arg(folder);
}
