// Whole text files the program replaces: the new content is written beside the old file
// and takes its place only once complete, so a full disk never leaves a file cut short.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

namespace TextFile {

// Replaces (or creates) path with content; false when it could not be written, in which
// case the file that was there is untouched.
bool replace(const QString& path, const QByteArray& content);
// The same with the content written by write, for content too large to build whole first;
// write returns false when it fails on its own account.
bool replace(const QString& path, const std::function<bool(QIODevice&)>& write);
// Lines of one byte per character, each ended by CR LF.
QByteArray crlfLines(const QStringList& lines);

} // namespace TextFile
