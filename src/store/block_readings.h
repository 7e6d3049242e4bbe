// The readings of a block of new data as the store keeps them: one per record and
// channel that has a value.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

struct Reading {
    QString time;     // the datalogger's clock, "yyyy-MM-dd hh:mm:ss"
    int channel = 0;  // 0 for the record's first value, as " CH0" in the yearly file
    double value = 0;
};

// A reading time as the datalogger writes it ("dd/mm/yyyy hh:mm:ss") as the store keeps
// it; empty when it is no date.
QString storeTime(const QByteArray& field);

// The block's lines, "dd/mm/yyyy hh:mm:ss,v0,v1,...," one per line; a blank value is no
// reading. Empty with why when a line's time is no date or a value is no finite number.
QList<Reading> blockReadings(const QByteArray& block, QString* why);
