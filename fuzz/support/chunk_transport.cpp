// The fuzz targets' transport: a reply handed out in pieces, then a dropped line.
#include "support/chunk_transport.h"

#include "link/link.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

namespace {

// Arriving bytes wake the event loop on a real port; an event posted with each piece
// does the same here, so that a read waiting for more does not sleep its poll period.
QObject& waker()
{
    static QObject object;
    return object;
}

void wake() { QCoreApplication::postEvent(&waker(), new QEvent(QEvent::User)); }

} // namespace

ChunkTransport::ChunkTransport(const QByteArray& reply, quint32 seed, int maxPiece, Rules rules,
                               bool afterCommand)
    : reply_(reply), seed_(seed | 1u), maxPiece_(qMax(1, maxPiece)), rules_(rules),
      waiting_(afterCommand)
{
}

ChunkTransport::~ChunkTransport() = default;

void ChunkTransport::takeOver(Link& link) { link.takeOver(this, true); }

bool ChunkTransport::write(const QByteArray& bytes)
{
    written += bytes;
    waiting_ = false;
    return true;
}

qsizetype ChunkTransport::nextPiece()
{
    if (piece_ < 0) {
        seed_ = seed_ * 1103515245u + 12345u;
        piece_ = qMin<qsizetype>(1 + (seed_ >> 8) % quint32(maxPiece_), reply_.size() - at_);
    }
    return piece_;
}

int ChunkTransport::bytesAvailable() { return waiting_ ? 0 : int(nextPiece()); }

QByteArray ChunkTransport::takeAll()
{
    wake();
    if (waiting_)
        return {};
    if (at_ >= reply_.size()) {
        markLost(QStringLiteral("The fuzz input has run out."));
        return {};
    }
    const qsizetype n = nextPiece();
    piece_ = -1;
    const QByteArray out = reply_.mid(at_, n);
    at_ += n;
    return out;
}

void ChunkTransport::discardInput()
{
    // What was on offer is thrown away, as the serial buffer's contents would be.
    if (waiting_)
        return;
    at_ += qMax<qsizetype>(0, nextPiece());
    piece_ = -1;
}
