// Reading the --store URL. Every part is checked here, so that a fault in it is said
// before any station is reached, not as a connection error in the middle of a run.
#include "store/store_url.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace {

const QString forms = QStringLiteral("give it as sqlite:PATH or postgresql://USER@HOST:PORT/DATABASE");

std::optional<StoreUrl> refuse(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return std::nullopt;
}

QString decoded(const QString& part) { return QUrl::fromPercentEncoding(part.toUtf8()); }

// A value handed to libpq as one of its keys: it must not end the key's value or start
// another one.
bool plainValue(const QString& value)
{
    static const QRegularExpression unsafe(QStringLiteral(R"([\s'\\;])"));
    return !value.isEmpty() && !value.contains(unsafe);
}

bool readPort(const QString& text, int& port)
{
    bool ok = false;
    const int p = text.toInt(&ok);
    if (!ok || p < 1 || p > 65535 || text.startsWith(QLatin1Char('+')))
        return false;
    port = p;
    return true;
}

// "host", "host:port", "[v6]" or "[v6]:port"; either may be empty.
bool readHostPort(const QString& text, StoreUrl& url)
{
    QString host = text;
    QString port;
    if (host.startsWith(QLatin1Char('['))) {
        const qsizetype close = host.indexOf(QLatin1Char(']'));
        if (close < 0)
            return false;
        port = host.mid(close + 1);
        host = host.mid(1, close - 1);
        if (!port.isEmpty() && !port.startsWith(QLatin1Char(':')))
            return false;
        port = port.mid(1);
    } else if (const qsizetype colon = host.lastIndexOf(QLatin1Char(':')); colon >= 0) {
        port = host.mid(colon + 1);
        host = host.left(colon);
    }
    url.host = decoded(host);
    return port.isEmpty() ? !text.endsWith(QLatin1Char(':')) : readPort(port, url.port);
}

std::optional<StoreUrl> readSqlite(const QString& rest, QString* why)
{
    StoreUrl url;
    url.kind = StoreUrl::Kind::Sqlite;
    if (rest.isEmpty() || !QDir::isAbsolutePath(rest))
        return refuse(why, QStringLiteral("sqlite:PATH needs the database file as an absolute path"));
    url.path = QDir::cleanPath(rest);
    return url;
}

std::optional<StoreUrl> readPostgresql(const QString& rest, QString* why)
{
    StoreUrl url;
    url.kind = StoreUrl::Kind::Postgresql;
    QString head = rest;
    QString query;
    if (const qsizetype q = head.indexOf(QLatin1Char('?')); q >= 0) {
        query = head.mid(q + 1);
        head = head.left(q);
    }
    QString authority = head;
    if (const qsizetype slash = head.indexOf(QLatin1Char('/')); slash >= 0) {
        authority = head.left(slash);
        url.database = decoded(head.mid(slash + 1));
        if (url.database.contains(QLatin1Char('/')))
            return refuse(why, QStringLiteral("the database name \"%1\" holds a \"/\"").arg(url.database));
    }
    if (const qsizetype at = authority.lastIndexOf(QLatin1Char('@')); at >= 0) {
        const QString userInfo = authority.left(at);
        authority = authority.mid(at + 1);
        const qsizetype colon = userInfo.indexOf(QLatin1Char(':'));
        url.user = decoded(userInfo.left(colon));
        if (colon >= 0)
            url.password = decoded(userInfo.mid(colon + 1));
    }
    if (!readHostPort(authority, url))
        return refuse(why, QStringLiteral("\"%1\" is not a HOST:PORT (a port is 1 to 65535)").arg(authority));
    for (const QString& pair : query.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        const QString key = pair.left(eq);
        const QString value = decoded(pair.mid(eq + 1));
        static const QRegularExpression keyName(QStringLiteral("^[a-z_]+$"));
        if (eq <= 0 || !keyName.match(key).hasMatch() || !plainValue(value))
            return refuse(why, QStringLiteral("\"%1\" is not a KEY=VALUE (VALUE without blanks, quotes, "
                                              "backslashes or \";\")").arg(pair));
        if (key == QLatin1String("host"))
            url.host = value;
        else if (key == QLatin1String("port") && !readPort(value, url.port))
            return refuse(why, QStringLiteral("port \"%1\" is not 1 to 65535").arg(value));
        else if (key == QLatin1String("user"))
            url.user = value;
        else if (key == QLatin1String("password"))
            url.password = value;
        else if (key == QLatin1String("dbname"))
            url.database = value;
        else if (key != QLatin1String("port"))
            url.options.append({key, value});
    }
    return url;
}

} // namespace

QString StoreUrl::shown() const
{
    if (kind == Kind::Sqlite)
        return QStringLiteral("sqlite:") + path;
    QString text = QStringLiteral("postgresql://");
    if (!user.isEmpty())
        text += user + QStringLiteral("@");
    text += host.startsWith(QLatin1Char('/')) ? QString() : host;
    if (port > 0)
        text += QStringLiteral(":%1").arg(port);
    text += QStringLiteral("/") + database;
    if (host.startsWith(QLatin1Char('/')))
        text += QStringLiteral("?host=") + host;
    return text;
}

QString StoreUrl::driver() const
{
    return kind == Kind::Sqlite ? QStringLiteral("QSQLITE") : QStringLiteral("QPSQL");
}

std::optional<StoreUrl> parseStoreUrl(const QString& text, QString* why)
{
    if (text.startsWith(QLatin1String("sqlite:")))
        return readSqlite(text.mid(7), why);
    for (const QLatin1String scheme : {QLatin1String("postgresql://"), QLatin1String("postgres://")})
        if (text.startsWith(scheme))
            return readPostgresql(text.mid(scheme.size()), why);
    return refuse(why, QStringLiteral("\"%1\" is not a store: %2").arg(text, forms));
}
