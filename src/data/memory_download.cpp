// Reading the recorded memory into the store and writing the data file from it.
#include "data/memory_download.h"

#include "data/coefficient_table.h"
#include "data/data_file_name.h"
#include "data/conversions.h"
#include "link/link.h"

#include <QRegularExpression>

#include <algorithm>

using Numbers::formatted;
using Numbers::signedText;
using Numbers::leadingNumber;

namespace MemoryDownload {

namespace {

const QString timeoutMark = QStringLiteral("%%");
constexpr int stampWidths[6] = {3, 3, 5, 3, 3, 3};

// The record or column count at the head of the reply.
int count(const QString& field)
{
    const double v = leadingNumber(field);
    return v > 0 ? int(qMin(v, 1e9)) : 0;
}

bool isCount(const QString& field)
{
    static const QRegularExpression digits(QStringLiteral("^ *[0-9]+ *$"));
    return digits.match(field).hasMatch();
}

// A time-stamp part or a value as the datalogger writes them: a decimal number, or
// nothing. Anything else is a field garbled on the line, which would be written as 0.
bool numberOrBlank(const QString& field)
{
    return field.trimmed().isEmpty() || Numbers::isNumeric(field);
}

// Writes text cut or blank-padded to width characters at dst.
void fitInto(char* dst, const QString& text, int width)
{
    const qsizetype n = qMin<qsizetype>(text.size(), width);
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = text[i].toLatin1();
    std::fill(dst + n, dst + width, ' ');
}

bool outOfRangeTemperature(const char* value)
{
    const double t = leadingNumber(QString::fromLatin1(value, Store::ValueWidth));
    return t < -30 || t > 80;
}

class Reader {
public:
    Reader(Link& link, const std::function<bool()>& cancelled) : link_(link), cancelled_(cancelled) {}
    // The next field; false when the download must end (see outcome()).
    bool next(QString& field)
    {
        if (cancelled_ && cancelled_()) {
            outcome_ = Outcome::Cancelled;
            return false;
        }
        field = link_.readField();
        if (field == timeoutMark) {
            outcome_ = (cancelled_ && cancelled_()) ? Outcome::Cancelled : Outcome::LinkLost;
            return false;
        }
        if (!numberOrBlank(field)) {
            outcome_ = Outcome::Garbled;
            garbled_ = field;
            return false;
        }
        return true;
    }
    Outcome outcome() const { return outcome_; }
    const QString& garbled() const { return garbled_; }

private:
    Link& link_;
    const std::function<bool()>& cancelled_;
    Outcome outcome_ = Outcome::Completed;
    QString garbled_;
};

// A field for a message: a garbled one may run to thousands of characters.
QString quoted(const QString& field)
{
    constexpr int shown = 40;
    return QLatin1Char('"') + field.left(shown) + (field.size() > shown ? QStringLiteral("...\"") : QStringLiteral("\""));
}

} // namespace

QByteArray fitted(const QString& text, int width)
{
    QByteArray out(width, ' ');
    fitInto(out.data(), text, width);
    return out;
}

QString valueText(const QString& field, const Options& options)
{
    if (options.kind == Kind::Temperatures)
        return formatted(leadingNumber(field), QStringLiteral("000.0"));
    if (options.modelCode == 0)
        return formatted(field, QStringLiteral("######0.0##"));
    const double hz = leadingNumber(field);
    return Numbers::plainNumber(options.digits ? hz * hz / 1000 : hz);
}

Result transfer(Link& link, const Options& options, const std::function<void(int)>& progress,
                const std::function<bool()>& cancelled)
{
    Result result;
    Store& store = result.store;
    if (!link.sendCommand(options.kind == Kind::Sensors ? QStringLiteral("A") : QStringLiteral("a"),
                                QString())) {
        result.outcome = Outcome::NotSent;
        return result;
    }
    // A datalogger silent from the start, or a count garbled on the line, is no download:
    // taken as 0 records it would replace the day's file with an empty one.
    const QString n = link.readField();
    if (n == timeoutMark) {
        result.outcome = Outcome::NoAnswer;
        return result;
    }
    if (!isCount(n)) {
        result.outcome = Outcome::Garbled;
        result.garbled = QStringLiteral("the record count ") + quoted(n);
        return result;
    }
    store.records = count(n);
    const QString k = link.readField();
    if (store.records > 0 && k == timeoutMark) {
        result.outcome = Outcome::LinkLost;
        store = Store();  // the record count read is no record held
        return result;
    }
    if (k != timeoutMark && !isCount(k)) {
        result.outcome = Outcome::Garbled;
        result.garbled = QStringLiteral("the channel count ") + quoted(k);
        store = Store();
        return result;
    }
    store.channels = count(k);
    store.rainGauge = options.kind == Kind::Sensors && options.rainGauge;
    if (store.records > Store::MaxRecords)
        result.outcome = Outcome::TooManyRecords;
    else if (store.columns() > Store::MaxColumns)
        result.outcome = Outcome::TooManyColumns;
    if (result.outcome != Outcome::Completed) {
        store = Store();
        return result;
    }

    Reader reader(link, cancelled);
    const qint64 total = qint64(store.channels + 6) * store.records;
    qint64 done = 0;
    store.stamps.reserve(store.records);
    store.values.reserve(store.records);
    QString field;
    for (int r = 0; r < store.records; ++r) {
        std::array<QByteArray, 6> stamp;
        for (int i = 0; i < 6; ++i) {
            if (!reader.next(field))
                break;
            stamp[size_t(i)] = fitted(field, stampWidths[i]);
        }
        QByteArray values(qsizetype(store.columns()) * Store::ValueWidth, ' ');
        char* row = values.data();
        for (int c = 0; c < store.channels && reader.outcome() == Outcome::Completed; ++c) {
            if (!reader.next(field))
                break;
            fitInto(row + qsizetype(c) * Store::ValueWidth, valueText(field, options), Store::ValueWidth);
            ++done;
        }
        if (store.rainGauge && reader.outcome() == Outcome::Completed && reader.next(field))
            fitInto(row + qsizetype(store.channels + 1) * Store::ValueWidth,
                    Numbers::plainNumber(leadingNumber(field)), Store::ValueWidth);
        if (reader.outcome() != Outcome::Completed) {
            result.outcome = reader.outcome();
            if (result.outcome == Outcome::Garbled)
                result.garbled = QStringLiteral("record ") + QString::number(r + 1) + QLatin1Char(' ')
                                 + quoted(reader.garbled());
            store = Store();
            return result;
        }
        store.stamps.append(stamp);
        store.values.append(std::move(values));
        done += 6;
        if (progress)
            progress(int(done * 100 / total));
    }
    if (options.kind == Kind::Temperatures) {
        for (QByteArray& row : store.values)
            for (qsizetype at = 0; at < row.size(); at += Store::ValueWidth)
                if (outOfRangeTemperature(row.constData() + at))
                    fitInto(row.data() + at, QStringLiteral("**N.C.**"), Store::ValueWidth);
    }
    return result;
}

QString fileName(const QString& dataloggerName, const QDate& date, Kind kind)
{
    return dataFileName(dataloggerName, date,
                        kind == Kind::Sensors ? QStringLiteral("_SENS") : QStringLiteral("_TEMP"));
}

namespace {

QString rightAligned(const QString& text, int width)
{
    return text.size() >= width ? text : QString(width - text.size(), QLatin1Char(' ')) + text;
}

// One line per configured analog channel: its number and its four coefficients.
QStringList sensorTable(const FileContext& context)
{
    QStringList lines;
    for (int m = 0; m < 4; ++m) {
        for (int k = 0; k < context.channelCounts[size_t(m)]; ++k) {
            const size_t a = size_t(16 * m + k);
            QString line = QStringLiteral("CANALE: ") + formatted(double(a), QStringLiteral("00"))
                           + QStringLiteral("  ") + QString(10, QLatin1Char(' '));
            const AnalogCoefficients& c = context.coefficients[a];
            for (double coefficient : {c.zeroVolt, c.fullScaleVolt, c.zeroUnit, c.fullScaleUnit})
                line += QStringLiteral("  ") + rightAligned(signedText(coefficient), 8);
            lines << line;
        }
    }
    return lines;
}

QByteArray recordLine(const Store& store, int r)
{
    QByteArray line = stampText(store, r).toLatin1() + "   ";
    line.reserve(line.size() + store.columns() * (Store::ValueWidth + 1) + 2);
    const char* row = store.values[r].constData();
    for (int c = 0; c < store.channels; ++c)
        line.append(',').append(row + qsizetype(c) * Store::ValueWidth, Store::ValueWidth);
    if (store.rainGauge)
        line.append(',').append(row + qsizetype(store.channels + 1) * Store::ValueWidth, Store::ValueWidth);
    return line + "\r\n";
}

} // namespace

QString stampText(const Store& store, int record)
{
    const auto& s = store.stamps[record];
    const auto two = [](const QByteArray& text) {
        return formatted(QString::fromLatin1(text), QStringLiteral("00"));
    };
    return two(s[0]) + QLatin1Char('/') + two(s[1]) + QLatin1Char('/') + two(s[2])
           + QLatin1Char(' ') + two(s[3]) + QLatin1Char('.') + two(s[4]) + QLatin1Char('.')
           + two(s[5]);
}

QByteArray fileText(const Store& store, const Options& options, const FileContext& context)
{
    QStringList head;
    head << QStringLiteral("DATA ACQ.: ") + context.date.toString(QStringLiteral("dd/MM/yyyy"))
                + QStringLiteral("  ") + context.time.toString(QStringLiteral("hh:mm:ss"))
                + QStringLiteral(",Numero Canali Attivi: ") + signedText(store.channels)
                + QStringLiteral(" ,Numero Dati per Canale: ") + QString(5, QLatin1Char(' '))
                + signedText(store.records);
    if (options.kind == Kind::Sensors) {
        head << QString();
        if (options.modelCode != 0)
            head << (options.digits ? QStringLiteral("VALUE IN (HZ^2)/1000 'DIGITS'")
                                    : QStringLiteral("VALUE IN HZ "));
        else
            head << sensorTable(context);
    }
    for (int i = 0; i < 5; ++i)
        head << QString();
    QByteArray text;
    for (const QString& line : head)
        text += line.toLatin1() + "\r\n";
    text.reserve(text.size() + store.records * (40 + store.columns() * (Store::ValueWidth + 1)));
    for (int r = 0; r < store.records; ++r)
        text += recordLine(store, r);
    return text;
}

} // namespace MemoryDownload
