// A file's bytes as the tests read and prepare them.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// The whole file, or "<missing>" when it cannot be read (never equal to real content).
inline QByteArray fileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes bytes as the whole file; false when it could not.
inline bool writeFileBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}
