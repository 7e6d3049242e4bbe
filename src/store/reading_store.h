// The database beside the yearly files: each block of new data goes into it in one
// transaction before the datalogger is told to forget it, and each station's collection
// leaves a row of its run. Keeping a block it already holds adds nothing.
#pragma once

#include "store/store_url.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

struct RunRecord {
    QString station;
    QDateTime started;
    double seconds = 0;
    bool ok = false;
    int records = 0;
    QString lastStamp;  // the last record's time as the datalogger wrote it; empty: none
    QString message;    // why it failed
};

class ReadingStore {
public:
    // waitMs bounds every wait for the database: a connection, a lock another collector
    // holds, a statement.
    ReadingStore(const StoreUrl& url, int waitMs);
    ~ReadingStore();
    ReadingStore(const ReadingStore&) = delete;
    ReadingStore& operator=(const ReadingStore&) = delete;

    // Connects and creates the schema when it is missing: empty, or why the store cannot
    // be used, in a sentence naming the store.
    QString open();
    // The block's readings of station, in one transaction; empty, or why not.
    QString keep(const QString& station, const QByteArray& block);
    QString recordRun(const RunRecord& run);

private:
    QString failure(const QString& what, const QString& detail) const;

    StoreUrl url_;
    int waitMs_;
    QString connection_;
};
