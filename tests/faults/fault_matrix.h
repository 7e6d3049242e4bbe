// Rows of a fault matrix: at each step of an exchange the datalogger falls silent, garbles
// its answer, or the line drops; and what must hold after any of them.
#pragma once

#include "link/link.h"

#include <QElapsedTimer>
#include <QList>
#include <QStringList>
#include <QTest>

namespace FaultMatrix {

// One step: the reply to `letter`, from its field `field` (0 is the first).
struct Step {
    const char* name;
    char letter;
    int field = 0;
};

inline const QStringList& kinds()
{
    static const QStringList all = {"silent", "garbage", "drop"};
    return all;
}

// Columns "fault" (the simulator's options) and "kind"; one row per step and kind.
inline void addRows(const QList<Step>& steps, const QStringList& faultKinds = kinds())
{
    QTest::addColumn<QStringList>("fault");
    QTest::addColumn<QString>("kind");
    for (const Step& s : steps)
        for (const QString& kind : faultKinds) {
            const QString option = QStringLiteral("%1:%2:%3").arg(QLatin1Char(s.letter)).arg(s.field).arg(kind);
            QTest::newRow(qPrintable(QStringLiteral("%1, %2").arg(QLatin1String(s.name), kind)))
                << QStringList{"--fault-at", option} << kind;
        }
}

// A reply with the fault of a row, as the simulator makes it: "silent" ends the reply
// where field `field` would start, "drop" ends it there too and the line then goes,
// "garbage" puts junk in place of that field's characters (an empty field gets one). A
// reply without that field, or garbage at its very end, is left as it is.
struct FaultyReply {
    QByteArray bytes;
    bool drop = false;
};
inline FaultyReply faultyReply(const QByteArray& reply, int field, const QString& kind)
{
    FaultyReply r{reply, false};
    qsizetype start = 0;
    for (int f = 0; f < field; ++f) {
        start = reply.indexOf(',', start);
        if (start < 0)
            return r;
        ++start;
    }
    if (kind == QLatin1String("garbage") && start == reply.size())
        return r;
    if (kind == QLatin1String("garbage")) {
        static const char junk[] = "?#xQ!z@";
        const qsizetype comma = reply.indexOf(',', start);
        const qsizetype end = comma < 0 ? reply.size() : comma;
        if (end == start)
            r.bytes.insert(start, junk[0]);
        for (qsizetype i = start, k = 0; i < end; ++i)
            if (r.bytes[i] != '\r' && r.bytes[i] != '\n')
                r.bytes[i] = junk[k++ % 7];
    } else {
        r.bytes.truncate(start);
        r.drop = kind == QLatin1String("drop");
    }
    return r;
}

// Waits of a fault row: faults are found by silence, so the field time-out is short; the
// probe and the pauses, which no row measures, are cut to what the simulator needs.
inline void quicken(Link& link, int fieldTimeoutMs)
{
    Link::Settings s = link.settings();
    s.fieldTimeoutMs = fieldTimeoutMs;
    s.pausePercent = 2;
    s.probeSettleMs = 20;
    s.probeWindowMs = 300;
    s.probeTotalMs = 40;
    link.setSettings(s);
}

// The console's lock is released and the action ended within its time-outs.
inline bool settled(const Link& link, const QElapsedTimer& t, qint64 boundMs)
{
    if (link.commandLockDepth() != 0) {
        qWarning("the console is still locked");
        return false;
    }
    if (t.elapsed() > boundMs) {
        qWarning("took %lld ms, more than the time-outs allow (%lld ms)", t.elapsed(), boundMs);
        return false;
    }
    return true;
}

} // namespace FaultMatrix
