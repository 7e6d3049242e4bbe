// The far end of a pseudo-terminal for link tests: records what the program writes,
// with arrival times, and answers on a schedule.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <atomic>
#include <list>
#include <mutex>
#include <thread>

class PtyPeer {
public:
    struct Chunk {
        qint64 tUs;  // monotonic arrival time
        QByteArray bytes;
    };

    PtyPeer();
    ~PtyPeer();
    bool isValid() const { return master_ >= 0; }
    // The device path the program opens.
    QString slavePath() const { return slavePath_; }

    // Writes bytes to the program, now or after delayMs (from a background thread).
    void write(const QByteArray& bytes);
    void writeLater(int delayMs, const QByteArray& bytes);
    // Answers the first arrival of trigger with reply, once.
    void replyTo(const QByteArray& trigger, const QByteArray& reply);

    QList<Chunk> chunks() const;
    QByteArray received() const;
    // Waits until at least n bytes have arrived or timeoutMs passes.
    bool waitForBytes(int n, int timeoutMs) const;
    static qint64 nowUs();

private:
    void readLoop();

    int master_ = -1;
    int slaveKeep_ = -1;  // keeps the line up while the program's side is closed
    QString slavePath_;
    std::atomic<bool> stop_{false};
    std::thread reader_;
    std::list<std::thread>* writers_;
    mutable std::mutex mutex_;
    QList<Chunk> chunks_;
    QByteArray all_;
    QByteArray trigger_;
    QByteArray reply_;
    qsizetype triggerFrom_ = 0;
};
