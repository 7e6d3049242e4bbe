// The memory download: the reply to "A" (sensor values) or "a" (temperatures) read field
// by field into a store, and the data file written from that store.
#pragma once

#include "data/coefficient_table.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QTime>

#include <array>
#include <functional>

class Link;

namespace MemoryDownload {

enum class Kind { Sensors, Temperatures };

struct Options {
    Kind kind = Kind::Sensors;
    qint16 modelCode = 1;    // 1 vibrating wire, 0 analog
    bool digits = false;     // vibrating wire: Hz squared / 1000 instead of Hz
    bool rainGauge = false;  // sensor download: one events-counter field per record
};

// Everything read, held until the last field has arrived.
struct Store {
    static constexpr int MaxRecords = 5000;
    static constexpr int MaxColumns = 128;
    static constexpr int ValueWidth = 10;

    int records = 0;   // N
    int channels = 0;  // K
    bool rainGauge = false;
    // Six fixed-width texts per record: day 3, month 3, year 5, hour 3, minute 3, second 3.
    QList<std::array<QByteArray, 6>> stamps;
    // Per record one row of columns 1..K (and K + 2 for the rain gauge), 10 characters
    // each, side by side.
    QList<QByteArray> values;

    int columns() const { return rainGauge ? channels + 2 : channels; }
    QByteArray value(int record, int column) const
    {
        return values[record].mid(qsizetype(column - 1) * ValueWidth, ValueWidth);
    }
};

enum class Outcome {
    Completed,
    NotSent,         // the command could not be sent: no datalogger on the line
    TooManyRecords,  // more than Store::MaxRecords
    TooManyColumns,  // more than Store::MaxColumns
    LinkLost,        // a field timed out after data had been flowing
    NoAnswer,        // the record count never came
    Garbled,         // a count or a record field that is no number
    Cancelled,
};

struct Result {
    Outcome outcome = Outcome::Completed;
    Store store;
    QString garbled;  // with Outcome::Garbled: which field, and its text
};

// Sends "A" or "a" and reads the reply. progress receives the percentage after each
// record; cancelled is asked between fields. Nothing is kept of a download that did not
// complete.
Result transfer(Link& link, const Options& options, const std::function<void(int percent)>& progress,
                const std::function<bool()>& cancelled);

// The text a value field becomes in the store, before it is fitted to 10 characters.
QString valueText(const QString& field, const Options& options);
// A text cut or blank-padded on the right to width characters.
QByteArray fitted(const QString& text, int width);

// What the file says above the records besides the header.
struct FileContext {
    QDate date;
    QTime time;
    std::array<int, 4> channelCounts{};  // the console's MUX(0..3): the analog sensor table
    CoefficientTable coefficients{};     // the analog sensor table's coefficients
};

// A record's time stamp as the file and the data table show it: dd/mm/yyyy hh.mm.ss,
// each part at least two digits.
QString stampText(const Store& store, int record);
// The whole data file, lines ended by CR LF.
QByteArray fileText(const Store& store, const Options& options, const FileContext& context);
// The file's name: NAME_dd_mm_yy_SENS.txt or _TEMP.txt.
QString fileName(const QString& dataloggerName, const QDate& date, Kind kind);

} // namespace MemoryDownload
