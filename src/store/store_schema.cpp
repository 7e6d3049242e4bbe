// The schema in the two dialects. Both take the same statements for readings and runs;
// only the types of times and row numbers differ, and how the creation is locked.
#include "store/store_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

#include <optional>

namespace StoreSchema {

namespace {

// Any number that other users of a shared server are unlikely to take for their own lock.
constexpr qint64 creationLockKey = 7212508410;

QStringList statements(bool postgresql)
{
    const QString readingTime = postgresql ? QStringLiteral("TIMESTAMP") : QStringLiteral("TEXT");
    const QString runTime = postgresql ? QStringLiteral("TIMESTAMPTZ") : QStringLiteral("TEXT");
    const QString rowId = postgresql ? QStringLiteral("BIGINT GENERATED ALWAYS AS IDENTITY PRIMARY KEY")
                                     : QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    return {
        QStringLiteral("CREATE TABLE IF NOT EXISTS schema_version (version INTEGER NOT NULL)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS readings ("
                       " station TEXT NOT NULL,"
                       " time %1 NOT NULL,"
                       " channel INTEGER NOT NULL,"
                       " value DOUBLE PRECISION NOT NULL,"
                       " PRIMARY KEY (station, time, channel))").arg(readingTime),
        QStringLiteral("CREATE INDEX IF NOT EXISTS readings_by_channel ON readings (station, channel, time)"),
        QStringLiteral("CREATE TABLE IF NOT EXISTS runs ("
                       " id %1,"
                       " station TEXT NOT NULL,"
                       " host TEXT NOT NULL,"
                       " started %2 NOT NULL,"
                       " seconds DOUBLE PRECISION NOT NULL,"
                       " outcome TEXT NOT NULL,"
                       " records INTEGER NOT NULL,"
                       " last_reading %3,"
                       " message TEXT)").arg(rowId, runTime, readingTime),
        QStringLiteral("CREATE INDEX IF NOT EXISTS runs_by_station ON runs (station, started)"),
    };
}

QString failed(const QString& what, const QSqlError& error)
{
    return QStringLiteral("%1 (%2)").arg(what, error.text().simplified());
}

QString createAndCheck(QSqlDatabase& db, bool postgresql)
{
    QSqlQuery q(db);
    if (postgresql && !q.exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(creationLockKey)))
        return failed(QStringLiteral("the schema's lock could not be taken"), q.lastError());
    for (const QString& statement : statements(postgresql))
        if (!q.exec(statement))
            return failed(QStringLiteral("the schema could not be created"), q.lastError());
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !q.next())
        return failed(QStringLiteral("the schema's version could not be read"), q.lastError());
    if (q.value(0).isNull()) {
        if (!q.exec(QStringLiteral("INSERT INTO schema_version (version) VALUES (%1)").arg(version)))
            return failed(QStringLiteral("the schema's version could not be written"), q.lastError());
        return QString();
    }
    const int found = q.value(0).toInt();
    if (found > version)
        return QStringLiteral("its schema is version %1, newer than this collector's %2; "
                              "use a collector as new as the store").arg(found).arg(version);
    return QString();
}

// The version of a schema already there; nullopt when there is none yet (or it cannot be
// read, which the locked creation then says).
std::optional<int> existingVersion(QSqlDatabase& db)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT MAX(version) FROM schema_version")) || !q.next() || q.value(0).isNull())
        return std::nullopt;
    return q.value(0).toInt();
}

} // namespace

QString prepare(QSqlDatabase& db, bool postgresql)
{
    if (existingVersion(db) == version)
        return QString();  // the usual case: nothing to create, no lock to take
    QSqlQuery begin(db);
    // SQLite's own BEGIN takes its write lock only at the first write: IMMEDIATE takes it
    // now, so a second collector waits here instead of failing half-way.
    const bool begun = postgresql ? db.transaction() : begin.exec(QStringLiteral("BEGIN IMMEDIATE"));
    if (!begun)
        return failed(QStringLiteral("a transaction could not be started"),
                      postgresql ? db.lastError() : begin.lastError());
    begin.finish();
    const QString problem = createAndCheck(db, postgresql);
    if (!problem.isEmpty()) {
        db.rollback();
        return problem;
    }
    if (!db.commit())
        return failed(QStringLiteral("the schema could not be committed"), db.lastError());
    return QString();
}

} // namespace StoreSchema
