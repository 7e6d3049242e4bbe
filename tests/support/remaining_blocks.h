// The blocks of new data a simulated datalogger sent, each as the yearly file must hold
// it: the text between its markers without the line break before the end marker. A
// block cut short (the link went before its end marker) is none.
#pragma once

#include "data/yearly_file.h"

#include <QByteArray>
#include <QList>

inline QList<QByteArray> blocksSent(const QByteArray& sent)
{
    QList<QByteArray> blocks;
    const QByteArray start = "***inizio***,";
    for (qsizetype at = sent.indexOf(start); at >= 0; at = sent.indexOf(start, at + 1)) {
        const qsizetype from = at + start.size();
        const qsizetype end = sent.indexOf("***fine***,", from);
        const qsizetype next = sent.indexOf(start, from);
        if (end >= 0 && (next < 0 || next > end))
            blocks << YearlyFile::blockText(sent.mid(from, end - from));
    }
    return blocks;
}

// How many records the blocks hold: the datalogger has handed over that many once it has
// had them all confirmed.
inline int recordsIn(const QList<QByteArray>& blocks)
{
    int n = 0;
    for (const QByteArray& b : blocks)
        n += b.isEmpty() ? 0 : int(b.count('\n')) + 1;
    return n;
}
