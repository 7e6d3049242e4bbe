// The yearly file: its name, its title line, and appending blocks that survive a crash.
#include "data/yearly_file.h"

#include "data/text_file.h"
#include "link/conversions.h"
#include "link/program_folder.h"

#include <QFile>
#include <QRegularExpression>

namespace YearlyFile {

namespace {

bool fail(QFile& f, QString* errorText)
{
    if (errorText)
        *errorText = f.errorString();
    return false;
}

} // namespace

QString path(const QString& folder, int year)
{
    return joinPath(folder, QStringLiteral("data_%1.txt").arg(year));
}

QByteArray titleLine(int channels)
{
    QByteArray line = "Date,";
    for (int i = 0; i < channels; ++i)
        line += " CH" + QByteArray::number(i) + ',';
    return line;
}

std::optional<int> cleanNumber(const QString& text)
{
    QString digits = text;
    digits.remove(QLatin1Char('.')).remove(QLatin1Char(',')).remove(QLatin1Char('-'));
    bool ok = false;
    const int n = digits.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

QByteArray blockText(const QByteArray& received)
{
    QByteArray text = received;
    if (text.size() > 2)
        text.chop(2);
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && text.at(from) == ' ')
        ++from;
    while (to > from && text.at(to - 1) == ' ')
        --to;
    return text.mid(from, to - from);
}

QByteArray garbledLine(const QByteArray& block)
{
    // The reading time in whatever numeric form the datalogger writes it.
    static const QRegularExpression readingTime(QStringLiteral(R"(^\d[\d /:.-]*$)"));
    for (const QByteArray& raw : block.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty())
            continue;
        const QList<QByteArray> fields = line.split(',');
        bool sound = readingTime.match(QString::fromLatin1(fields.first().trimmed())).hasMatch();
        for (qsizetype i = 1; sound && i < fields.size(); ++i)
            sound = fields[i].trimmed().isEmpty() || Conversioni::IsNumeric(QString::fromLatin1(fields[i]));
        if (!sound)
            return line;
    }
    return {};
}

bool create(const QString& path, int channels, QString* errorText)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return fail(f, errorText);
    f.close();
    if (TextFile::appendWhole(path, titleLine(channels) + "\r\n", errorText))
        return true;
    f.remove();  // only ever our own empty file
    return false;
}

bool appendBlock(const QString& path, const QByteArray& block, QString* errorText)
{
    return TextFile::appendWhole(path, block + "\r\n", errorText);
}

} // namespace YearlyFile
