// rk550.ini: one line with the last COM port, " n " and CR LF.
#include "data/port_settings.h"

#include "data/text_file.h"
#include "data/conversions.h"
#include "data/program_folder.h"

#include <QFile>
#include <QRegularExpression>

namespace PortSettings {

QString iniPath(const QString& folder) { return joinPath(folder, QStringLiteral("rk550.ini")); }

int load(const QString& path, bool* ok)
{
    if (ok)
        *ok = true;
    {
        QFile create(path);
        create.open(QIODevice::Append);  // exists, empty, when it was missing
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    static const QRegularExpression separators(QStringLiteral("[,\\s]+"));
    const QStringList items =
        QString::fromLatin1(file.readAll()).split(separators, Qt::SkipEmptyParts);
    int last = 0;
    for (const QString& item : items) {
        const auto value = Numbers::isNumeric(item)
                               ? Numbers::toInt16(Numbers::leadingNumber(item))
                               : std::nullopt;
        if (!value) {
            if (ok)
                *ok = false;
            return 0;
        }
        last = *value;
    }
    return last;
}

bool save(const QString& path, int port)
{
    return TextFile::replace(path, TextFile::crlfLines({Numbers::signedText(port) + QLatin1Char(' ')}));
}

} // namespace PortSettings
