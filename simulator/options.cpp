// Command-line parsing and the usage text of quorvel-sim.
#include "options.h"

#include <QTextStream>

#include <functional>
#include <map>

QString usageText()
{
    return QStringLiteral(R"(Usage: quorvel-sim [options]
Behaves as a datalogger on a pseudo-terminal and/or a TCP port.

Transports (at least one):
  --pty PATH            create a pseudo-terminal and expose it as the symlink PATH
  --tcp HOST:PORT       listen on HOST:PORT (PORT 0 picks a free port; the chosen
                        address is printed as "tcp listening on HOST:PORT")
  --telnet              send telnet option negotiation when a TCP client connects
                        and strip telnet commands from what it sends
  --telnet-offer HEX    bytes sent at connect with --telnet (default fffd18fffb03fffd1f:
                        DO TERMINAL-TYPE, WILL SUPPRESS-GO-AHEAD, DO NAWS)
  --modem               put a Hayes modem in front of the datalogger on the pty
                        (ATE0, ATI3, AT, ATX0, ATD<number>, +++, ATH)
  --dial-ms MS          connect delay: time from ATD, and from the modem's previous
                        answer, to "CONNECT 9600" (default 3000). The answer always
                        leaves in a write of its own; a program that reads the line
                        every P ms sees it apart from the "OK" before ATD when MS > P
  --dial-result TEXT    what the modem answers when the dial time is over instead of
                        "CONNECT 9600": BUSY, NO CARRIER, NO ANSWER, NO DIALTONE...
                        (anything but CONNECT... leaves the modem in command mode)
  --ati3 TEXT           the exact answer to ATI3, "\r" and "\n" standing for CR and LF
                        (default: CR LF, an identification, CR LF, then CR LF OK CR LF)
  --guard-ms MS         escape guard time before and after "+++" (default 1000)
  --baud N              pace the bytes sent as a line at N baud would (default: no pacing)
  --gap-ms MS           on the pty, silence that ends an optional list of values
                        after a command letter (default 200)
  --tcp-gap-ms MS       the same on TCP (default 30)
  --wake-idle MS        send the wake-up text "S2" whenever the line has been idle for
                        MS milliseconds (a pty has no DTR line; default: never); after
                        a block ("[") not yet confirmed, only after ten times that

Datalogger state at start:
  --name TEXT           datalogger name (default SIM01)
  --model 0|1           model code: 1 vibrating wire, 0 analog (default 1)
  --channels A,B,C,D    channels on MUX0..MUX3, each 0..16 (default 8,0,0,0)
  --preload N           records already in memory (default 200; may exceed 5000,
                        what the program can store, to test oversize downloads)
  --memory N            acquisitions the memory holds (default 5000, raised to --preload);
                        with --preload, how full it is ("--memory 100 --preload 95"
                        and "--acquisition 0": 95 % used)
  --timer SECONDS       acquisition timer (default 600)
  --acquisition 0|1     acquisition enabled (default 1)
  --events 0|1          events counter (rain gauge) enabled (default 0)
  --speed X             simulated seconds per real second (default 1)
  --clock-offset S      the clock starts S seconds (negative: behind) from the host's
                        wall time and runs from there (default 0)
  --battery VOLTS       the battery voltage "W" answers (default: about 12.6 V,
                        drifting slowly)
  --seed N              seed of the simulated sensor readings (default 1)
  --records FILE        known records instead of the preloaded ones, one per line:
                        yyyy-mm-ddThh:mm:ss;VALUES;TEMPERATURES;RAIN with the values and
                        temperatures of the active channels separated by blanks

The office's FTP server (the datalogger keeps its address there as IPaddress.ip):
  --ftp HOST:PORT       serve FTP on HOST:PORT (PORT 0 picks a free port; printed as
                        "ftp listening on HOST:PORT")
  --ftp-account USER:PASSWORD  the account that may log in (default datalogger:secret;
                        the password is everything after the first ":")
  --ftp-dir DIR         the datalogger's directory (default datalogger)
  --ftp-address TEXT    the address file's first field instead of the --tcp address
                        followed by "OK"

For tests:
  --wire-log FILE       write every chunk received and sent as JSON lines
                        {"t_us": monotonic microseconds, "dir": "rx"|"tx", "hex": "..."}
  --state-dump FILE     write the state as JSON on SIGUSR1 and at exit

Fault injection (LETTERS is a set of command letters, e.g. "QGA"):
  --fault-silent                 answer nothing at all (not even "V")
  --fault-silent-cmds LETTERS    leave these commands unanswered
  --fault-slow MS[:LETTERS]      wait MS before each reply (of LETTERS only)
  --fault-truncate N[:LETTERS]   send only the first N bytes of each reply
  --fault-garbage LETTERS        replace the characters of every reply field of
                        LETTERS by garbage (commas and lengths kept)
  --fault-columns N              "A" and "a" announce N values per record
  --fault-drop-after N           drop the link after sending N bytes in total
  --fault-ftp-mute               the FTP server accepts connections and never answers
  --fault-at L:FIELD:KIND        once, at the first reply to command letter L, from its
                        field FIELD (0 is the first): KIND silent (nothing more is sent),
                        garbage (that field garbled) or drop (the link drops before it);
                        may be given more than once

  --help                print this text
)");
}

