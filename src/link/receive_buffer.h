// The bytes received from the datalogger that no read has consumed yet.
#pragma once

#include <QByteArray>
#include <QString>

// Received bytes not yet consumed by a read. Consumption keeps a read offset so that
// taking a field costs the field's length, not the rest of the buffer.
class ReceiveBuffer {
public:
    void append(const QByteArray& bytes) { bytes_.append(bytes); }
    void clear() { bytes_.clear(); start_ = 0; scanned_ = 0; }
    int size() const { return int(bytes_.size()) - start_; }
    bool isEmpty() const { return size() == 0; }
    // Position (relative to the unread start) of the first c, or -1. Bytes already
    // searched are not searched again.
    int indexOf(char c);
    QByteArray take(int n);  // removes and returns the first n unread bytes
    QString takeText(int n); // the same, as text of one character per byte
    void drop(int n);        // removes the first n unread bytes
    QByteArray peekAll() const { return bytes_.mid(start_); }
    // Removes and returns every unread byte; without a copy when nothing was consumed.
    QByteArray takeAll();
    // Position (relative to the unread start) of needle at or after from, or -1.
    int find(const QByteArray& needle, int from) const;
    bool endsWith(const QByteArray& tail) const;

private:
    void compact();
    QByteArray bytes_;
    int start_ = 0;
    int scanned_ = 0;  // unread bytes before this one hold no comma
};
