// Yearly files as the remaining-data download writes them (a title line, then one
// comma-terminated line per reading, CR LF), for the chart's tests, its benchmark and
// its picture. Written in pieces, so that a year of readings needs little memory.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>

#include <cmath>
#include <cstdio>

namespace YearlyFileMaker {

inline QByteArray titleLine(int channels)
{
    QByteArray t = "Date,";
    for (int k = 0; k < channels; ++k)
        t += " CH" + QByteArray::number(k) + ',';
    return t + "\r\n";
}

// A plausible vibrating-wire frequency of channel k at reading i taken every stepSeconds:
// a level per channel, a daily swing, a slow drift and a little noise.
inline double reading(int k, qint64 i, int stepSeconds)
{
    const double days = double(i) * stepSeconds / 86400.0;
    const double noise = double((i * 2654435761u + k * 40503u) % 1000) / 1000.0 - 0.5;
    return 700 + 350 * k + (12 + 3 * k) * std::sin(2 * M_PI * days + k) + 4 * k * std::sin(days / 9)
           + 1.5 * noise;
}

// rows readings every stepSeconds from start, channels values each; false when the
// file cannot be written.
inline bool write(const QString& path, int channels, const QDateTime& start, qint64 rows,
                  int stepSeconds)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QByteArray piece = titleLine(channels);
    piece.reserve(1 << 20);
    // Wall-clock time with no daylight-saving jumps, as the datalogger's clock keeps it.
    const QDateTime base(start.date(), start.time(), Qt::UTC);
    QDate day;
    char date[16] = {};
    for (qint64 i = 0; i < rows; ++i) {
        const QDateTime t = base.addSecs(i * stepSeconds);
        if (t.date() != day) {
            day = t.date();
            std::snprintf(date, sizeof date, "%02d/%02d/%04d", day.day(), day.month(), day.year());
        }
        const QTime tm = t.time();
        char line[32];
        std::snprintf(line, sizeof line, "%s %02d:%02d:%02d,", date, tm.hour(), tm.minute(), tm.second());
        piece += line;
        for (int k = 0; k < channels; ++k) {
            char v[24];
            std::snprintf(v, sizeof v, "%.2f,", reading(k, i, stepSeconds));
            piece += v;
        }
        piece += "\r\n";
        if (piece.size() > (1 << 20) - 256) {
            if (f.write(piece) != piece.size())
                return false;
            piece.clear();
        }
    }
    return f.write(piece) == piece.size() && f.flush();
}

} // namespace YearlyFileMaker
