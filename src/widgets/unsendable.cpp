// The values the wire cannot carry.
#include "widgets/unsendable.h"

#include "data/conversions.h"

QString unsendableReason(const QString& boxName, const QString& text)
{
    if (text.contains(QLatin1Char(',')))
        return boxName + QStringLiteral(" cannot contain a comma.");
    if (!Numbers::fitsTheWire(text))
        return boxName + QStringLiteral(" can only contain printable characters of the Latin-1 set.");
    return {};
}

QString refusalMessage(const QString& reason) { return reason + QStringLiteral(" Nothing was written."); }
