// Running one station: locks, the link of its kind, the download, and its report.
#include "collect/station_run.h"

#include "collect/station_links.h"
#include "data/new_data_download.h"
#include "data/yearly_file.h"
#include "data/file_checks.h"
#include "link/link.h"
#include "link/lock_files.h"
#include "store/reading_store.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QJsonArray>
#include <QRegularExpression>

namespace {

// The download's view when nobody watches: the year is this year's, the notices are
// kept for the report, the pause after a download is the hang-up that follows. With a
// store, each block goes into it before it is confirmed.
class UnattendedView final : public NewDataDownload::View {
public:
    UnattendedView(const Station& station, ReadingStore* store)
        : folder_(station.folder), station_(station.name), store_(store) {}
    void notice(const QString& text) override { lastNotice = text; }
    QString yearlyFile() override
    {
        if (!QDir().mkpath(folder_))
            return QString();
        return YearlyFile::path(folder_, QDate::currentDate().year());
    }
    QString keep(const QByteArray& block) override { return store_ ? store_->keep(station_, block) : QString(); }
    // Nobody can be asked to close another program: a yearly file held is given up.
    bool fileInUse(const QString& path) override { return !FileChecks::isFree(path); }
    void finish() override {}
    QString lastNotice;

private:
    QString folder_;
    QString station_;
    ReadingStore* store_;
};

QString lockPathForPort(const QString& port)
{
    QString name = port;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("quorvel-port-%1.lock").arg(name));
}

QString outcomeText(const NewDataDownload::Result& r, const UnattendedView& view, const QString& linkProblem)
{
    using NewDataDownload::Outcome;
    const QString notice = NewDataDownload::noticeFor(r);
    if (!notice.isEmpty())
        return notice;
    if (!linkProblem.isEmpty())
        return linkProblem;
    if (r.outcome == Outcome::YearRefused)
        return QStringLiteral("The data folder could not be created.");
    if (r.outcome == Outcome::SendFailed)
        return QStringLiteral("A command could not be sent.");
    return view.lastNotice;
}

// The download over the transport the link has taken over; linkProblem is what the link
// has reported so far (the first problem, the one that explains the rest).
StationReport download(Link& link, const Station& station, const CollectSettings& settings,
                       const QString& linkProblem)
{
    StationReport report;
    UnattendedView view(station, settings.store);
    const NewDataDownload::Result r = NewDataDownload::run(link, view, settings.lockWaitMs);
    using NewDataDownload::Outcome;
    report.ok = r.outcome == Outcome::Appended || r.outcome == Outcome::NothingNew;
    report.records = r.records;
    report.alreadyOnFile = r.alreadyOnFile;
    report.lastStamp = r.lastStamp;
    report.path = r.path;
    if (!report.ok)
        report.error = outcomeText(r, view, linkProblem);
    else if (settings.health.wanted)
        report.health = readStationHealth(link, settings.health);
    return report;
}

} // namespace

StationReport collectStation(const Station& station, const CollectSettings& settings)
{
    QElapsedTimer clock;
    clock.start();
    Link::Settings timeouts;
    timeouts.fieldTimeoutMs = settings.fieldTimeoutMs;
    timeouts.fixedWaitTimeoutMs = settings.fieldTimeoutMs;
    timeouts.dataloggerTcpPort = station.tcpPort;
    Link link(timeouts);
    QString linkProblem;
    link.setProblemHandler([&linkProblem](const LinkProblem& problem) {
        if (linkProblem.isEmpty())
            linkProblem = problem.text;
    });

    StationReport report;
    FileLock portLock;  // held as long as the run lasts
    if (station.link != Station::Link::Internet) {
        if (portLock.take(lockPathForPort(station.port), settings.lockWaitMs) != FileLock::Result::Taken) {
            report.error = QStringLiteral("%1 is in use by another collection; skipped.").arg(station.port);
            report.elapsedMs = clock.elapsed();
            return report;
        }
    }
    const LinkedDownload run = [&] { return download(link, station, settings, linkProblem); };
    switch (station.link) {
    case Station::Link::Serial:
        report = overSerial(link, station, settings, run);
        break;
    case Station::Link::Modem:
        report = overModem(link, station, settings, run);
        break;
    case Station::Link::Internet:
        report = overInternet(link, station, settings, run);
        break;
    }
    report.elapsedMs = clock.elapsed();
    return report;
}

QString reportLine(const Station& station, const StationReport& report)
{
    const QString where = station.link == Station::Link::Internet ? station.entry : station.port;
    const QString took = QString::number(report.elapsedMs / 1000.0, 'f', 1) + QStringLiteral(" s");
    if (!report.ok)
        return QStringLiteral("%1: %2 %3: FAILED: %4 (%5)")
            .arg(station.name, linkName(station.link), where, report.error, took);
    // Records an earlier run appended and could not confirm came again: said, not hidden.
    const QString again = report.alreadyOnFile == 0
                              ? QString()
                              : QStringLiteral(" (%1 already there)").arg(report.alreadyOnFile);
    const QString warning = report.warned()
                                ? QStringLiteral("WARNING: %1: ").arg(report.health->warnings.join(QStringLiteral("; ")))
                                : QString();
    const QString health = report.health ? QStringLiteral("; ") + healthText(*report.health) : QString();
    // The warnings and the health are put in whole: a "%" in them is no place holder.
    return QStringLiteral("%1: %2 %3: ").arg(station.name, linkName(station.link), where) + warning
           + QStringLiteral("%1 records appended to %2%3, last %4 (%5)")
                 .arg(report.records)
                 .arg(report.path, again, report.lastStamp.isEmpty() ? QStringLiteral("-") : report.lastStamp, took)
           + health;
}

QJsonObject reportJson(const Station& station, const StationReport& report)
{
    QJsonObject o{{"station", station.name},
                  {"link", linkName(station.link)},
                  {"where", station.link == Station::Link::Internet ? station.entry : station.port},
                  {"status", !report.ok ? "failed" : report.warned() ? "warning" : "collected"},
                  {"ok", report.ok},
                  {"records", report.records},
                  {"already_on_file", report.alreadyOnFile},
                  {"last", report.lastStamp},
                  {"path", report.path},
                  {"error", report.error},
                  {"seconds", report.elapsedMs / 1000.0}};
    QJsonArray warnings;
    if (report.health)
        for (const QString& w : report.health->warnings)
            warnings.append(w);
    o.insert(QStringLiteral("warnings"), warnings);
    o.insert(QStringLiteral("health"), report.health ? QJsonValue(healthJson(*report.health)) : QJsonValue());
    return o;
}
