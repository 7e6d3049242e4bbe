// A small blocking client of the simulator, written for its tests (not the program's link layer).
#pragma once

#include <QByteArray>
#include <QString>

class SimClient {
public:
    ~SimClient();

    bool openPty(const QString& path);
    bool openTcp(quint16 port);
    void close();

    void write(const QByteArray& bytes);
    // As the program does on a serial line: the command in one write, then each value
    // character in its own write followed by a pause.
    void command(const QByteArray& cmd, const QByteArray& values = {}, int pauseMs = 12);

    // Reads until n commas arrived (returns everything read) or the time-out.
    QByteArray fields(int n, int timeoutMs = 3000);
    QByteArray bytes(int n, int timeoutMs = 3000);
    QByteArray until(const QByteArray& terminator, int timeoutMs = 5000);
    // Everything that arrives until the line has been quiet for quietMs.
    QByteArray drain(int quietMs = 300);
    bool closedByPeer() const { return m_eof; }

private:
    bool readSome(int timeoutMs);

    int m_fd = -1;
    QByteArray m_buffer;
    bool m_eof = false;
};

// Splits "a,b,c," into its fields.
QList<QByteArray> splitFields(const QByteArray& reply);
