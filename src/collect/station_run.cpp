// Running one station: locks, the link of its kind, the download, and its report.
#include "collect/station_run.h"

#include "collect/station_links.h"
#include "data/new_data_download.h"
#include "data/yearly_file.h"
#include "link/dialogs.h"
#include "link/exchange.h"
#include "store/reading_store.h"

#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QLockFile>
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
    void finish() override {}
    QString lastNotice;

private:
    QString folder_;
    QString station_;
    ReadingStore* store_;
};

// Boxes the link layer would show become the report's error; questions get the
// cautious answer (Cancel, No).
class ReportingDialogs final : public Dialogs {
public:
    ReportingDialogs() { setDialogs(this); }
    ~ReportingDialogs() override { setDialogs(nullptr); }
    Answer message(const QString& text, const QString&, Buttons buttons, Icon, Answer) override
    {
        if (said.isEmpty())
            said = text;
        switch (buttons) {
        case Buttons::Ok:
            return Answer::Ok;
        case Buttons::YesNo:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    QString openFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }
    QString folderName(const QString&, const QString&) override { return {}; }
    void beep() override {}
    QString said;
};

QString lockPathForPort(const QString& port)
{
    QString name = port;
    name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9_.-]")), QStringLiteral("_"));
    return QDir(QDir::tempPath()).filePath(QStringLiteral("quorvel-port-%1.lock").arg(name));
}

QString outcomeText(const NewDataDownload::Result& r, const UnattendedView& view,
                    const ReportingDialogs& dialogs)
{
    using NewDataDownload::Outcome;
    const QString notice = NewDataDownload::noticeFor(r);
    if (!notice.isEmpty())
        return notice;
    if (!dialogs.said.isEmpty())
        return dialogs.said;
    if (r.outcome == Outcome::YearRefused)
        return QStringLiteral("The data folder could not be created.");
    if (r.outcome == Outcome::SendFailed)
        return QStringLiteral("A command could not be sent.");
    return view.lastNotice;
}

// The download over the transport already taken over.
StationReport download(const Station& station, const CollectSettings& settings)
{
    StationReport report;
    ReportingDialogs dialogs;
    UnattendedView view(station, settings.store);
    const NewDataDownload::Result r = NewDataDownload::run(view, settings.lockWaitMs);
    using NewDataDownload::Outcome;
    report.ok = r.outcome == Outcome::Appended || r.outcome == Outcome::NothingNew;
    report.records = r.records;
    report.alreadyOnFile = r.alreadyOnFile;
    report.lastStamp = r.lastStamp;
    report.path = r.path;
    if (!report.ok)
        report.error = outcomeText(r, view, dialogs);
    return report;
}

} // namespace

StationReport collectStation(const Station& station, const CollectSettings& settings)
{
    QElapsedTimer clock;
    clock.start();
    Exchange::link().fieldTimeoutMs = settings.fieldTimeoutMs;
    Exchange::link().fixedWaitTimeoutMs = settings.fieldTimeoutMs;

    StationReport report;
    std::optional<QLockFile> portLock;
    if (station.link != Station::Link::Internet) {
        portLock.emplace(lockPathForPort(station.port));
        portLock->setStaleLockTime(0);  // held as long as the run lasts; a dead holder frees it
        if (!portLock->tryLock(settings.lockWaitMs)) {
            report.error = QStringLiteral("%1 is in use by another collection; skipped.").arg(station.port);
            report.elapsedMs = clock.elapsed();
            return report;
        }
    }
    const LinkedDownload run = [&] { return download(station, settings); };
    switch (station.link) {
    case Station::Link::Serial:
        report = overSerial(station, settings, run);
        break;
    case Station::Link::Modem:
        report = overModem(station, settings, run);
        break;
    case Station::Link::Internet:
        report = overInternet(station, settings, run);
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
    return QStringLiteral("%1: %2 %3: %4 records appended to %5%6, last %7 (%8)")
        .arg(station.name, linkName(station.link), where)
        .arg(report.records)
        .arg(report.path, again, report.lastStamp.isEmpty() ? QStringLiteral("-") : report.lastStamp, took);
}
