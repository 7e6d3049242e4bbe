// Replacing whole text files through a temporary file.
#include "data/text_file.h"

#include <QFile>
#include <QSaveFile>

#include <unistd.h>

namespace TextFile {

bool replace(const QString& path, const QByteArray& content, Access access)
{
    return replace(path, [&content](QIODevice& out) { return out.write(content) == content.size(); }, access);
}

bool replace(const QString& path, const std::function<bool(QIODevice&)>& write, Access access)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The new file takes the old one's permissions; one holding passwords gets its own,
    // while it is still empty.
    if (access == Access::OwnerOnly && !file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner)) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    // The flush is checked here: Qt's commit does not notice a write that fails while
    // it empties its buffer, and would put a file cut short in place of the old one.
    if (!write(file) || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

bool appendWhole(const QString& path, const QByteArray& bytes, QString* errorText)
{
    QFile file(path);
    // Unbuffered: the one write goes straight to the file, so a failure is seen here.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered)) {
        if (errorText)
            *errorText = file.errorString();
        return false;
    }
    const qint64 before = file.size();
    // Qt's flush only empties its own buffer: the bytes reach the disk with fsync.
    if (file.write(bytes) == bytes.size() && ::fsync(file.handle()) == 0)
        return true;
    const QString error = file.errorString();
    file.resize(before);
    ::fsync(file.handle());
    if (errorText)
        *errorText = error.isEmpty() ? QStringLiteral("the data could not be written") : error;
    return false;
}

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

} // namespace TextFile
