// The set-up every fuzz target runs once, and the helpers of fuzz_support.h.
#include "support/fuzz_support.h"

#include "data/program_folder.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

namespace {

QString programFolder;

} // namespace

// libFuzzer calls this once before the first input.
extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Posted events wake the plain Unix event loop as well as the glib one, and it is
    // lighter per call.
    qputenv("QT_NO_GLIB", "1");
    static QCoreApplication app(*argc, *argv);
    // Removed at a normal exit; a crash leaves it behind with the input that caused it.
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/quorvel-fuzz-XXXXXX"));
    if (!folder.isValid()) {
        std::fprintf(stderr, "fuzz: no temporary folder\n");
        std::exit(2);
    }
    programFolder = folder.path();
    return 0;
}

namespace Fuzz {

QString folder() { return programFolder; }

quint32 Input::word()
{
    quint32 w = 0;
    for (int i = 0; i < 4; ++i)
        w |= quint32(byte()) << (8 * i);
    return w;
}

QByteArray Input::text(int maxLength)
{
    const size_t n = qMin<size_t>(byte() % (maxLength + 1), size_ - qMin(at_, size_));
    const QByteArray out(reinterpret_cast<const char*>(data_ + at_), qsizetype(n));
    at_ += n;
    return out;
}

QByteArray Input::rest()
{
    const QByteArray out = empty() ? QByteArray()
                                   : QByteArray(reinterpret_cast<const char*>(data_ + at_), qsizetype(size_ - at_));
    at_ = size_;
    return out;
}

void check(bool ok, const char* what)
{
    if (ok)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

QString freshFile(const QString& name)
{
    const QString path = joinPath(programFolder, name);
    QFile::remove(path);
    return path;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate), "cannot write a file in the temporary folder");
    check(f.write(bytes) == bytes.size(), "short write in the temporary folder");
}

QByteArray readBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace Fuzz
