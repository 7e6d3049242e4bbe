// quorvel-sim: a datalogger on a pseudo-terminal and/or a TCP port, for demos and tests.
#include "datalogger.h"
#include "ftp_server.h"
#include "options.h"
#include "pty_transport.h"
#include "session.h"
#include "state_dump.h"
#include "tcp_transport.h"
#include "wire_log.h"

#include <QCoreApplication>
#include <QTextStream>

#include <clocale>
#include <memory>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Numbers on the wire always use "." whatever the user's locale says.
    std::setlocale(LC_NUMERIC, "C");

    int exitCode = -1;
    const Options options = parseOptions(app.arguments(), exitCode);
    if (exitCode >= 0)
        return exitCode;

    QTextStream out(stdout);
    QTextStream err(stderr);
    WireLog wireLog;
    if (!options.wireLog.isEmpty() && !wireLog.open(options.wireLog)) {
        err << "quorvel-sim: cannot write the wire log " << options.wireLog << "\n";
        return 1;
    }
    Datalogger logger(options);
    WireLog* log = options.wireLog.isEmpty() ? nullptr : &wireLog;

    std::unique_ptr<PtyTransport> pty;
    std::unique_ptr<TcpTransport> tcp;
    std::unique_ptr<Session> ptySession, tcpSession;
    QString error;
    if (!options.ptyPath.isEmpty()) {
        pty = std::make_unique<PtyTransport>();
        if (!pty->open(options.ptyPath, error)) {
            err << "quorvel-sim: " << error << "\n";
            return 1;
        }
        ptySession = std::make_unique<Session>(pty.get(), &logger, log, options);
        out << "pty ready at " << options.ptyPath << " (" << pty->slaveName() << ")\n";
    }
    if (options.tcpPort >= 0) {
        tcp = std::make_unique<TcpTransport>();
        if (!tcp->listen(options.tcpHost, quint16(options.tcpPort), error)) {
            err << "quorvel-sim: " << error << "\n";
            return 1;
        }
        tcpSession = std::make_unique<Session>(tcp.get(), &logger, log, options);
        out << "tcp listening on " << options.tcpHost << ":" << tcp->port() << "\n";
    }
    std::unique_ptr<FtpServer> ftp;
    if (options.ftpPort >= 0) {
        ftp = std::make_unique<FtpServer>(FtpServer::Account{options.ftpUser, options.ftpPassword}, options.ftpMute);
        if (!ftp->listen(options.ftpHost, quint16(options.ftpPort), error)) {
            err << "quorvel-sim: " << error << "\n";
            return 1;
        }
        const QByteArray address = options.ftpAddressGiven ? options.ftpAddress
                                   : (tcp ? options.tcpHost.toUtf8() : QByteArray("127.0.0.1")) + "OK";
        ftp->setFile('/' + options.ftpDirectory + "/IPaddress.ip", address + ",\r\n");
        out << "ftp listening on " << options.ftpHost << ":" << ftp->port() << "\n";
    }
    out.flush();

    StateDump dump(options.stateDump, [&] {
        QJsonObject o = logger.toJson();
        if (ptySession)
            o["pty"] = ptySession->toJson();
        if (tcpSession)
            o["tcp"] = tcpSession->toJson();
        if (ftp)
            o["ftp"] = QJsonObject{{"logins", ftp->logins()}, {"retrievals", ftp->retrievals()}};
        return o;
    });
    dump.installSignalHandlers();
    const int rc = app.exec();
    dump.write();
    return rc;
}
