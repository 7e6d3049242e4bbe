// The parent's side of a parallel run: the groups, their child processes, and the lines
// put back in order.
#include "collect/parallel_run.h"

#include "collect/station_run.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTextStream>

#include <csignal>
#include <memory>
#include <sys/prctl.h>
#include <unistd.h>
#include <vector>

namespace {

// The key under which stations must wait for each other: the port, as its lock names it
// ("com1" and "COM1" are one port), or the station itself for an internet one.
QString groupKey(const Station& station, int index)
{
    if (station.link == Station::Link::Internet)
        return QStringLiteral("internet %1").arg(index);
    static const QRegularExpression com(QStringLiteral("^COM\\s*([1-8])$"), QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = com.match(station.port); m.hasMatch())
        return QStringLiteral("COM") + m.captured(1);
    return QStringLiteral("port ") + station.port;
}

QString unescaped(const QString& text)
{
    QString plain;
    plain.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != QLatin1Char('\\') || i + 1 == text.size()) {
            plain += text[i];
            continue;
        }
        const QChar next = text[++i];
        plain += next == QLatin1Char('n') ? QChar(u'\n') : next == QLatin1Char('r') ? QChar(u'\r') : next;
    }
    return plain;
}

struct Child {
    QList<int> stations;
    std::unique_ptr<QProcess> process;
    QByteArray partial;  // a line not yet ended
    QElapsedTimer clock;
    bool done = false;
};

class Runner {
public:
    Runner(const QList<Station>& stations, const QList<QList<int>>& groups, int jobs, const QStringList& childArgs,
           const QString& childOption, const std::function<QString(const Station&, const StationReport&)>& lineFor,
           QTextStream& out)
        : stations_(stations), jobs_(jobs), childArgs_(childArgs), childOption_(childOption), lineFor_(lineFor), out_(out)
    {
        for (const QList<int>& group : groups) {
            children_.push_back(std::make_unique<Child>());
            children_.back()->stations = group;
            order_ += group;
        }
        std::sort(order_.begin(), order_.end());
    }

    ParallelOutcome run()
    {
        while (running_ < jobs_ && startNext()) {
        }
        if (running_ > 0)
            loop_.exec();
        return {!allOk_, anyWarned_};
    }

private:
    bool startNext()
    {
        if (next_ >= int(children_.size()))
            return false;
        Child& child = *children_[size_t(next_++)];
        ++running_;
        QStringList args = childArgs_;
        for (int index : child.stations)
            args << childOption_ << stations_[index].name;
        child.process = std::make_unique<QProcess>();
        QProcess& p = *child.process;
        p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        const pid_t parent = ::getpid();
        // A child outlives no parent: one killed mid-run (by a signal, or by systemd
        // stopping it) takes its children with it, as one process did before.
        p.setChildProcessModifier([parent] {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(1);
        });
        QObject::connect(&p, &QProcess::readyReadStandardOutput, [this, &child] { read(child); });
        QObject::connect(&p, &QProcess::finished, [this, &child](int code, QProcess::ExitStatus status) {
            // After a crash, the code is the signal that ended it. Warnings alone are no
            // failure of the child.
            if (status == QProcess::NormalExit && code == warningsOnlyStatus)
                anyWarned_ = true;
            ended(child, status == QProcess::NormalExit
                             ? (code == 0 || code == warningsOnlyStatus ? QString() : QStringLiteral("exit status %1").arg(code))
                             : QStringLiteral("signal %1").arg(code));
        });
        QObject::connect(&p, &QProcess::errorOccurred, [this, &child](QProcess::ProcessError error) {
            if (error == QProcess::FailedToStart)
                ended(child, QStringLiteral("not started: ") + child.process->errorString());
        });
        child.clock.start();
        p.start(QCoreApplication::applicationFilePath(), args);
        return true;
    }

    void read(Child& child)
    {
        child.partial += child.process->readAllStandardOutput();
        qsizetype end;
        while ((end = child.partial.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(child.partial.left(end));
            child.partial.remove(0, end + 1);
            const qsizetype tab = line.indexOf(QLatin1Char('\t'));
            bool ok = false;
            const int position = line.left(tab).toInt(&ok);
            if (tab > 0 && ok && position >= 0 && position < child.stations.size())
                report(child.stations[position], unescaped(line.mid(tab + 1)));
        }
        printReady();
    }

    void ended(Child& child, const QString& how)
    {
        if (child.done)
            return;
        child.done = true;
        read(child);
        if (!how.isEmpty())
            allOk_ = false;
        for (int index : child.stations) {
            if (reported_.contains(index))
                continue;
            allOk_ = false;
            StationReport report;
            report.error = QStringLiteral("The collector's process for its port ended (%1) before it reported this station.")
                               .arg(how.isEmpty() ? QStringLiteral("exit status 0") : how);
            report.elapsedMs = child.clock.elapsed();
            this->report(index, lineFor_(stations_[index], report));
        }
        printReady();
        --running_;
        startNext();
        if (running_ == 0)
            loop_.quit();
    }

    void report(int index, const QString& line)
    {
        if (reported_.contains(index))
            return;
        reported_.insert(index);
        lines_.insert(index, line);
    }

    void printReady()
    {
        while (printed_ < order_.size() && lines_.contains(order_[printed_]))
            out_ << lines_.take(order_[printed_++]) << "\n";
        out_.flush();
    }

    const QList<Station>& stations_;
    int jobs_;
    QStringList childArgs_;
    QString childOption_;
    std::function<QString(const Station&, const StationReport&)> lineFor_;
    QTextStream& out_;
    std::vector<std::unique_ptr<Child>> children_;
    QList<int> order_;
    QHash<int, QString> lines_;  // reported, not yet printed
    QSet<int> reported_;
    qsizetype printed_ = 0;
    int next_ = 0;
    int running_ = 0;
    bool allOk_ = true;
    bool anyWarned_ = false;
    QEventLoop loop_;
};

} // namespace

QList<QList<int>> portGroups(const QList<Station>& stations, const QList<int>& chosen)
{
    QList<QList<int>> groups;
    QHash<QString, qsizetype> byKey;
    for (int index : chosen) {
        const QString key = groupKey(stations[index], index);
        if (const auto found = byKey.constFind(key); found != byKey.cend()) {
            groups[*found] << index;
            continue;
        }
        byKey.insert(key, groups.size());
        groups.append(QList<int>{index});
    }
    return groups;
}

QString framedLine(int position, const QString& line)
{
    QString escaped = line;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
        .replace(QLatin1Char('\n'), QStringLiteral("\\n"))
        .replace(QLatin1Char('\r'), QStringLiteral("\\r"));
    return QString::number(position) + QLatin1Char('\t') + escaped;
}

ParallelOutcome runInParallel(const QList<Station>& stations, const QList<QList<int>>& groups, int jobs,
                              const QStringList& childArgs, const QString& childOption,
                              const std::function<QString(const Station&, const StationReport&)>& lineFor,
                              QTextStream& out)
{
    return Runner(stations, groups, jobs, childArgs, childOption, lineFor, out).run();
}
