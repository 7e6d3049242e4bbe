// The two ways the program writes its text files. A file it replaces: the new content is
// written beside the old file and takes its place only once complete. A file it only
// appends to: each piece goes in whole, or the file is cut back to what it held. Either
// way a full disk never leaves a file cut short or holding half a line.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace TextFile {

// Who may read the file once replaced. OwnerOnly (read and write for its owner alone) is
// for files that hold passwords: it is set before a byte is written, and it tightens a
// file that was readable by others before.
enum class Access { Default, OwnerOnly };

// Replaces (or creates) path with content; false when it could not be written, in which
// case the file that was there is untouched.
bool replace(const QString& path, const QByteArray& content, Access access = Access::Default);
// The same with the content written by write, for content too large to build whole first;
// write returns false when it fails on its own account.
bool replace(const QString& path, const std::function<bool(QIODevice&)>& write,
             Access access = Access::Default);
// Appends bytes to path (created when missing) in one write and waits until they are on
// the disk. On failure the file is cut back to the length it had and errorText says why.
bool appendWhole(const QString& path, const QByteArray& bytes, QString* errorText = nullptr);
// Lines of one byte per character, each ended by CR LF.
QByteArray crlfLines(const QStringList& lines);

} // namespace TextFile
