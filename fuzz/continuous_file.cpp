// Fuzzes the continuous-reading file: the name made from any date and time is one file
// that can be created in the folder; every line appended lands whole after what was
// there, which is never touched; a row of cells without commas splits back into them.
#include "data/continuous_file.h"
#include "data/program_folder.h"
#include "support/fuzz_support.h"

#include <QDir>
#include <QFileInfo>

using Fuzz::check;

namespace {

QDateTime anyTime(Fuzz::Input& in)
{
    // Dates far outside the datalogger's range included, and invalid ones.
    const QDate date = QDate::fromJulianDay(qint64(qint32(in.word())));
    const int hour = in.inRange(-1, 24);
    const int minute = in.inRange(-1, 60);
    const QTime time(hour, minute, in.inRange(-1, 60));
    return QDateTime(date, time);
}

QString anyText(Fuzz::Input& in, bool wide)
{
    const QByteArray s = in.text(64);
    return wide ? QString::fromUtf8(s) : QString::fromLatin1(s);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // wide, Julian day (4 bytes), hour, minute, second, then rows: cell count, cells
    Fuzz::Input in(data, size);
    const bool wide = in.byte() & 1;
    const QDateTime when = anyTime(in);
    const QString name = ContinuousFile::name(when);
    check(name.startsWith(QLatin1String("mc_")) && name.endsWith(QLatin1String(".txt")),
          "the file name lost its frame");
    check(!name.contains(QLatin1Char('/')) && !name.contains(QChar(0)), "the file name is no single name");
    const QString reading = ContinuousFile::readingTime(when);
    check(!reading.contains(QLatin1Char(',')) && !reading.contains(QLatin1Char('\n')),
          "the reading time would shift the line's fields");

    const QString path = Fuzz::freshFile(name);
    check(QFileInfo(path).absolutePath() == QDir(Fuzz::folder()).absolutePath(),
          "the file name leaves the folder");
    QString error;
    check(ContinuousFile::create(path, &error), "the file could not be created");
    check(Fuzz::readBytes(path).isEmpty(), "a created file is not empty");

    QByteArray expected;
    while (!in.empty()) {
        QStringList cells{reading};
        for (int n = in.inRange(0, 6); n > 0; --n)
            cells << anyText(in, wide);
        const QString line = ContinuousFile::joinRow(cells);
        bool commaFree = true;
        for (const QString& cell : cells)
            commaFree = commaFree && !cell.contains(QLatin1Char(','));
        if (commaFree)
            check(line.split(QLatin1Char(',')) == cells, "a row does not split back into its cells");
        check(ContinuousFile::appendLine(path, line, &error), "a line could not be appended");
        const QByteArray now = Fuzz::readBytes(path);
        check(now.startsWith(expected), "appending changed what was there");
        check(now.size() == expected.size() + line.size() + 2 && now.endsWith("\r\n"),
              "the line did not land whole");
        expected = now;
    }
    return 0;
}
