// Runs the datalogger simulator as a child process for tests and reads its wire log and state.
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QList>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>

// Bytes the simulator received (or sent, in sentLog()), stamped on arrival.
struct WireEntry {
    qint64 tUs;
    QByteArray bytes;
};

// The command letters the datalogger received, in order (the values are digits, blanks
// and commas).
QByteArray commandLetters(const QByteArray& wire);
// Arrival time of the first received chunk, from entry `from` on, that starts with the
// command letter; -1 when there is none.
qint64 arrivalUs(const QList<WireEntry>& log, char letter, int from = 0);

// The environment for a program started by a test (sanitizer reports to files).
QProcessEnvironment childEnvironment(const QString& program);

class SimProcess {
public:
    explicit SimProcess(QStringList extraArgs = {}); // extra simulator options
    ~SimProcess();                                    // stops it

    // Starts quorvel-sim with --pty <tmpdir>/ttySIM, --wire-log and --state-dump in a
    // temporary folder; returns when the pty link exists (or false after ~5 s).
    bool start();
    // Same with --tcp 127.0.0.1:<free port>; returns when the port accepts connections.
    bool startTcp();

    QString ptyPath() const;
    quint16 tcpPort() const;
    // The port of the FTP server (--ftp HOST:0), once the simulator has printed it; 0
    // until then.
    quint16 ftpPort() const;

    QList<WireEntry> wireLog() const;   // received side of the wire log
    QList<WireEntry> sentLog() const;   // sent side of the wire log
    QByteArray received() const;        // all received bytes concatenated
    QByteArray sent() const;            // all sent bytes concatenated
    QJsonObject state();                // asks for a state dump (SIGUSR1) and reads it
    // How many commands the simulator has run, and those from number `from` on whose
    // letter is one of `letters`, each as letter + values joined by "," + "," ("R 32,").
    int commandCount();
    QStringList commandsSince(int from, const QString& letters);
    void stop();                        // SIGTERM, then kill after ~3 s

    QString folder() const;             // the temporary folder holding log and dump
    QString output() const;             // what the simulator printed so far (stdout+stderr)
    bool isRunning() const;

private:
    bool prepareFolder();
    bool launch(const QStringList& transportArgs);
    QList<WireEntry> readLog(const char* dir) const;

    QStringList m_extraArgs;
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<QProcess> m_process;
    quint16 m_port = 0;
    mutable QByteArray m_output;
};
