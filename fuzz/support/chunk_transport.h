// A link transport that hands out a fuzz input as a datalogger's reply, in pieces whose
// sizes come from a seed, and then goes away as a dropped line does: every read of the
// exchange path ends, and none waits for a time-out.
#pragma once

#include "link/link_transport.h"

#include <QByteArray>

class Link;

class ChunkTransport : public LinkTransport {
public:
    // maxPiece bounds the size of a piece (at least 1). With afterCommand nothing arrives
    // before the exchange path has written something: a flush before the command finds
    // the line empty, as it would.
    ChunkTransport(const QByteArray& reply, quint32 seed, int maxPiece, Rules rules,
                   bool afterCommand = false);
    ~ChunkTransport() override;  // gives the link back

    // Installs this transport for the exchange path, held open.
    void takeOver(Link& link);
    // How many bytes of the reply have been handed out.
    qsizetype handedOut() const { return at_; }
    QByteArray written;  // what the exchange path sent

    Rules rules() const override { return rules_; }
    bool open() override { return true; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool write(const QByteArray& bytes) override;
    int bytesAvailable() override;
    QByteArray takeAll() override;
    void discardInput() override;
    QString errorText() const override { return {}; }

private:
    qsizetype nextPiece();

    QByteArray reply_;
    qsizetype at_ = 0;
    qsizetype piece_ = -1;  // size of the piece on offer, -1 before it is drawn
    quint32 seed_;
    int maxPiece_;
    Rules rules_;
    bool waiting_;  // nothing arrives until the first write
};
