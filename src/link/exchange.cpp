// Sending a command and reading its reply, one comma-terminated field at a time.
#include "link/link.h"

#include "link/link_transport.h"
#include "link/serial_port.h"

#include <QElapsedTimer>

namespace {

const QString timeoutMark = QStringLiteral("%%");

} // namespace

// The end of every read: the reply, or the time-out mark, counted in the tally.
QString Link::finishRead(LinkTransport* t, bool timedOut, const QString& text)
{
    lastReply_ = timedOut ? timeoutMark : text;
    ++tally_.reads;
    if (timedOut)
        ++tally_.timeouts;
    if (t && opensPerExchange(t))
        t->close();
    return lastReply_;
}

// The transport for a read, opened when the exchange opens it.
LinkTransport* Link::readTransport()
{
    LinkTransport* t = transport();
    if (t && opensPerExchange(t))
        t->open();
    return t;
}

// A read ends at once on a link that has gone or was never there, or when the exchange
// was abandoned.
bool Link::linkGone(LinkTransport* t)
{
    if (exchangesAbandoned() || !t)
        return true;
    if (!t->lost())
        return false;
    reportLoss(t);
    return true;
}

void Link::flushInput()
{
    LinkTransport* t = transport();
    if (busy() || !t || !t->rules().flushable)
        return;
    // Inside sendCommand the port is already open and stays so.
    const bool openedHere = !t->isOpen() && opensPerExchange(t);
    if (openedHere)
        t->open();
    // A port that is not open has nothing to discard: the flush stops there.
    if (t->isOpen()) {
        lastReply_ = QString::fromLatin1(t->takeAll());
        t->discardInput();
        receive_.clear();
    }
    if (openedHere)
        t->close();
}

bool Link::discardUntilQuiet(int quietMs, int maxMs, const QByteArray& settled)
{
    LinkTransport* t = transport();
    if (busy() || !t)
        return true;
    QElapsedTimer total;
    QElapsedTimer quiet;
    total.start();
    quiet.start();
    bool quietEnough = true;
    QByteArray tail;  // the last bytes, where settled would be
    while (quiet.elapsed() < quietMs && !t->lost() && !exchangesAbandoned()) {
        if (total.elapsed() >= maxMs) {
            quietEnough = false;
            break;
        }
        serviceUi(pollMs);
        const QByteArray got = t->isOpen() ? t->takeAll() : QByteArray();
        if (got.isEmpty())
            continue;
        quiet.restart();
        tail = (tail + got).right(qMax<qsizetype>(settled.size(), 1));
        if (!settled.isEmpty() && tail == settled)
            break;
    }
    receive_.clear();
    return quietEnough;
}

bool Link::sendCommand(const QString& command, const QString& values)
{
    LinkTransport* t = transport();
    if (busy() || exchangesAbandoned() || !t)
        return false;
    receive_.clear();
    if (!t->rules().pacedValues)
        return sent(t, t->write((command + values).toLatin1()));
    const bool openedHere = opensPerExchange(t);
    if (openedHere)
        t->open();
    flushInput();
    bool ok = command.isEmpty() || t->write(command.toLatin1());
    const QByteArray paced = values.toLatin1();
    for (int i = 0; ok && i < paced.size(); ++i) {
        ok = t->write(paced.mid(i, 1));
        pause(1);
    }
    if (openedHere)
        t->close();
    return sent(t, ok);
}

// A command that could not be written is reported the same way on every transport; one
// that failed because the port or peer went is left to the loss, reported once.
bool Link::sent(LinkTransport* t, bool ok)
{
    if (!ok && !t->lost())
        report(LinkProblem::Kind::SendFailed, t->errorText());
    return ok;
}

