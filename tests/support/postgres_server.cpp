// The test's PostgreSQL server: initdb, then postgres itself as a child process.
#include "postgres_server.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <csignal>
#include <grp.h>
#include <pwd.h>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

// The newest server of Debian's packages.
QString serverBinaries()
{
    QDir versions(QStringLiteral("/usr/lib/postgresql"));
    QStringList found = versions.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    std::sort(found.begin(), found.end(), [](const QString& a, const QString& b) { return a.toInt() > b.toInt(); });
    for (const QString& v : found)
        if (QFile::exists(versions.filePath(v + QStringLiteral("/bin/postgres"))))
            return versions.filePath(v + QStringLiteral("/bin"));
    return QString();
}

struct ServerUser {
    bool change = false;
    uid_t uid = 0;
    gid_t gid = 0;
};

ServerUser serverUser()
{
    ServerUser user;
    if (::geteuid() != 0)
        return user;
    if (const passwd* nobody = ::getpwnam("nobody")) {
        user.change = true;
        user.uid = nobody->pw_uid;
        user.gid = nobody->pw_gid;
    }
    return user;
}

const QString superuser = QStringLiteral("quorvel");

} // namespace

PostgresServer::PostgresServer() : bin_(serverBinaries()) {}

PostgresServer::~PostgresServer() { stop(); }

void PostgresServer::prepareProcess(QProcess& p) const
{
    p.setWorkingDirectory(dir_.path());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C"));
    for (const char* name : {"PGDATA", "PGHOST", "PGPORT", "PGUSER", "PGDATABASE", "PGPASSWORD"})
        env.remove(QString::fromLatin1(name));
    p.setProcessEnvironment(env);
    const ServerUser user = serverUser();
    p.setChildProcessModifier([user] {
        if (user.change && (::setgroups(0, nullptr) != 0 || ::setgid(user.gid) != 0 || ::setuid(user.uid) != 0))
            ::_exit(126);
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);  // set after the user changes, which clears it
    });
}

bool PostgresServer::run(const QString& tool, const QStringList& args, QString* output, int timeoutMs)
{
    QProcess p;
    prepareProcess(p);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(bin_ + QLatin1Char('/') + tool, args);
    const bool finished = p.waitForFinished(timeoutMs);
    const QString said = QString::fromLocal8Bit(p.readAll());
    if (output)
        *output = said;
    if (!finished) {
        p.kill();
        p.waitForFinished(2000);
    }
    if (finished && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0)
        return true;
    error_ = QStringLiteral("%1 failed (%2): %3").arg(tool, finished ? QString::number(p.exitCode()) : "time-out", said);
    return false;
}

bool PostgresServer::makeCluster()
{
    if (bin_.isEmpty()) {
        error_ = QStringLiteral("no PostgreSQL server in /usr/lib/postgresql (./scripts/setup installs it)");
        return false;
    }
    const ServerUser user = serverUser();
    for (const char* sub : {"data", "socket"}) {
        const QString path = dir_.filePath(QString::fromLatin1(sub));
        if (!QDir().mkpath(path) || (user.change && ::chown(QFile::encodeName(path).constData(), user.uid, user.gid) != 0)) {
            error_ = QStringLiteral("%1 could not be prepared").arg(path);
            return false;
        }
    }
    QFile::setPermissions(dir_.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
    QFile::setPermissions(dir_.filePath("data"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    clusterMade_ = run(QStringLiteral("initdb"), {"-D", dir_.filePath("data"), "-U", superuser, "-A", "trust", "-E", "UTF8",
                                                  "--locale=C", "--no-sync", "--no-instructions"});
    return clusterMade_;
}

bool PostgresServer::start()
{
    if (!dir_.isValid()) {
        error_ = QStringLiteral("no temporary folder");
        return false;
    }
    if (!clusterMade_ && !makeCluster())
        return false;
    server_ = std::make_unique<QProcess>();
    prepareProcess(*server_);
    server_->setStandardOutputFile(dir_.filePath("server.log"), QIODevice::Append);
    server_->setStandardErrorFile(dir_.filePath("server.log"), QIODevice::Append);
    server_->start(bin_ + QStringLiteral("/postgres"),
                   {"-D", dir_.filePath("data"), "-k", dir_.filePath("socket"), "-c", "listen_addresses=", "-c",
                    "fsync=off", "-c", "max_connections=40"});
    const QDeadlineTimer deadline(30000);
    while (!deadline.hasExpired()) {
        if (run(QStringLiteral("pg_isready"), {"-q", "-h", dir_.filePath("socket"), "-U", superuser}))
            return true;
        if (server_->waitForFinished(100))
            break;  // it gave up: the log says why
    }
    QFile log(dir_.filePath("server.log"));
    log.open(QIODevice::ReadOnly);
    error_ = QStringLiteral("the server did not start: ") + QString::fromLocal8Bit(log.readAll().right(2000));
    stop();
    return false;
}

void PostgresServer::stop()
{
    if (!server_)
        return;
    if (isRunning()) {
        ::kill(pid_t(server_->processId()), SIGINT);
        if (!server_->waitForFinished(20000)) {
            server_->kill();
            server_->waitForFinished(2000);
        }
    }
    server_.reset();
}

bool PostgresServer::isRunning() const { return server_ && server_->state() != QProcess::NotRunning; }

QString PostgresServer::url(const QString& database) const
{
    return QStringLiteral("postgresql://%1@/%2?host=%3").arg(superuser, database, dir_.filePath("socket"));
}

bool PostgresServer::psql(const QString& sql, const QString& database, QString* output)
{
    return run(QStringLiteral("psql"), {"-X", "-q", "-A", "-t", "-v", "ON_ERROR_STOP=1", "-h", dir_.filePath("socket"),
                                        "-U", superuser, "-d", database, "-c", sql},
               output);
}

bool PostgresServer::createDatabase(const QString& name)
{
    return psql(QStringLiteral("CREATE DATABASE \"%1\"").arg(name));
}
