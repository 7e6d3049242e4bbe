// Replacing whole text files through a temporary file.
#include "data/text_file.h"

#include <QSaveFile>

namespace TextFile {

bool replace(const QString& path, const QByteArray& content)
{
    return replace(path, [&content](QIODevice& out) { return out.write(content) == content.size(); });
}

bool replace(const QString& path, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // The flush is checked here: Qt's commit does not notice a write that fails while
    // it empties its buffer, and would put a file cut short in place of the old one.
    if (!write(file) || !file.flush()) {
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
