// quorvel-collect killed with SIGKILL while it downloads, then run again: the stations
// (simulated dataloggers recording every second, over a cable or over the internet), the
// collector's runs, plain or under strace to die at a chosen system call, and the check
// after each kill: a clean run leaves every record the datalogger counts as confirmed in
// the yearly file exactly once, in order, under one title, and nothing of the program's
// beside it.
#pragma once

#include "data/phone_book.h"
#include "data/yearly_file.h"
#include "support/file_bytes.h"
#include "support/sim_process.h"

#include <QDate>
#include <QDir>
#include <QJsonArray>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace YearlyKills {

constexpr int channels = 3;

// A simulated station recording every second, and how the collector reaches it.
struct Station {
    QString name;
    std::unique_ptr<SimProcess> sim;
    QString folder;
    QString stationsFile;
};

// "dd,MM,yyyy,hh,mm,ss," as the state gives a record's time, as the block writes it.
inline QByteArray readingTime(const QString& stamp)
{
    const QStringList f = stamp.split(QLatin1Char(','));
    return QStringLiteral("%1/%2/%3 %4:%5:%6,").arg(f.value(0), f.value(1), f.value(2), f.value(3), f.value(4), f.value(5)).toLatin1();
}

// The yearly file that holds exactly the records the datalogger counts as confirmed.
inline QByteArray fileOfConfirmed(const QJsonObject& state)
{
    QByteArray file = YearlyFile::titleLine(channels) + "\r\n";
    const QJsonArray memory = state.value("memory").toArray();
    const int fetched = state.value("fetched").toInt();
    for (int i = 0; i < fetched && i < memory.size(); ++i) {
        const QJsonObject record = memory.at(i).toObject();
        file += readingTime(record.value("stamp").toString());
        for (const QJsonValue& v : record.value("values").toArray())
            file += v.toString().toLatin1() + ',';
        file += "\r\n";
    }
    return file;
}

} // namespace YearlyKills

class CollectKills : public QObject {
protected:
    QTemporaryDir dir;
    int kills = 0;
    int checks = 0;
    int recordsChecked = 0;  // by the last check of each station

    QHash<QString, int> lastChecked_;

    using Station = YearlyKills::Station;

    QString yearly(const Station& s) const { return YearlyFile::path(s.folder, QDate::currentDate().year()); }

    std::unique_ptr<Station> cable(const QString& name)
    {
        auto s = std::make_unique<Station>();
        s->name = name;
        s->sim = std::make_unique<SimProcess>(QStringList{"--wake-idle", "150", "--channels", "3,0,0,0",
                                                          "--preload", "4", "--timer", "1"});
        if (!s->sim->start())
            return nullptr;
        s->folder = dir.filePath(name);
        s->stationsFile = writeStations(name, QStringLiteral("[%1]\nlink = serial\nport = %2\nfolder = %3\n")
                                                  .arg(name, s->sim->ptyPath(), s->folder));
        return s;
    }

    std::unique_ptr<Station> internet(const QString& name)
    {
        auto s = std::make_unique<Station>();
        s->name = name;
        s->sim = std::make_unique<SimProcess>(QStringList{"--telnet", "--ftp", "127.0.0.1:0", "--ftp-dir", name,
                                                          "--wake-idle", "150", "--channels", "3,0,0,0",
                                                          "--preload", "4", "--timer", "1"});
        if (!s->sim->startTcp() || !QTest::qWaitFor([&] { return s->sim->ftpPort() != 0; }, 5000))
            return nullptr;
        if (!PhoneBook::writeBook(dir.filePath("ftp.ini"), {name, QStringLiteral("127.0.0.1:%1").arg(s->sim->ftpPort()),
                                                            "datalogger", "secret"}))
            return nullptr;
        s->folder = dir.filePath(name);
        s->stationsFile = writeStations(name, QStringLiteral("[%1]\nlink = internet\nentry = %1\ntcp-port = %2\nfolder = %3\n")
                                                  .arg(name).arg(s->sim->tcpPort()).arg(s->folder));
        return s;
    }

    QString writeStations(const QString& name, const QString& text)
    {
        const QString path = dir.filePath(name + ".ini");
        return writeFileBytes(path, text.toUtf8()) ? path : QString();
    }

    // The collector on the station, under strace when injection is given ("link:1": die
    // at the first link system call).
    std::unique_ptr<QProcess> collector(const Station& s, const QString& injection = {})
    {
        auto p = std::make_unique<QProcess>();
        p->setProcessEnvironment(childEnvironment(QStringLiteral("quorvel-collect")));
        const QStringList args{"--timeout", "3", "--lock-wait", "3", "--program-folder", dir.path(), s.stationsFile};
        if (injection.isEmpty()) {
            p->start(QStringLiteral(QUORVEL_COLLECT_PATH), args);
        } else {
            const QStringList call = injection.split(QLatin1Char(':'));
            p->start(QStringLiteral("strace"),
                     QStringList{"-f", "-qq", "-o", "/dev/null", "-e", "trace=" + call[0], "-e",
                                 QStringLiteral("inject=%1:signal=KILL:when=%2").arg(call[0], call[1]),
                                 QStringLiteral(QUORVEL_COLLECT_PATH)}
                         + args);
        }
        return p;
    }

    // A clean run, then the file checked against what the datalogger confirmed.
    void cleanRunLeavesEveryRecordOnce(Station& s) { cleanRunsLeaveEveryRecordOnce({&s}); }

    // Clean runs on the stations at once (each on its own line and folder), then each
    // file checked.
    void cleanRunsLeaveEveryRecordOnce(const QList<Station*>& stations)
    {
        std::vector<std::unique_ptr<QProcess>> runs;
        for (Station* s : stations)
            runs.push_back(collector(*s));
        for (qsizetype i = 0; i < stations.size(); ++i) {
            QProcess& p = *runs[size_t(i)];
            Station& s = *stations[i];
            QVERIFY(p.waitForFinished(30000));
            const QString out = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
            QVERIFY2(p.exitCode() == 0, qPrintable(out));
            const QJsonObject state = s.sim->state();
            QVERIFY(state.value("fetched").toInt() > 0);
            QCOMPARE(fileBytes(yearly(s)), YearlyKills::fileOfConfirmed(state));
            ++checks;
            recordsChecked += state.value("fetched").toInt() - lastChecked_.value(s.name);
            lastChecked_[s.name] = state.value("fetched").toInt();
            const QStringList beside = QDir(s.folder).entryList(QDir::Files | QDir::Hidden | QDir::System);
            QCOMPARE(beside, QStringList{QFileInfo(yearly(s)).fileName()});
        }
    }

    // Dies at the given system call; then a clean run.
    void dieAt(Station& s, const QString& injection)
    {
        std::unique_ptr<QProcess> p = collector(s, injection);
        QVERIFY(p->waitForFinished(30000));
        QVERIFY2(p->exitStatus() == QProcess::CrashExit || p->exitCode() != 0,
                 qPrintable(injection + ": the run was not killed"));
        ++kills;
        cleanRunLeavesEveryRecordOnce(s);
    }

    void report() const
    {
        qInfo("%d kills; %d clean runs checked, their files holding %d confirmed records in all", kills, checks,
              recordsChecked);
    }
};
