// What the fuzz targets share: a check that stops the run with a message, the program's
// folder (a temporary folder of this process), and files written and read in it.
#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <cstdint>

namespace Fuzz {

// An input read from its front: a few header bytes, then what the target feeds. Past
// the end every number reads as 0 and every text as empty, so any input is whole.
class Input {
public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool empty() const { return at_ >= size_; }
    uint8_t byte() { return empty() ? 0 : data_[at_++]; }
    // lo..hi (hi - lo < 256) from one byte.
    int inRange(int lo, int hi) { return lo + byte() % (hi - lo + 1); }
    // Four bytes, least significant first.
    quint32 word();
    // A length byte (cut to maxLength) and that many bytes.
    QByteArray text(int maxLength);
    QByteArray rest();

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// Stops the run as a finding when ok is false.
void check(bool ok, const char* what);
// The program's folder of the run: a temporary folder of this process.
QString folder();
// A file name in the program's folder, emptied of whatever an earlier input left there.
QString freshFile(const QString& name);
// Writes bytes to path as they are (the file an operator or a spreadsheet left).
void writeBytes(const QString& path, const QByteArray& bytes);
// The whole file; an empty array when it cannot be read.
QByteArray readBytes(const QString& path);

} // namespace Fuzz