namespace {

bool parseInt(const QString& text, int& out, int low, int high)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low || v > high)
        return false;
    out = v;
    return true;
}

// "N" or "N:LETTERS".
bool parseAmountAndLetters(const QString& text, int& amount, QByteArray& letters)
{
    const int colon = text.indexOf(QLatin1Char(':'));
    if (!parseInt(colon < 0 ? text : text.left(colon), amount, 0, 100000000))
        return false;
    letters = colon < 0 ? QByteArray() : text.mid(colon + 1).toLatin1();
    return true;
}

// "L:FIELD:KIND".
bool parseFieldFault(const QString& text, QList<FieldFault>& faults)
{
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts.size() != 3 || parts[0].size() != 1)
        return false;
    static const std::map<QString, FieldFault::Kind> kinds = {
        {QStringLiteral("silent"), FieldFault::Kind::Silent},
        {QStringLiteral("garbage"), FieldFault::Kind::Garbage},
        {QStringLiteral("drop"), FieldFault::Kind::Drop}};
    const auto kind = kinds.find(parts[2]);
    FieldFault f;
    if (kind == kinds.end() || !parseInt(parts[1], f.field, 0, 100000000))
        return false;
    f.letter = parts[0].at(0).toLatin1();
    f.kind = kind->second;
    faults << f;
    return true;
}

// "HOST:PORT".
bool parseHostPort(const QString& text, QString& host, int& port)
{
    const int colon = text.lastIndexOf(QLatin1Char(':'));
    if (colon <= 0)
        return false;
    host = text.left(colon);
    return parseInt(text.mid(colon + 1), port, 0, 65535);
}

using Setter = std::function<bool(Options&, const QString&)>;

