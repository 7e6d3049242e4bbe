// The store's tables: readings (a station, time and channel once only) and runs (one row
// per station per collection), with the schema's version in a table of its own.
#pragma once

#include <QString>

class QSqlDatabase;

namespace StoreSchema {

constexpr int version = 1;

// Creates what is missing, under a lock, so that collectors starting together on several
// machines create it once. Empty, or why the store cannot be used (a newer schema too).
QString prepare(QSqlDatabase& db, bool postgresql);

} // namespace StoreSchema
