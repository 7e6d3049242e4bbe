// The continuous-reading file: its name, its lines, and appending them.
#include "data/continuous_file.h"

#include "data/text_file.h"

#include <QFile>

namespace ContinuousFile {

QString name(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("mc_%1-%2-%3_%4.%5.%6.txt")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute())
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

QString readingTime(const QDateTime& when)
{
    const QDate d = when.date();
    const QTime t = when.time();
    return QStringLiteral("%1/%2/%3 %4:%5:%6")
        .arg(d.day(), 2, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.year(), 4, 10, QLatin1Char('0'))
        .arg(t.hour(), 2, 10, QLatin1Char('0'))
        .arg(t.minute(), 2, 10, QLatin1Char('0'))
        .arg(t.second(), 2, 10, QLatin1Char('0'));
}

bool create(const QString& path, QString* errorText)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return true;
    if (errorText)
        *errorText = f.errorString();
    return false;
}

bool appendLine(const QString& path, const QString& line, QString* errorText)
{
    // Only appended to: what is already there is never touched.
    return TextFile::appendWhole(path, line.toLatin1() + "\r\n", errorText);
}

QString joinRow(const QStringList& cells) { return cells.join(QLatin1Char(',')); }

} // namespace ContinuousFile
