// Replacing whole text files through a temporary file.
#include "data/text_file.h"

#include <QSaveFile>

namespace TextFile {

bool replace(const QString& path, const QByteArray& content, Access access)
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
    if (file.write(content) != content.size() || !file.flush()) {
        file.cancelWriting();
        file.commit();
        return false;
    }
    return file.commit();
}

QByteArray crlfLines(const QStringList& lines)
{
    QByteArray out;
    for (const QString& line : lines)
        out += line.toLatin1() + "\r\n";
    return out;
}

} // namespace TextFile
