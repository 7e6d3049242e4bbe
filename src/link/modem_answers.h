// What a Hayes modem says about a call: the answers after which no "CONNECT" can come.
#pragma once

#include <QString>

namespace ModemAnswers {

// The first line of block that ends a call attempt ("NO CARRIER", "BUSY", "NO ANSWER",
// "NO DIALTONE", "ERROR"); empty when there is none.
QString failedCall(const QString& block);

} // namespace ModemAnswers
