// Fetching a small file from an FTP server (the address file a datalogger with a GPRS
// modem keeps there). The account goes to the transfer as options, never into the URL,
// so any character works in a password and none appears in a URL or a message. The
// transfer has a connect and a total time-out, can be cancelled, and keeps the user
// interface serviced while it runs.
#pragma once

#include <QByteArray>
#include <QString>

#include <functional>

namespace FtpFetch {

struct Request {
    QString site;        // host, or host:port
    QString directory;   // on the server, from its root
    QString fileName;
    QString user;
    QString password;
    int connectTimeoutMs = 15000;
    int totalTimeoutMs = 60000;
    qint64 maxBytes = 64 * 1024;  // a larger file is not what was asked for
};

struct Result {
    bool ok = false;
    bool cancelled = false;
    QByteArray data;
    QString error;  // the transfer library's own description, or why it did not start
};

// The URL of the file (no account in it); empty when the site is not a host name.
QByteArray url(const Request& request);
// Runs the transfer to its end, its time-out, or until cancelRequested() says so;
// whileWaiting runs between looks at the transfer (the caller's user interface).
Result fetch(const Request& request, const std::function<bool()>& cancelRequested = {},
             const std::function<void()>& whileWaiting = {});

} // namespace FtpFetch
