// A Qt SQL connection to the store a URL names, with every wait bounded.
#pragma once

#include "store/store_url.h"

#include <QString>

// Adds and opens the connection called name (QSqlDatabase::database(name) then gives
// it); empty, or the driver's reason in one line. The caller removes the connection.
QString openConnection(const StoreUrl& url, int waitMs, const QString& name);