QString Link::readField()
{
    if (busy() || exchangesAbandoned())
        return timeoutMark;
    LinkTransport* t = readTransport();
    // A field already buffered is taken at once, without the clock, the user interface or
    // the port: once per field, they would cost more than the field itself in a download.
    int comma = receive_.indexOf(',');
    bool timedOut = false;
    if (comma < 0) {
        QElapsedTimer started;
        started.start();
        for (bool first = true;; first = false) {
            serviceUi(first ? 0 : pollMs);
            if (t)
                pullInput(t);
            comma = receive_.indexOf(',');
            if (comma < 0 && receive_.size() > settings_.maxFieldBytes) {
                // A line that babbles without a comma ends the read; its bytes are
                // dropped so that it cannot fill the memory.
                receive_.clear();
                timedOut = true;
                break;
            }
            if (comma < 0 && linkGone(t)) {
                timedOut = true;
                break;
            }
            if (started.elapsed() >= settings_.fieldTimeoutMs) {
                timedOut = true;  // wins over a comma found in the same pass
                break;
            }
            if (comma >= 0)
                break;
        }
    }
    QString field;
    if (!timedOut) {
        field = receive_.takeText(comma);
        receive_.drop(1);
    }
    return finishRead(t, timedOut, field);
}

namespace {

// Where the terminator is in the receive buffer, by the transport's rule: the first one
// on a cable; over the internet only one that ends all the text so far. Only the tail
// that could still hold the start of the terminator is searched again.
class TerminatorSearch {
public:
    TerminatorSearch(const QByteArray& end, const LinkTransport* t)
        : end_(end), atEnd_(t && t->rules().terminatorAtEnd) {}
    bool textStaysBuffered() const { return atEnd_; }
    int find(ReceiveBuffer& receive)
    {
        if (end_.isEmpty())
            return -1;
        const int size = receive.size();
        if (atEnd_)
            return receive.endsWith(end_) ? size - int(end_.size()) : -1;
        const int found = receive.find(end_, searchFrom_);
        searchFrom_ = qMax(0, size - int(end_.size()) + 1);
        return found;
    }

private:
    QByteArray end_;
    bool atEnd_;
    int searchFrom_ = 0;
};

} // namespace

QString Link::readUntil(const QString& terminator)
{
    if (busy())
        return timeoutMark;
    QElapsedTimer started;
    started.start();
    LinkTransport* t = readTransport();
    TerminatorSearch search(terminator.toLatin1(), t);
    int found = -1;
    bool timedOut = false;
    for (bool first = true;; first = false) {
        serviceUi(first ? 0 : pollMs);
        if (t)
            pullInput(t);
        found = search.find(receive_);
        if (found >= 0)
            break;
        if (started.elapsed() >= settings_.fieldTimeoutMs || receive_.size() > settings_.maxFieldBytes || linkGone(t)) {
            timedOut = true;
            break;
        }
    }
    QString text;
    if (!timedOut) {
        const QByteArray before = receive_.take(found);
        receive_.clear();
        if (search.textStaysBuffered())
            receive_.append(before);  // the text stays in the buffer
        text = QString::fromLatin1(before);
    }
    return finishRead(t, timedOut, text);
}

Link::BlockRead Link::readBlock(const QByteArray& terminator, qint64 maxBytes)
{
    BlockRead r;
    if (busy()) {
        r.end = BlockRead::End::Lost;
        return r;
    }
    LinkTransport* t = readTransport();
    TerminatorSearch search(terminator, t);
    QElapsedTimer quiet;
    quiet.start();
    int found = -1;
    for (bool first = true; found < 0; first = false) {
        serviceUi(first ? 0 : pollMs);
        const int before = receive_.size();
        if (t)
            pullInput(t);
        if (receive_.size() != before)
            quiet.restart();
        found = search.find(receive_);
        if (found >= 0)
            r.end = BlockRead::End::Complete;
        else if (receive_.size() > maxBytes)
            r.end = BlockRead::End::TooLarge;
        else if (linkGone(t))
            r.end = BlockRead::End::Lost;
        else if (quiet.elapsed() >= settings_.fieldTimeoutMs)
            r.end = BlockRead::End::Silent;
        else
            continue;
        break;
    }
    r.received = receive_.size();
    // The block leaves the buffer without a copy; what followed the terminator goes
    // with the rest of the reply, as after any read up to a terminator.
    if (found >= 0) {
        r.text = receive_.takeAll();
        r.text.truncate(found);
    }
    receive_.clear();
    finishRead(t, found < 0, QString());
    return r;
}

