// The store through Qt SQL: SQLite for one machine, PostgreSQL for an office's several.
#include "store/reading_store.h"

#include "store/block_readings.h"
#include "store/store_connection.h"
#include "store/store_schema.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QVariant>

namespace {

// Rows per INSERT: four values each, under SQLite's oldest limit of 999 parameters.
constexpr int rowsPerInsert = 200;

QString errorText(const QSqlError& error) { return error.text().simplified(); }

QString insertStatement(int rows)
{
    QString sql = QStringLiteral("INSERT INTO readings (station, time, channel, value) VALUES ");
    for (int i = 0; i < rows; ++i)
        sql += i == 0 ? QStringLiteral("(?, ?, ?, ?)") : QStringLiteral(", (?, ?, ?, ?)");
    // A block the store already holds: the collector stopped after its commit and before
    // the datalogger heard "]", so the datalogger offers it again.
    return sql + QStringLiteral(" ON CONFLICT (station, time, channel) DO NOTHING");
}

} // namespace

ReadingStore::ReadingStore(const StoreUrl& url, int waitMs) : url_(url), waitMs_(waitMs)
{
    // Unique while this store lives; its connection goes with it.
    connection_ = QStringLiteral("quorvel-store-%1").arg(quintptr(this), 0, 16);
}

ReadingStore::~ReadingStore()
{
    if (!QSqlDatabase::contains(connection_))
        return;
    QSqlDatabase::database(connection_, false).close();
    QSqlDatabase::removeDatabase(connection_);
}

QString ReadingStore::failure(const QString& what, const QString& detail) const
{
    return QStringLiteral("The store %1 %2 (%3)").arg(url_.shown(), what, detail);
}

QString ReadingStore::open()
{
    if (const QString problem = openConnection(url_, waitMs_, connection_); !problem.isEmpty())
        return failure(QStringLiteral("cannot be opened"), problem);
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (const QString problem = StoreSchema::prepare(db, url_.kind == StoreUrl::Kind::Postgresql); !problem.isEmpty())
        return QStringLiteral("The store %1 cannot be used: %2").arg(url_.shown(), problem);
    return QString();
}

QString ReadingStore::keep(const QString& station, const QByteArray& block)
{
    QString why;
    const QList<Reading> readings = blockReadings(block, &why);
    if (!why.isEmpty())
        return failure(QStringLiteral("cannot take the block"), why);
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    if (!db.transaction())
        return failure(QStringLiteral("did not take the block"), errorText(db.lastError()));
    QSqlQuery insert(db);
    int prepared = -1;
    for (qsizetype from = 0; from < readings.size(); from += rowsPerInsert) {
        const int rows = int(qMin<qsizetype>(rowsPerInsert, readings.size() - from));
        if (rows != prepared && !insert.prepare(insertStatement(rows))) {
            const QString text = errorText(insert.lastError());
            db.rollback();
            return failure(QStringLiteral("did not take the block"), text);
        }
        prepared = rows;
        for (int i = 0; i < rows; ++i) {
            const Reading& r = readings[from + i];
            insert.bindValue(4 * i, station);
            insert.bindValue(4 * i + 1, r.time);
            insert.bindValue(4 * i + 2, r.channel);
            insert.bindValue(4 * i + 3, r.value);
        }
        if (!insert.exec()) {
            const QString text = errorText(insert.lastError());
            db.rollback();
            return failure(QStringLiteral("did not take the block"), text);
        }
    }
    insert.finish();
    if (!db.commit())
        return failure(QStringLiteral("did not take the block"), errorText(db.lastError()));
    return QString();
}

QString ReadingStore::recordRun(const RunRecord& run)
{
    QSqlDatabase db = QSqlDatabase::database(connection_, false);
    QSqlQuery q(db);
    q.prepare(QStringLiteral("INSERT INTO runs (station, host, started, seconds, outcome, records, last_reading, message)"
                             " VALUES (?, ?, ?, ?, ?, ?, ?, ?)"));
    q.addBindValue(run.station);
    q.addBindValue(QSysInfo::machineHostName());
    q.addBindValue(run.started.toUTC().toString(Qt::ISODate));
    q.addBindValue(run.seconds);
    q.addBindValue(run.ok ? QStringLiteral("ok") : QStringLiteral("failed"));
    q.addBindValue(run.records);
    const QString last = storeTime(run.lastStamp.toLatin1());
    q.addBindValue(last.isEmpty() ? QVariant() : QVariant(last));
    q.addBindValue(run.message.isEmpty() ? QVariant() : QVariant(run.message));
    if (!q.exec())
        return failure(QStringLiteral("did not take the run's record"), errorText(q.lastError()));
    return QString();
}
