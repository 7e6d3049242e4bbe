// A PostgreSQL server from Debian's packages for a test: a cluster made in a temporary
// folder and served on a Unix socket there only (no TCP port to clash with anything).
// The server refuses to run as root, so under root it runs as the unprivileged "nobody".
// It is a child of the test, stopped when the object goes and killed with the test when
// the test dies.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

#include <memory>

class PostgresServer {
public:
    PostgresServer();
    ~PostgresServer();  // stops it

    // Makes the cluster the first time, then starts the server and waits until it takes
    // connections; false with why (in error()) otherwise.
    bool start();
    // A fast shutdown: connections are ended, the server is gone when this returns.
    void stop();
    bool isRunning() const;
    QString error() const { return error_; }

    // The collector's --store for database name on this server.
    QString url(const QString& database) const;
    // Runs SQL with psql against database (postgres: the server's own); false with
    // error() set when it fails. output gets the rows, one a line, fields split by "|".
    bool psql(const QString& sql, const QString& database = QStringLiteral("postgres"), QString* output = nullptr);
    bool createDatabase(const QString& name);

private:
    bool run(const QString& tool, const QStringList& args, QString* output = nullptr, int timeoutMs = 60000);
    void prepareProcess(QProcess& p) const;
    bool makeCluster();

    QTemporaryDir dir_;
    QString bin_;
    QString error_;
    bool clusterMade_ = false;
    std::unique_ptr<QProcess> server_;
};
