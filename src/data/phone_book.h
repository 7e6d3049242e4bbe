// The phone books of the remote windows: "modem.ini" (name, number, date of each of the
// 70 entries), "last.ini" (the date of each entry's last connection), "pmodem.ini"
// (the port a modem was last found on) and "ftp.ini" (directory, FTP site, user name and
// password of each entry), all in the program's folder.
#pragma once

#include "data/text_file.h"

#include <QString>
#include <QStringList>

namespace PhoneBook {

constexpr int Entries = 70;

// What a book file held: its values in order (entry after entry, each entry's fields
// after one another) and whether it held all of them. A short file (the first run, an
// old or damaged file) gives what it has.
struct Values {
    QStringList values;
    bool complete = false;
};

// Reads up to `count` values; the file is created empty when it is missing.
Values readBook(const QString& path, int count);
// Writes the values one per line, each as the reader gives it back. False when the file
// could not be written; the file that was there is then untouched. A book that holds
// passwords is written with TextFile::Access::OwnerOnly.
bool writeBook(const QString& path, const QStringList& values,
               TextFile::Access access = TextFile::Access::Default);

// Whole lines, at most maxLines of them ("last.ini"); created empty when missing.
QStringList readLines(const QString& path, int maxLines);
bool writeLines(const QString& path, const QStringList& lines);

// "pmodem.ini": the port number (the last number in the file, 0 when there is none)
// and its writing as " n " CR LF.
int readPort(const QString& path);
bool writePort(const QString& path, int port);

// The files of the modem window in the program's folder.
QString modemBookPath(const QString& folder);   // modem.ini
QString lastPath(const QString& folder);        // last.ini
QString modemPortPath(const QString& folder);   // pmodem.ini
// The internet window's book in the program's folder.
QString ftpBookPath(const QString& folder);     // ftp.ini

} // namespace PhoneBook
