// Where the readings store is, as the collector's --store names it: "sqlite:PATH" (a
// file on this machine) or "postgresql://[USER[:PASSWORD]@][HOST][:PORT][/DATABASE][?K=V&...]"
// (a server that several collector machines share; the query keys are libpq's, such as
// host=/run/postgresql for a socket folder, or sslmode=require).
#pragma once

#include <QList>
#include <QPair>
#include <QString>

#include <optional>

struct StoreUrl {
    enum class Kind { Sqlite, Postgresql };
    Kind kind = Kind::Sqlite;
    QString path;      // sqlite: the database file, an absolute path
    QString host;      // postgresql: a host name, an address or a socket folder; empty: libpq's default
    int port = -1;     // -1: libpq's default
    QString user;
    QString password;
    QString database;
    QList<QPair<QString, QString>> options;  // the query's libpq keys, in order

    // The URL as it may be shown: without its password.
    QString shown() const;
    // The Qt SQL driver that opens it.
    QString driver() const;
};

// The store that text names, or nullopt with why it is not one (what a store URL looks
// like, and which part is wrong).
std::optional<StoreUrl> parseStoreUrl(const QString& text, QString* why);
