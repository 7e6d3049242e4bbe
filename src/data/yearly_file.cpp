// The yearly file: its name, its title line, creating it whole, and appending blocks
// exactly once, in a way that survives a crash at any instant.
#include "data/yearly_file.h"

#include "data/reading_line.h"
#include "data/text_file.h"
#include "data/program_folder.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace YearlyFile {

namespace {

const QString newSuffix = QStringLiteral(".new");
const QString oldCheckSuffix = QStringLiteral(".temp");

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && QChar::isSpace(uchar(text.front())))
        text = text.sliced(1);
    while (!text.isEmpty() && QChar::isSpace(uchar(text.back())))
        text.chop(1);
    return text;
}

bool isNamed(const QString& path)
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

// Two names of one file (a rename by a hard link that died before the old name went).
bool sameFile(const QString& a, const QString& b)
{
    struct stat sa {}, sb {};
    return ::stat(QFile::encodeName(a).constData(), &sa) == 0 && ::stat(QFile::encodeName(b).constData(), &sb) == 0
           && sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The file's folder on disk too, so that a name just given survives a power cut.
void syncFolder(const QString& path)
{
    const int fd = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(),
                          O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives from the name to only while no file has it. A hard link does that in one step;
// where the file system has none (a memory stick), a rename that refuses an existing
// name, or at last a plain rename after looking (the yearly file's lock keeps the
// program's own downloads out of the way meanwhile).
int giveName(const QByteArray& source, const QByteArray& target, const QString& to)
{
    if (::link(source.constData(), target.constData()) == 0)
        return 0;
    if (errno == EEXIST)
        return EEXIST;
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL)
        return errno;
    if (isNamed(to))
        return EEXIST;
    return ::rename(source.constData(), target.constData()) == 0 ? 0 : errno;
}

bool nameWhenAbsent(const QString& from, const QString& to, QString* errorText)
{
    const int error = giveName(QFile::encodeName(from), QFile::encodeName(to), to);
    if (error != 0 && errorText)
        *errorText = error == EEXIST ? QStringLiteral("the file exists already")
                                     : QString::fromLocal8Bit(std::strerror(error));
    return error == 0;
}

// The last bytes of the file (at most n) and whether a line starts right before them.
struct Tail {
    QByteArray bytes;
    bool atLineStart = true;
    bool endsLine = true;  // the file is empty or ends with a line end
};

std::optional<Tail> readTail(const QString& path, qint64 n, QString* errorText)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = f.errorString();
        return std::nullopt;
    }
    Tail tail;
    const qint64 size = f.size();
    const qint64 from = qMax<qint64>(0, size - n - 1);
    f.seek(from);
    tail.bytes = f.read(size - from);
    if (from > 0 || tail.bytes.size() > n) {
        tail.atLineStart = tail.bytes.startsWith('\n');
        tail.bytes.remove(0, 1);
    }
    tail.endsLine = size == 0 || (!tail.bytes.isEmpty() && tail.bytes.endsWith('\n'));
    if (tail.bytes.size() != qMin(size, n)) {
        if (errorText)
            *errorText = f.errorString();
        return std::nullopt;
    }
    return tail;
}

// How much of piece the file already ends with: the longest start of piece that the
// file's last lines (the last one maybe cut short) are, beginning at a line start.
qsizetype overlap(const Tail& tail, QByteArrayView piece)
{
    const QByteArrayView t(tail.bytes);
    for (qsizetype p = 0; p < t.size(); ++p) {
        const bool lineStart = p == 0 ? tail.atLineStart : t.at(p - 1) == '\n';
        if (lineStart && t.sliced(p) == piece.first(t.size() - p))
            return t.size() - p;
    }
    return 0;
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

QByteArray blockText(QByteArray received)
{
    if (received.size() > 2)
        received.chop(2);
    qsizetype to = received.size();
    while (to > 0 && received.at(to - 1) == ' ')
        --to;
    received.truncate(to);
    qsizetype from = 0;
    while (from < received.size() && received.at(from) == ' ')
        ++from;
    received.remove(0, from);
    return received;
}

QByteArray garbledLine(QByteArrayView block)
{
    while (!block.isEmpty()) {
        const qsizetype end = block.indexOf('\n');
        const QByteArrayView line = end < 0 ? block : block.first(end);
        if (!ReadingLine::isBlank(line) && !ReadingLine::isReading(line))
            return trimmed(line).toByteArray();
        block = end < 0 ? QByteArrayView() : block.sliced(end + 1);
    }
    return {};
}

bool create(const QString& path, int channels, QString* errorText)
{
    const QString temporary = path + newSuffix;
    QFile::remove(temporary);
    bool created = TextFile::appendWhole(temporary, titleLine(channels) + "\r\n", errorText)
                   && nameWhenAbsent(temporary, path, errorText);
    QFile::remove(temporary);
    if (created)
        syncFolder(path);
    return created;
}

QString tidy(const QString& path)
{
    QFile::remove(path + newSuffix);
    const QString aside = path + oldCheckSuffix;
    if (!isNamed(aside) || (sameFile(aside, path) && QFile::remove(aside)))
        return QString();
    if (!isNamed(path)) {
        QString error;
        if (nameWhenAbsent(aside, path, &error) && (QFile::remove(aside) || !isNamed(aside))) {
            syncFolder(path);
            return QString();
        }
        return QStringLiteral("%1 could not be given back its name %2 (%3)").arg(aside, path, error);
    }
    return QStringLiteral("%1 stands beside %2, left there by an earlier check: join its records to %2 "
                          "(or remove it) before the next download")
        .arg(aside, path);
}

std::optional<Appended> appendBlock(const QString& path, const QByteArray& block, QString* errorText)
{
    QByteArray piece = block + "\r\n";
    Appended done;
    if (QFile::exists(path)) {
        const std::optional<Tail> tail = readTail(path, piece.size(), errorText);
        if (!tail)
            return std::nullopt;
        done.alreadyThere = overlap(*tail, piece);
        piece.remove(0, done.alreadyThere);
        // A last line of another's making that has no line end does not take the
        // block's first line onto itself.
        if (done.alreadyThere == 0 && !tail->endsLine)
            piece.prepend("\r\n");
        done.alreadyThere = qMin(done.alreadyThere, block.size());
    }
    if (!piece.isEmpty() && !TextFile::appendWhole(path, piece, errorText))
        return std::nullopt;
    done.written = piece.size();
    return done;
}

} // namespace YearlyFile
