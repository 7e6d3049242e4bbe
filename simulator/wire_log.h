// The wire log: every chunk received or sent, stamped with the monotonic clock, as JSON lines.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

class WireLog {
public:
    bool open(const QString& path);
    void log(const char* dir, const QByteArray& bytes);   // dir: "rx" or "tx"

    static qint64 monotonicUs();

private:
    QFile m_file;
};
