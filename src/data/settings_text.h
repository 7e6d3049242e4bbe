// The operator's small settings files (comports.ini, the collector's stations file) read
// safely: where their lines end, whether a line is text, and any text taken from such a
// file put into a message printable and short, whatever bytes the file holds.
#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace SettingsText {

// The lines of text, without their ends: LF, CR LF and a lone CR each end a line, as
// editors of every kind leave them; a line end at the very end starts no new line.
QList<QByteArrayView> lines(QByteArrayView text);
// UTF-8 whose every character is printable, or a tab.
bool isText(QByteArrayView line);
// For a message: the printable characters as they are and every other byte as \xNN, at
// most `shown` characters, "..." after a cut.
QString printable(QByteArrayView text, int shown = 40);
QString printable(const QString& text, int shown = 40);

} // namespace SettingsText
