// Reading a store back, and the readings a test expects in it.
#include "store_contents.h"

#include "store/store_connection.h"

#include <QDateTime>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString timeText(const QVariant& v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return v.toString();
}

QString valueText(double v) { return QString::number(v, 'g', 10); }

void readInto(QSqlDatabase& db, StoreContents& c)
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("SELECT station, time, channel, value FROM readings"))) {
        c.error = q.lastError().text();
        return;
    }
    while (q.next())
        c.readings << QStringLiteral("%1|%2|%3|%4").arg(q.value(0).toString(), timeText(q.value(1)),
                                                        q.value(2).toString(), valueText(q.value(3).toDouble()));
    c.readings.sort();
    if (!q.exec(QStringLiteral("SELECT station, outcome, records FROM runs ORDER BY id"))) {
        c.error = q.lastError().text();
        return;
    }
    while (q.next())
        c.runs << QStringLiteral("%1|%2|%3").arg(q.value(0).toString(), q.value(1).toString(), q.value(2).toString());
}

} // namespace

StoreContents storeContents(const QString& url)
{
    StoreContents c;
    const std::optional<StoreUrl> parsed = parseStoreUrl(url, &c.error);
    if (!parsed)
        return c;
    const QString name = QStringLiteral("test-reader");
    c.error = openConnection(*parsed, 10000, name);
    if (c.error.isEmpty()) {
        QSqlDatabase db = QSqlDatabase::database(name, false);
        readInto(db, c);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return c;
}

QList<QByteArray> recordLines(const QList<QByteArray>& blocks)
{
    QList<QByteArray> lines;
    QSet<QByteArray> seen;
    for (const QByteArray& block : blocks)
        for (const QByteArray& raw : block.split('\n')) {
            const QByteArray line = raw.trimmed();
            if (!line.isEmpty() && !seen.contains(line)) {
                seen.insert(line);
                lines << line;
            }
        }
    return lines;
}

QStringList expectedReadings(const QString& station, const QList<QByteArray>& lines)
{
    QStringList readings;
    for (const QByteArray& line : lines) {
        const QList<QByteArray> fields = line.split(',');
        const QString time = QDateTime::fromString(QString::fromLatin1(fields[0]), QStringLiteral("dd/MM/yyyy hh:mm:ss"))
                                 .toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
        for (qsizetype i = 1; i < fields.size(); ++i)
            if (!fields[i].trimmed().isEmpty())
                readings << QStringLiteral("%1|%2|%3|%4").arg(station, time).arg(i - 1).arg(valueText(fields[i].toDouble()));
    }
    readings.sort();
    return readings;
}

QList<QByteArray> fileRecordLines(const QByteArray& file)
{
    QList<QByteArray> lines;
    const QList<QByteArray> all = file.split('\n');
    for (qsizetype i = 1; i < all.size(); ++i)
        if (const QByteArray line = all[i].trimmed(); !line.isEmpty())
            lines << line;
    return lines;
}
