// The reply accumulator: reads consume from an offset so a long reply costs its length.
#include "link/receive_buffer.h"

int ReceiveBuffer::indexOf(char c)
{
    const int unread = size();
    if (scanned_ > unread)
        scanned_ = unread;
    const int at = int(bytes_.indexOf(c, start_ + scanned_));
    if (at < 0) {
        scanned_ = unread;
        return -1;
    }
    scanned_ = at - start_;
    return at - start_;
}

QByteArray ReceiveBuffer::take(int n)
{
    n = qBound(0, n, size());
    QByteArray out = bytes_.mid(start_, n);
    drop(n);
    return out;
}

QByteArray ReceiveBuffer::takeAll()
{
    QByteArray out = start_ == 0 ? std::move(bytes_) : bytes_.mid(start_);
    clear();
    return out;
}

QString ReceiveBuffer::takeText(int n)
{
    n = qBound(0, n, size());
    QString out = QString::fromLatin1(bytes_.constData() + start_, n);
    drop(n);
    return out;
}

void ReceiveBuffer::drop(int n)
{
    n = qBound(0, n, size());
    start_ += n;
    scanned_ = qMax(0, scanned_ - n);
    compact();
}

int ReceiveBuffer::find(const QByteArray& needle, int from) const
{
    const int at = int(bytes_.indexOf(needle, start_ + qMax(0, from)));
    return at < 0 ? -1 : at - start_;
}

bool ReceiveBuffer::endsWith(const QByteArray& tail) const
{
    return size() >= tail.size() && bytes_.endsWith(tail);
}

void ReceiveBuffer::compact()
{
    if (start_ == int(bytes_.size())) {
        bytes_.clear();
        start_ = 0;
    } else if (start_ > 65536 && start_ > int(bytes_.size()) / 2) {
        // Copying the rest only once it is shorter than what was consumed keeps the
        // total cost linear.
        bytes_.remove(0, start_);
        start_ = 0;
    }
}

