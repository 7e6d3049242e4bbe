// The simulator's command-line options and their defaults.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A fault that strikes once, at one field of the first reply to a command letter: the
// datalogger falls silent before that field, garbles it, or drops the link before it.
struct FieldFault {
    enum class Kind { Silent, Garbage, Drop };
    char letter = 0;
    int field = 0;                 // 0: the reply's first field
    Kind kind = Kind::Silent;
};

struct FaultOptions {
    bool silentAll = false;        // answer nothing at all
    QByteArray silentCommands;     // command letters left unanswered
    int slowMs = 0;                // delay before every reply
    QByteArray slowCommands;       // empty: every command
    int truncateBytes = -1;        // send only this many bytes of a reply (-1: whole reply)
    QByteArray truncateCommands;   // empty: every command
    QByteArray garbageCommands;    // replies of these letters get garbled fields
    qint64 dropAfterBytes = -1;    // close the link after sending this many bytes
    int claimedColumns = -1;       // values per record announced by "A"/"a" (-1: the real count)
    QList<FieldFault> fieldFaults;
};

struct Options {
    QString ptyPath;               // symlink to the pseudo-terminal's slave side
    QString tcpHost;
    int tcpPort = -1;              // -1: no TCP; 0: any free port
    bool telnet = false;           // send telnet option negotiation at connect
    QByteArray telnetOffer;        // bytes sent at connect when telnet is on
    bool modem = false;            // Hayes modem front-end on the pty
    int dialMs = 3000;             // time from ATD to CONNECT
    int guardMs = 1000;            // escape guard time around "+++"
    QByteArray dialResult = "CONNECT 9600";  // the modem's answer once the dial time is over
    QByteArray ati3Answer;         // exact answer to ATI3; empty: the framed identification and OK
    int baud = 0;                  // 0: no wire pacing
    int gapMs = 200;               // inter-character gap that ends an optional value list (pty)
    int tcpGapMs = 30;             // the same on TCP, where values arrive with their command
    int wakeIdleMs = 0;            // 0: never; else "S2" wake-up after this much idle line
    QString wireLog;
    QString stateDump;

    QString name = QStringLiteral("SIM01");
    int model = 1;
    int channels[4] = {8, 0, 0, 0};
    int preload = 200;
    double speed = 1.0;            // simulated seconds per real second
    qint64 clockOffsetSeconds = 0; // the clock starts this far from the host's wall time
    double battery = -1;           // what "W" gives as battery volts; < 0: a slow daily drift
    int memoryTotal = 5000;        // acquisitions that fit in the memory
    int timerSeconds = 600;        // acquisition timer
    bool acquisition = true;
    bool eventsCounter = false;
    quint32 seed = 1;
    QString recordsFile;           // known records instead of the preloaded ones

    // The office's FTP server holding the datalogger's address file.
    QString ftpHost;
    int ftpPort = -1;              // -1: no FTP server; 0: any free port
    QByteArray ftpUser = "datalogger";
    QByteArray ftpPassword = "secret";
    QByteArray ftpDirectory = "datalogger";
    QByteArray ftpAddress;         // first field of the address file, when given
    bool ftpAddressGiven = false;  // else the --tcp address followed by "OK"
    bool ftpMute = false;          // accept FTP connections and never answer

    FaultOptions faults;
};

// Parses argv; on error or --help prints to stdout/stderr and sets exitCode (>= 0 means exit).
Options parseOptions(const QStringList& args, int& exitCode);
QString usageText();
