// One download of new data, step by step, over the one exchange path.
#include "data/remaining_download.h"

#include "data/continuous_file.h"
#include "data/yearly_file.h"
#include "link/conversions.h"
#include "link/link_transport.h"
#include "link/mfile.h"
#include "link/modulo1.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QLockFile>

#include <optional>
#include <variant>

namespace RemainingDownload {

namespace {

const QString timeoutMark = QStringLiteral("%%");
// Four multiplexers of sixteen: a larger count is not a channel count.
constexpr int maxChannels = 64;

void setDtr(bool on)
{
    if (LinkTransport* t = Modulo1::transport())
        t->setDtr(on);
}

// The datalogger answers DTR with some text and "S2". An "S2" with nothing before it is
// waited past; the whole wait is bounded by the field time-out, after which the
// download goes on as after any time-out of this wait.
void waitForWakeUp()
{
    QElapsedTimer waited;
    waited.start();
    while (Modulo1::Leggi_Fino_A(QStringLiteral("S2")).isEmpty()) {
        if (waited.elapsed() >= Modulo1::link().fieldTimeoutMs)
            return;
        Modulo1::serviceUi();
    }
}

// The channel count the datalogger gave (0 when it is not a count), or how asking ended.
std::variant<int, Outcome> channelCount()
{
    if (!Modulo1::Invia_Comando(QStringLiteral("H"), QStringLiteral(" 0,")))
        return Outcome::SendFailed;
    const QString field = Modulo1::Leggi_Campo();
    if (field == timeoutMark || field.trimmed().isEmpty())
        return Outcome::NoAnswer;
    const std::optional<qint16> n = Conversioni::toInt16(Conversioni::Val(field));
    return n && *n > 0 && *n <= maxChannels ? *n : 0;
}

class Run {
public:
    Run(View& view, int lockWaitMs) : view_(view), lockWaitMs_(lockWaitMs) {}
    Result go();

private:
    Result end(Outcome outcome);
    bool fileReady();
    std::optional<Outcome> receiveAndAppend();
    void countRecords(const QByteArray& block);

    View& view_;
    int lockWaitMs_;
    std::optional<QLockFile> fileLock_;
    Result r_;
};

Result Run::end(Outcome outcome)
{
    r_.outcome = outcome;
    const QString text = noticeFor(r_);
    if (!text.isEmpty())
        view_.notice(text);
    setDtr(false);
    view_.finish();
    return r_;
}

// The yearly file exists, free, or has just been created with its title line.
bool Run::fileReady()
{
    if (mFile::File_Esiste(r_.path))
        return !mFile::File_Occupato(r_.path);
    view_.graphAvailable(false);
    const bool created = YearlyFile::create(r_.path, r_.channels, &r_.error);
    view_.graphAvailable(true);
    return created;
}

void Run::countRecords(const QByteArray& block)
{
    for (const QByteArray& line : block.split('\n')) {
        const QByteArray record = line.trimmed();
        if (record.isEmpty())
            continue;
        ++r_.records;
        r_.lastStamp = QString::fromLatin1(record.left(record.indexOf(',')));
    }
}

// The block between the markers, appended when it holds anything; nullopt when all went
// well, else how the download ends.
std::optional<Outcome> Run::receiveAndAppend()
{
    if (!Modulo1::Invia_Comando(QStringLiteral("["), QString()))
        return Outcome::SendFailed;
    const QString start = Modulo1::Leggi_Campo();
    if (start == timeoutMark)
        return Outcome::Timeout;
    if (start != QLatin1String("***inizio***"))
        return Outcome::BadStart;
    const QString text = Modulo1::Leggi_Fino_A(QStringLiteral("***fine***,"));
    if (text == timeoutMark)
        return Outcome::Timeout;
    view_.graphAvailable(false);
    if (!text.trimmed().isEmpty()) {
        const QByteArray block = YearlyFile::blockText(text.toLatin1());
        // Confirmed, a block is gone from the datalogger: a garbled one is left there, to
        // come again whole at the next download.
        r_.garbled = YearlyFile::garbledLine(block);
        if (!r_.garbled.isEmpty()) {
            view_.graphAvailable(true);
            return Outcome::Garbled;
        }
        if (!block.isEmpty()) {
            if (!YearlyFile::appendBlock(r_.path, block, &r_.error)) {
                view_.graphAvailable(true);
                return Outcome::WriteFailed;
            }
            r_.appended = block.size() + 2;
            countRecords(block);
        }
        if (!block.isEmpty())
            r_.error = view_.keep(block);
    }
    view_.graphAvailable(true);
    if (!r_.error.isEmpty())
        return Outcome::KeepFailed;
    return std::nullopt;
}

Result Run::go()
{
    Modulo1::CommandLock lock;
    Modulo1::Svuota_Ricezione();
    setDtr(true);
    view_.notice(QStringLiteral("Connecting to Datalogger..."));
    waitForWakeUp();
    r_.path = view_.yearlyFile();
    if (r_.path.isEmpty())
        return end(Outcome::YearRefused);

    view_.notice(QStringLiteral("Connecting to datalogger..."));
    const std::variant<int, Outcome> count = channelCount();
    if (const Outcome* failed = std::get_if<Outcome>(&count))
        return end(*failed);
    r_.channels = std::get<int>(count);
    if (r_.channels == 0)
        return end(Outcome::NoChannels);
    view_.graphAvailable(true);
    fileLock_.emplace(r_.path + QStringLiteral(".lock"));
    fileLock_->setStaleLockTime(0);  // held as long as the download lasts; a dead holder frees it
    if (!fileLock_->tryLock(lockWaitMs_)) {
        if (fileLock_->error() != QLockFile::LockFailedError) {
            r_.error = QStringLiteral("its lock file could not be created");
            return end(Outcome::WriteFailed);
        }
        r_.error = QStringLiteral("%1 is being written by another download.").arg(r_.path);
        return end(Outcome::FileBusy);
    }
    if (!fileReady())
        return end(r_.error.isEmpty() ? Outcome::FileBusy : Outcome::WriteFailed);  // busy: already asked

    view_.receiving();
    view_.notice(QStringLiteral("Receiving data from datalogger..."));
    if (const std::optional<Outcome> failed = receiveAndAppend())
        return end(*failed);
    view_.notice(QString());

    if (!Modulo1::Invia_Comando(QStringLiteral("]"), QString()))
        return end(Outcome::SendFailed);
    Modulo1::Leggi_Campo();
    view_.notice(QStringLiteral("Last acquired: ")
                 + ContinuousFile::readingTime(QDateTime::currentDateTime()));
    return end(r_.appended > 0 ? Outcome::Appended : Outcome::NothingNew);
}

} // namespace

Result run(View& view, int lockWaitMs) { return Run(view, lockWaitMs).go(); }

QString noticeFor(const Result& result)
{
    switch (result.outcome) {
    case Outcome::Timeout:
        return QStringLiteral("Timeout.");
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
    case Outcome::WriteFailed:
        return QStringLiteral("%1 could not be written (%2): the datalogger keeps the data.")
            .arg(result.path, result.error);
    case Outcome::KeepFailed:
        return QStringLiteral("%1: the datalogger keeps the data.").arg(result.error);
    default:
        return QString();
    }
}

} // namespace RemainingDownload
