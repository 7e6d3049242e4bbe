// The download of new data: wake the datalogger with DTR, ask for its channel count, take
// the block of records it has not yet handed over, append it to the yearly file and only
// then confirm it with "]", so the datalogger forgets nothing that is not on disk. The
// window that runs it (and anything else that collects data) supplies a View.
#pragma once

#include <QString>

class Link;

namespace NewDataDownload {

enum class Outcome {
    Appended,     // a block reached the file and was confirmed
    NothingNew,   // a blank block: nothing appended, still confirmed
    YearRefused,  // the view refused its year
    NoAnswer,     // no answer, or a blank one, to the channel count
    NoChannels,   // a channel count of 0 (or one that is not a count)
    FileBusy,     // the yearly file is held by another program or another download
    FileAside,    // an earlier check left the yearly file's data under another name
    LineBusy,     // the line did not fall quiet: a block of an earlier download still comes
    Timeout,      // no start marker in time, or the block stopped coming before its end
    BadStart,     // the reply did not begin with the start marker
    TooLarge,     // the block grew past anything a datalogger can hold
    LinkLost,     // the link went in the middle of the block
    Garbled,      // a line of the block is not a record: neither appended nor confirmed
    SendFailed,   // a command could not be sent
    WriteFailed,  // the yearly file could not be created or appended to
    KeepFailed,   // the view could not keep the block (its store refused it)
};

class View {
public:
    virtual ~View() = default;
    // Shows text as the download's notice; an empty text clears and hides it.
    virtual void notice(const QString& text) = 0;
    // The datalogger is awake: the view checks its year and returns the path of the
    // yearly file, or an empty path to end the download (it has told the operator why).
    virtual QString yearlyFile() = 0;
    // The yearly file exists: true when another program holds it and the download must
    // give up. The window asks the operator to close that program first.
    virtual bool fileInUse(const QString& path) = 0;
    // The yearly file can be charted (false while it is being created or written).
    virtual void graphAvailable(bool available) { (void)available; }
    // The block is about to be received: the view keeps the operator from starting
    // another download or closing.
    virtual void receiving() {}
    // The block is in the yearly file (or was found there already) and is about to be
    // confirmed: a view that keeps the records elsewhere too does it now, the whole block
    // as the datalogger offered it, and returns an empty text, or why it could not (the
    // download then ends without confirming, so the datalogger sends the block again).
    virtual QString keep(const QByteArray& block)
    {
        (void)block;
        return QString();
    }
    // Every download ends here, DTR already dropped: the view's pause and clean-up.
    virtual void finish() = 0;
};

struct Result {
    Outcome outcome = Outcome::NoChannels;
    int channels = 0;
    QString path;       // the yearly file, once known
    qint64 appended = 0;  // bytes appended to it
    int records = 0;      // lines appended
    int alreadyOnFile = 0;  // lines of the block the file held already, not appended again
    QString lastStamp;    // the first field of the block's last line
    qint64 blockBytes = -1;  // of a block that failed, the bytes that came (-1: none began)
    QString error;      // what the file system said, for WriteFailed; the view, for KeepFailed
    QByteArray garbled;  // the line that was not a record, for Garbled
};

// Runs one download over the link in use. The command lock is held while it talks, and
// the yearly file's lock ("path.lock") from the moment its path is known, so that two
// downloads never append to one file at once; a download that finds it taken waits up
// to lockWaitMs, then ends as FileBusy.
Result run(Link& link, View& view, int lockWaitMs = 0);

// The notices of the ends that have one.
QString noticeFor(const Result& result);

} // namespace NewDataDownload
