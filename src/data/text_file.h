// Whole text files the program replaces: the new content is written beside the old file
// and takes its place only once complete, so a full disk never leaves a file cut short.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TextFile {

// Who may read the file once replaced. OwnerOnly (read and write for its owner alone) is
// for files that hold passwords: it is set before a byte is written, and it tightens a
// file that was readable by others before.
enum class Access { Default, OwnerOnly };

// Replaces (or creates) path with content; false when it could not be written, in which
// case the file that was there is untouched.
bool replace(const QString& path, const QByteArray& content, Access access = Access::Default);
// Lines of one byte per character, each ended by CR LF.
QByteArray crlfLines(const QStringList& lines);

} // namespace TextFile
