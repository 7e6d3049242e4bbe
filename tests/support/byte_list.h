// Builds a byte string from numbers, for telnet sequences in tests.
#pragma once

#include <QByteArray>

#include <initializer_list>

inline QByteArray bytes(std::initializer_list<int> list)
{
    QByteArray b;
    for (int v : list)
        b.append(char(v));
    return b;
}