const std::map<QString, Setter>& valueOptions()
{
    static const std::map<QString, Setter> table = {
        {"--pty", [](Options& o, const QString& v) { o.ptyPath = v; return !v.isEmpty(); }},
        {"--tcp", [](Options& o, const QString& v) { return parseHostPort(v, o.tcpHost, o.tcpPort); }},
        {"--ftp", [](Options& o, const QString& v) { return parseHostPort(v, o.ftpHost, o.ftpPort); }},
        {"--ftp-account", [](Options& o, const QString& v) {
             const int colon = v.indexOf(QLatin1Char(':'));
             if (colon <= 0)
                 return false;
             o.ftpUser = v.left(colon).toUtf8();
             o.ftpPassword = v.mid(colon + 1).toUtf8();
             return true;
         }},
        {"--ftp-dir", [](Options& o, const QString& v) { o.ftpDirectory = v.toUtf8(); return !v.isEmpty(); }},
        {"--ftp-address", [](Options& o, const QString& v) {
             o.ftpAddress = v.toUtf8();
             o.ftpAddressGiven = true;
             return true;
         }},
        {"--telnet-offer", [](Options& o, const QString& v) {
             o.telnetOffer = QByteArray::fromHex(v.toLatin1());
             return !o.telnetOffer.isEmpty();
         }},
        {"--dial-ms", [](Options& o, const QString& v) { return parseInt(v, o.dialMs, 0, 600000); }},
        {"--dial-result", [](Options& o, const QString& v) {
             o.dialResult = v.toLatin1();
             return !v.isEmpty() && !v.contains(QLatin1Char('\r'));
         }},
        {"--ati3", [](Options& o, const QString& v) {
             o.ati3Answer = v.toLatin1().replace("\\r", "\r").replace("\\n", "\n");
             return !v.isEmpty();
         }},
        {"--guard-ms", [](Options& o, const QString& v) { return parseInt(v, o.guardMs, 10, 60000); }},
        {"--baud", [](Options& o, const QString& v) { return parseInt(v, o.baud, 0, 10000000); }},
        {"--gap-ms", [](Options& o, const QString& v) { return parseInt(v, o.gapMs, 1, 10000); }},
        {"--tcp-gap-ms", [](Options& o, const QString& v) { return parseInt(v, o.tcpGapMs, 1, 10000); }},
        {"--wake-idle", [](Options& o, const QString& v) { return parseInt(v, o.wakeIdleMs, 0, 3600000); }},
        {"--wire-log", [](Options& o, const QString& v) { o.wireLog = v; return !v.isEmpty(); }},
        {"--state-dump", [](Options& o, const QString& v) { o.stateDump = v; return !v.isEmpty(); }},
        {"--name", [](Options& o, const QString& v) { o.name = v; return !v.contains(QLatin1Char(',')); }},
        {"--model", [](Options& o, const QString& v) { return parseInt(v, o.model, 0, 1); }},
        {"--channels", [](Options& o, const QString& v) {
             const QStringList parts = v.split(QLatin1Char(','));
             if (parts.size() != 4)
                 return false;
             for (int m = 0; m < 4; ++m)
                 if (!parseInt(parts[m], o.channels[m], 0, 16))
                     return false;
             return true;
         }},
        {"--preload", [](Options& o, const QString& v) { return parseInt(v, o.preload, 0, 1000000); }},
        {"--memory", [](Options& o, const QString& v) { return parseInt(v, o.memoryTotal, 0, 1000000); }},
        {"--timer", [](Options& o, const QString& v) { return parseInt(v, o.timerSeconds, 1, 86399); }},
        {"--acquisition", [](Options& o, const QString& v) {
             int b = 0;
             const bool ok = parseInt(v, b, 0, 1);
             o.acquisition = b;
             return ok;
         }},
        {"--events", [](Options& o, const QString& v) {
             int b = 0;
             const bool ok = parseInt(v, b, 0, 1);
             o.eventsCounter = b;
             return ok;
         }},
        {"--speed", [](Options& o, const QString& v) {
             bool ok = false;
             o.speed = v.toDouble(&ok);
             return ok && o.speed > 0 && o.speed <= 1e6;
         }},
        {"--clock-offset", [](Options& o, const QString& v) {
             bool ok = false;
             o.clockOffsetSeconds = v.toLongLong(&ok);
             return ok && qAbs(o.clockOffsetSeconds) <= 100LL * 366 * 86400;
         }},
        {"--battery", [](Options& o, const QString& v) {
             bool ok = false;
             o.battery = v.toDouble(&ok);
             return ok && o.battery >= 0 && o.battery < 100;
         }},
        {"--seed", [](Options& o, const QString& v) {
             bool ok = false;
             o.seed = v.toUInt(&ok);
             return ok;
         }},
        {"--fault-silent-cmds", [](Options& o, const QString& v) { o.faults.silentCommands = v.toLatin1(); return true; }},
        {"--fault-slow", [](Options& o, const QString& v) {
             return parseAmountAndLetters(v, o.faults.slowMs, o.faults.slowCommands);
         }},
        {"--fault-truncate", [](Options& o, const QString& v) {
             return parseAmountAndLetters(v, o.faults.truncateBytes, o.faults.truncateCommands);
         }},
        {"--fault-garbage", [](Options& o, const QString& v) { o.faults.garbageCommands = v.toLatin1(); return !v.isEmpty(); }},
        {"--records", [](Options& o, const QString& v) { o.recordsFile = v; return !v.isEmpty(); }},
        {"--fault-columns", [](Options& o, const QString& v) {
             return parseInt(v, o.faults.claimedColumns, 0, 100000);
         }},
        {"--fault-at", [](Options& o, const QString& v) { return parseFieldFault(v, o.faults.fieldFaults); }},
        {"--fault-drop-after", [](Options& o, const QString& v) {
             int n = 0;
             const bool ok = parseInt(v, n, 0, 2000000000);
             o.faults.dropAfterBytes = n;
             return ok;
         }},
    };
    return table;
}

} // namespace

Options parseOptions(const QStringList& args, int& exitCode)
{
    Options o;
    o.telnetOffer = QByteArray::fromHex("fffd18fffb03fffd1f");
    exitCode = -1;
    QTextStream err(stderr);
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            QTextStream(stdout) << usageText();
            exitCode = 0;
            return o;
        }
        if (a == QLatin1String("--telnet")) { o.telnet = true; continue; }
        if (a == QLatin1String("--modem")) { o.modem = true; continue; }
        if (a == QLatin1String("--fault-silent")) { o.faults.silentAll = true; continue; }
        if (a == QLatin1String("--fault-ftp-mute")) { o.ftpMute = true; continue; }
        const auto it = valueOptions().find(a);
        if (it == valueOptions().end()) {
            err << "quorvel-sim: unknown option " << a << "\n" << usageText();
            exitCode = 2;
            return o;
        }
        if (i + 1 >= args.size() || !it->second(o, args[i + 1])) {
            err << "quorvel-sim: bad or missing value for " << a << "\n";
            exitCode = 2;
            return o;
        }
        ++i;
    }
    if (o.ptyPath.isEmpty() && o.tcpPort < 0) {
        err << "quorvel-sim: give --pty PATH and/or --tcp HOST:PORT\n" << usageText();
        exitCode = 2;
    }
    if (o.preload > o.memoryTotal)
        o.memoryTotal = qMin(o.preload, 99999);
    return o;
}
