// One download of new data, step by step, over the one exchange path.
#include "data/new_data_download.h"

#include "data/continuous_file.h"
#include "data/yearly_file.h"
#include "data/conversions.h"
#include "link/link_transport.h"
#include "data/file_checks.h"
#include "link/link.h"
#include "link/lock_files.h"

#include <QDateTime>
#include <QElapsedTimer>

#include <optional>
#include <variant>

namespace NewDataDownload {

namespace {

const QString timeoutMark = QStringLiteral("%%");
// Four multiplexers of sixteen: a larger count is not a channel count.
constexpr int maxChannels = 64;
// The largest block a datalogger can hold is its whole memory: 5000 records of 64
// channels, each a time stamp and 64 values of at most a dozen characters, under 4 MB.
// Twice that is taken before a block is given up as no block.
constexpr qint64 largestBlock = qint64(8) << 20;
// A line that has been quiet this long carries no block: a datalogger streams its block
// without pauses.
constexpr int quietLineMs = 150;
// What a datalogger sends when it wakes up, the last bytes of its greeting.
const QByteArray wakeUpText = QByteArrayLiteral("S2");

void setDtr(Link& link, bool on)
{
    if (LinkTransport* t = link.transport())
        t->setDtr(on);
}

// A download that died in the middle of a block left the datalogger sending it: the
// rest is let run out before anything is asked, so that it is not read as an answer. A
// wake-up text shows the datalogger at rest too. Only a line that can be flushed keeps
// such a rest; a new call or connection does not.
bool lineQuiet(Link& link)
{
    LinkTransport* t = link.transport();
    if (!t || !t->rules().flushable)
        return true;
    return link.discardUntilQuiet(quietLineMs, link.settings().fieldTimeoutMs, wakeUpText);
}

// The datalogger answers DTR with some text and "S2". An "S2" with nothing before it is
// waited past; the whole wait is bounded by the field time-out, after which the
// download goes on as after any time-out of this wait.
void waitForWakeUp(Link& link)
{
    QElapsedTimer waited;
    waited.start();
    while (link.readUntil(QString::fromLatin1(wakeUpText)).isEmpty()) {
        if (waited.elapsed() >= link.settings().fieldTimeoutMs)
            return;
        link.serviceUi();
    }
}

// The channel count the datalogger gave (0 when it is not a count), or how asking ended.
std::variant<int, Outcome> channelCount(Link& link)
{
    if (!link.sendCommand(QStringLiteral("H"), QStringLiteral(" 0,")))
        return Outcome::SendFailed;
    const QString field = link.readField();
    if (field == timeoutMark || field.trimmed().isEmpty())
        return Outcome::NoAnswer;
    const std::optional<qint16> n = Numbers::toInt16(Numbers::leadingNumber(field));
    return n && *n > 0 && *n <= maxChannels ? *n : 0;
}

// The non-blank lines of text.
int recordsIn(QByteArrayView text)
{
    int n = 0;
    for (qsizetype from = 0; from < text.size();) {
        qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            end = text.size();
        if (!text.sliced(from, end - from).trimmed().isEmpty())
            ++n;
        from = end + 1;
    }
    return n;
}

// "212 kB": a size for a message.
QString sizeText(qint64 bytes)
{
    if (bytes < 10000)
        return QStringLiteral("%1 bytes").arg(bytes);
    if (bytes < 1000000)
        return QStringLiteral("%1 kB").arg(bytes / 1000);
    return QStringLiteral("%1 MB").arg(QString::number(bytes / 1e6, 'f', 1));
}

class Run {
public:
    Run(Link& link, View& view, int lockWaitMs) : link_(link), view_(view), lockWaitMs_(lockWaitMs) {}
    Result go();

private:
    Result end(Outcome outcome);
    std::optional<Outcome> lockFile();
    bool fileReady();
    std::optional<Outcome> receive(QByteArray& block);
    std::optional<Outcome> append(const QByteArray& block);

