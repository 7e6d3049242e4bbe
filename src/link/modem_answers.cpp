// Recognising a modem's answers line by line.
#include "link/modem_answers.h"

#include <QRegularExpression>
#include <QStringList>

namespace ModemAnswers {

QString failedCall(const QString& block)
{
    static const QStringList endings = {QStringLiteral("NO CARRIER"), QStringLiteral("BUSY"),
                                        QStringLiteral("NO ANSWER"), QStringLiteral("NO DIALTONE"),
                                        QStringLiteral("ERROR")};
    static const QRegularExpression lineEnds(QStringLiteral("[\r\n]+"));
    for (const QString& line : block.split(lineEnds, Qt::SkipEmptyParts))
        if (endings.contains(line.trimmed()))
            return line.trimmed();
    return {};
}

} // namespace ModemAnswers
