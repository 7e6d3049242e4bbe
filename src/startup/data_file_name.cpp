// The suggested data-file name: the datalogger's ID and today's date.
#include "startup/data_file_name.h"

#include "link/conversions.h"

QString suggestedDataFileName(const QString& id, const QDate& date)
{
    QString safeId = id;
    safeId.replace(QLatin1Char('/'), QLatin1Char('_')).replace(QLatin1Char('\\'), QLatin1Char('_'));
    safeId.remove(QChar(0));
    const auto two = [](int n) { return Conversioni::Format(double(n), QStringLiteral("00")); };
    return safeId + QLatin1Char('_') + two(date.day()) + QLatin1Char('_') + two(date.month())
        + QLatin1Char('_') + two(date.year() % 100) + QStringLiteral("_VW.txt");
}