    Link& link_;
    View& view_;
    int lockWaitMs_;
    FileLock fileLock_;
    Result r_;
};

Result Run::end(Outcome outcome)
{
    r_.outcome = outcome;
    const QString text = noticeFor(r_);
    if (!text.isEmpty())
        view_.notice(text);
    setDtr(link_, false);
    view_.finish();
    return r_;
}

// The yearly file's lock ("path.lock"), so that two downloads never append to one file
// at once; nullopt once it is held.
std::optional<Outcome> Run::lockFile()
{
    const FileLock::Result taken = fileLock_.take(r_.path + QStringLiteral(".lock"), lockWaitMs_);
    if (taken == FileLock::Result::Taken)
        return std::nullopt;
    if (taken == FileLock::Result::Failed) {
        r_.error = QStringLiteral("its lock file could not be created");
        return Outcome::WriteFailed;
    }
    r_.error = QStringLiteral("%1 is being written by another download.").arg(r_.path);
    return Outcome::FileBusy;
}

// The yearly file exists, free, or has just been created with its title line.
bool Run::fileReady()
{
    if (FileChecks::fileExists(r_.path))
        return !view_.fileInUse(r_.path);
    view_.graphAvailable(false);
    const bool created = YearlyFile::create(r_.path, r_.channels, &r_.error);
    view_.graphAvailable(true);
    return created;
}

// The text between the markers, or how receiving it ended.
std::optional<Outcome> Run::receive(QByteArray& block)
{
    if (!link_.sendCommand(QStringLiteral("["), QString()))
        return Outcome::SendFailed;
    const QString start = link_.readField();
    if (start == timeoutMark)
        return Outcome::Timeout;
    if (start != QLatin1String("***inizio***"))
        return Outcome::BadStart;
    Link::BlockRead read = link_.readBlock(QByteArrayLiteral("***fine***,"), largestBlock);
    switch (read.end) {
    case Link::BlockRead::End::Complete:
        block = YearlyFile::blockText(std::move(read.text));
        if (QByteArrayView(block).trimmed().isEmpty())
            block.clear();  // line ends only: nothing to append
        return std::nullopt;
    case Link::BlockRead::End::Silent:
        r_.blockBytes = read.received;
        return Outcome::Timeout;
    case Link::BlockRead::End::TooLarge:
        r_.blockBytes = read.received;
        return Outcome::TooLarge;
    case Link::BlockRead::End::Lost:
        r_.blockBytes = read.received;
        return Outcome::LinkLost;
    }
    return Outcome::Timeout;
}

// The block into the yearly file, all of it that the file does not hold yet, then into
// whatever else the view keeps it in; nullopt when all went well.
std::optional<Outcome> Run::append(const QByteArray& block)
{
    // Confirmed, a block is gone from the datalogger: a garbled one is left there, to
    // come again whole at the next download.
    r_.garbled = YearlyFile::garbledLine(block);
    if (!r_.garbled.isEmpty())
        return Outcome::Garbled;
    const std::optional<YearlyFile::Appended> done = YearlyFile::appendBlock(r_.path, block, &r_.error);
    if (!done)
        return Outcome::WriteFailed;
    r_.appended = done->written;
    // A line the file held only the start of was completed: it counts as appended.
    qsizetype kept = done->alreadyThere;
    if (kept > 0 && kept < block.size())
        kept = block.lastIndexOf('\n', kept - 1) + 1;
    r_.alreadyOnFile = recordsIn(QByteArrayView(block).first(kept));
    r_.records = recordsIn(block) - r_.alreadyOnFile;
    const QByteArray last = block.mid(block.lastIndexOf('\n') + 1).trimmed();
    r_.lastStamp = QString::fromLatin1(last.left(last.indexOf(',')));
    r_.error = view_.keep(block);
    return r_.error.isEmpty() ? std::nullopt : std::optional(Outcome::KeepFailed);
}

Result Run::go()
{
    Link::CommandLock lock(link_);
    link_.flushInput();
    if (!lineQuiet(link_))
        return end(Outcome::LineBusy);
    setDtr(link_, true);
    view_.notice(QStringLiteral("Connecting to Datalogger..."));
    waitForWakeUp(link_);
    r_.path = view_.yearlyFile();
    if (r_.path.isEmpty())
        return end(Outcome::YearRefused);

    view_.notice(QStringLiteral("Connecting to datalogger..."));
    const std::variant<int, Outcome> count = channelCount(link_);
    if (const Outcome* failed = std::get_if<Outcome>(&count))
        return end(*failed);
    r_.channels = std::get<int>(count);
    if (r_.channels == 0)
        return end(Outcome::NoChannels);
    view_.graphAvailable(true);
    if (const std::optional<Outcome> failed = lockFile())
        return end(*failed);
    r_.error = YearlyFile::tidy(r_.path);
    if (!r_.error.isEmpty())
        return end(Outcome::FileAside);
    if (!fileReady())
        return end(r_.error.isEmpty() ? Outcome::FileBusy : Outcome::WriteFailed);  // busy: already asked

    view_.receiving();
    view_.notice(QStringLiteral("Receiving data from datalogger..."));
    QByteArray block;
    if (const std::optional<Outcome> failed = receive(block))
        return end(*failed);
    view_.graphAvailable(false);
    const std::optional<Outcome> failed = block.isEmpty() ? std::nullopt : append(block);
    view_.graphAvailable(true);
    if (failed)
        return end(*failed);
    view_.notice(QString());

    if (!link_.sendCommand(QStringLiteral("]"), QString()))
        return end(Outcome::SendFailed);
    link_.readField();
    view_.notice(QStringLiteral("Last acquired: ")
                 + ContinuousFile::readingTime(QDateTime::currentDateTime()));
    return end(r_.appended > 0 ? Outcome::Appended : Outcome::NothingNew);
}

} // namespace

Result run(Link& link, View& view, int lockWaitMs) { return Run(link, view, lockWaitMs).go(); }

QString noticeFor(const Result& result)
{
    const QString kept = QStringLiteral("; the data stays in the datalogger.");
    switch (result.outcome) {
    case Outcome::Timeout:
        if (result.blockBytes < 0)
            return QStringLiteral("Timeout.");
        return QStringLiteral("Timeout: the datalogger stopped sending after %1 of the block")
                   .arg(sizeText(result.blockBytes))
               + kept;
    case Outcome::TooLarge:
        return QStringLiteral("Error while receiving data: the block exceeds %1 without its end, more than "
                              "a datalogger can hold")
                   .arg(sizeText(largestBlock))
               + kept;
    case Outcome::LinkLost:
        return QStringLiteral("The link was lost after %1 of the block").arg(sizeText(result.blockBytes)) + kept;
    case Outcome::LineBusy:
        return QStringLiteral("The datalogger is still sending the block of an earlier download; try again "
                              "in a few minutes")
               + kept;
    case Outcome::BadStart:
        return QStringLiteral("Error while receiving data.");
    case Outcome::Garbled:
        return QStringLiteral("Error while receiving data: a garbled record; the datalogger keeps the block.");
    // The datalogger's silence is said, not left behind a "Connecting..." notice.
    case Outcome::NoAnswer:
        return QStringLiteral("The datalogger did not answer.");
    case Outcome::NoChannels:
        return QStringLiteral("The datalogger has no active channel.");
    case Outcome::FileBusy:
        return result.error.isEmpty() ? QStringLiteral("%1 is in use by another program.").arg(result.path)
                                      : result.error;
    case Outcome::FileAside:
        return result.error + kept;
    case Outcome::WriteFailed:
        return QStringLiteral("%1 could not be written (%2): the datalogger keeps the data.")
            .arg(result.path, result.error);
    case Outcome::KeepFailed:
        return QStringLiteral("%1: the datalogger keeps the data.").arg(result.error);
    default:
        return QString();
    }
}

} // namespace NewDataDownload
