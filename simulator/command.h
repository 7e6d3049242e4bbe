// One command as the datalogger understood it: its letter(s) and the values that followed.
#pragma once

#include <QByteArray>
#include <QList>

struct Command {
    QByteArray letter;            // "A".."z", "[", "<", ...; "x" carries the SMS lines;
                                  // "AT" is a modem command line that reached the datalogger
    QList<QByteArray> values;     // without their commas; the "," trigger is one empty value

    bool bare() const { return values.isEmpty(); }
    QByteArray value(int i) const { return i < values.size() ? values[i] : QByteArray(); }
};
