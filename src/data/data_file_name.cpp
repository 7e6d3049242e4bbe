// The data files' names.
#include "data/data_file_name.h"

#include "data/conversions.h"

QString dataFileName(const QString& id, const QDate& date, const QString& suffix)
{
    QString safeId = id;
    safeId.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    safeId.remove(QChar(0));
    const auto two = [](int n) { return Numbers::formatted(double(n), QStringLiteral("00")); };
    return safeId + QLatin1Char('_') + two(date.day()) + QLatin1Char('_') + two(date.month())
        + QLatin1Char('_') + two(date.year() % 100) + suffix + QStringLiteral(".txt");
}

QString suggestedDataFileName(const QString& id, const QDate& date)
{
    return dataFileName(id, date, QStringLiteral("_VW"));
}
