// Turning a block's record lines into readings, with the dates and numbers read as the
// historical chart reads them.
#include "store/block_readings.h"

#include "data/yearly_table.h"
#include "data/conversions.h"

#include <QDate>
#include <QTime>

#include <cmath>

namespace {

// The value as the charts read it (blanks anywhere skipped, "D" as well as "E" before an
// exponent), but one too large for a double is refused rather than read as 0.
double number(const QString& text, bool& ok)
{
    QString plain = text;
    plain.remove(QLatin1Char(' ')).remove(QLatin1Char('\t'));
    plain.replace(QLatin1Char('D'), QLatin1Char('E')).replace(QLatin1Char('d'), QLatin1Char('e'));
    const double value = plain.toDouble(&ok);
    ok = ok && std::isfinite(value) && Numbers::isNumeric(text);
    return value;
}

} // namespace

QString storeTime(const QByteArray& field)
{
    const std::optional<qint64> stamp = YearlyDates::parseStamp(field.constData(), field.constData() + field.size());
    if (!stamp)
        return QString();
    const QDate day = QDate::fromJulianDay(*stamp / YearlyDates::secondsPerDay);
    const QTime time = QTime(0, 0).addSecs(int(*stamp % YearlyDates::secondsPerDay));
    return day.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + time.toString(QStringLiteral("hh:mm:ss"));
}

QList<Reading> blockReadings(const QByteArray& block, QString* why)
{
    QList<Reading> readings;
    const auto refuse = [&](const QString& text) {
        if (why)
            *why = text;
        return QList<Reading>();
    };
    for (const QByteArray& raw : block.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        QList<QByteArray> fields = line.split(',');
        if (fields.size() > 1 && fields.last().trimmed().isEmpty())
            fields.removeLast();  // the comma that ends every value
        const QString time = storeTime(fields.first());
        if (time.isEmpty())
            return refuse(QStringLiteral("the reading time \"%1\" is not a day/month/year date")
                              .arg(QString::fromLatin1(fields.first().trimmed())));
        for (qsizetype i = 1; i < fields.size(); ++i) {
            const QString text = QString::fromLatin1(fields[i]).trimmed();
            if (text.isEmpty())
                continue;
            bool ok = false;
            const double value = number(text, ok);
            if (!ok)
                return refuse(QStringLiteral("the value \"%1\" of %2 is not a number the store can hold")
                                  .arg(text, time));
            readings.append({time, int(i - 1), value});
        }
    }
    return readings;
}
