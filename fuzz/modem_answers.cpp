// Fuzzes the modem poll's reading of what the modem said: an answer that ends a call is
// one of the modem's fixed answers, on a line of its own in what was received, and reads
// the same when given alone.
#include "link/modem_answers.h"
#include "support/fuzz_support.h"

#include <QRegularExpression>

using Fuzz::check;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString block = QString::fromLatin1(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString failed = ModemAnswers::failedCall(block);
    if (failed.isEmpty())
        return 0;
    static const QStringList answers = {QStringLiteral("NO CARRIER"), QStringLiteral("BUSY"),
                                        QStringLiteral("NO ANSWER"), QStringLiteral("NO DIALTONE"),
                                        QStringLiteral("ERROR")};
    check(answers.contains(failed), "an answer the modem never gives");
    bool onItsLine = false;
    static const QRegularExpression lineEnds(QStringLiteral("[\r\n]"));
    for (const QString& line : block.split(lineEnds))
        onItsLine = onItsLine || line.trimmed() == failed;
    check(onItsLine, "the answer is not a line of what was received");
    check(ModemAnswers::failedCall(failed) == failed, "the answer alone reads different");
    check(ModemAnswers::failedCall(QStringLiteral("\r\n") + block + QStringLiteral("\r\nCONNECT\r\n")) == failed,
          "an answer earlier in the block is not found first");
    return 0;
}
