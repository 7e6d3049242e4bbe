// Opening the store: the driver's settings for SQLite and for PostgreSQL.
#include "store/store_connection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>

namespace {

// libpq's keys for a server that never answers: the connection, each statement, and a
// peer that is gone without a word are all bounded.
QString postgresqlOptions(const StoreUrl& url, int waitMs)
{
    QStringList given;
    QStringList options;
    for (const auto& [key, value] : url.options) {
        given << key;
        options << key + QLatin1Char('=') + value;
    }
    const auto fallback = [&](const QString& key, const QString& value) {
        if (!given.contains(key))
            options << key + QLatin1Char('=') + value;
    };
    fallback(QStringLiteral("connect_timeout"), QString::number(qMax(1, waitMs / 1000)));
    fallback(QStringLiteral("keepalives_idle"), QStringLiteral("30"));
    fallback(QStringLiteral("keepalives_interval"), QStringLiteral("10"));
    fallback(QStringLiteral("keepalives_count"), QStringLiteral("3"));
    fallback(QStringLiteral("tcp_user_timeout"), QString::number(waitMs));
    fallback(QStringLiteral("application_name"), QStringLiteral("quorvel-collect"));
    options << QStringLiteral("options='-c statement_timeout=%1 -c client_min_messages=warning'").arg(waitMs);
    return options.join(QLatin1Char(';'));
}

} // namespace

QString openConnection(const StoreUrl& url, int waitMs, const QString& name)
{
    if (!QSqlDatabase::isDriverAvailable(url.driver()))
        return QStringLiteral("Qt has no %1 driver here").arg(url.driver());
    QSqlDatabase db = QSqlDatabase::addDatabase(url.driver(), name);
    const bool postgresql = url.kind == StoreUrl::Kind::Postgresql;
    if (postgresql) {
        db.setHostName(url.host);
        if (url.port > 0)
            db.setPort(url.port);
        db.setUserName(url.user);
        db.setPassword(url.password);
        db.setDatabaseName(url.database);
        db.setConnectOptions(postgresqlOptions(url, waitMs));
    } else {
        if (!QDir().mkpath(QFileInfo(url.path).absolutePath()))
            return QStringLiteral("its folder could not be created");
        db.setDatabaseName(url.path);
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(waitMs));
    }
    if (!db.open())
        return db.lastError().text().simplified();
    if (!postgresql) {
        // Readers (a dashboard) do not stop a collector from writing, nor it them.
        QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode=WAL"));
    }
    return QString();
}
