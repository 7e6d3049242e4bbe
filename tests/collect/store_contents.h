// What a readings store holds, read back with Qt SQL, and what it should hold after the
// blocks a simulated datalogger sent; both as "station|yyyy-MM-dd hh:mm:ss|channel|value"
// rows, sorted, so that a test compares them whole.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

struct StoreContents {
    QStringList readings;
    QStringList runs;  // "station|outcome|records", in the order they were written
    QString error;     // when the store could not be read
};

StoreContents storeContents(const QString& url);

// Every record line of blocks once (a block offered again after a run that did not
// confirm it holds lines already offered), in the order first sent.
QList<QByteArray> recordLines(const QList<QByteArray>& blocks);
// The readings of those lines for station.
QStringList expectedReadings(const QString& station, const QList<QByteArray>& lines);
// The record lines of a yearly file (the title left out), as they are in it.
QList<QByteArray> fileRecordLines(const QByteArray& file);
