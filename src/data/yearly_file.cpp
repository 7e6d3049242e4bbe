// The yearly file: its name, its title line, and appending blocks that survive a crash.
#include "data/yearly_file.h"

#include "link/program_folder.h"

#include <QFile>

#include <unistd.h>

namespace YearlyFile {

namespace {

bool fail(QFile& f, QString* errorText)
{
    if (errorText)
        *errorText = f.errorString();
    return false;
}

// Qt's flush only empties its own buffer: the data reach the disk with fsync.
bool syncToDisk(QFile& f)
{
    return f.flush() && ::fsync(f.handle()) == 0;
}

} // namespace

QString path(const QString& folder, int year)
{
    return joinPath(folder, QStringLiteral("data_%1.txt").arg(year));
}

QByteArray titleLine(int channels)
{
    QByteArray line = "Date,";
    for (int i = 0; i < channels; ++i)
        line += " CH" + QByteArray::number(i) + ',';
    return line;
}

std::optional<int> cleanNumber(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char('.')).remove(QLatin1Char(',')).remove(QLatin1Char('-'));
    bool ok = false;
    const int n = digits.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QByteArray blockText(const QByteArray& received)
{
    QByteArray text = received;
    if (text.size() > 2)
        text.chop(2);
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == ' ')
        ++from;
    while (to > from && text.at(to - 1) == ' ')
        --to;
    return text.mid(from, to - from);
}

bool create(const QString& path, int channels, QString* errorText)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered))
        return fail(f, errorText);
    const QByteArray title = titleLine(channels) + "\r\n";
    if (f.write(title) != title.size() || !syncToDisk(f)) {
        f.close();
        f.remove();  // only ever our own empty or partial title
        return fail(f, errorText);
    }
    return true;
}

bool appendBlock(const QString& path, const QByteArray& block, QString* errorText)
{
    QFile f(path);
    // Unbuffered: the one write goes straight to the file, so a failure is seen here.
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Unbuffered))
        return fail(f, errorText);
    const qint64 before = f.size();
    const QByteArray bytes = block + "\r\n";
    if (f.write(bytes) == bytes.size() && syncToDisk(f))
        return true;
    const QString error = f.errorString();
    f.resize(before);  // what was there stays; no part of this block does
    ::fsync(f.handle());
    if (errorText)
        *errorText = error.isEmpty() ? QStringLiteral("the data could not be written") : error;
    return false;
}

} // namespace YearlyFile
