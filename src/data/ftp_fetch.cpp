// The FTP fetch over libcurl's multi interface, polled from the user-interface thread.
#include "data/ftp_fetch.h"

#include <QRegularExpression>
#include <QUrl>

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <utility>

namespace FtpFetch {

namespace {

constexpr int pollMs = 20;

struct Sink {
    QByteArray data;
    qint64 max = 0;
    bool tooLong = false;
};

size_t collect(char* bytes, size_t size, size_t count, void* user)
{
    auto* sink = static_cast<Sink*>(user);
    const size_t n = size * count;
    if (sink->data.size() + qint64(n) > sink->max) {
        sink->tooLong = true;
        return 0;  // ends the transfer
    }
    sink->data.append(bytes, qsizetype(n));
    return n;
}

bool validSite(const QString& site)
{
    // A host name, an IPv4 address or a bracketed IPv6 address, with an optional port.
    static const QRegularExpression host(
        QStringLiteral(R"(^([A-Za-z0-9]([A-Za-z0-9.-]*[A-Za-z0-9])?|\[[0-9A-Fa-f:.]+\])(:\d{1,5})?$)"));
    return host.match(site).hasMatch();
}

struct EasyDeleter {
    void operator()(CURL* e) const { curl_easy_cleanup(e); }
};
struct MultiDeleter {
    void operator()(CURLM* m) const { curl_multi_cleanup(m); }
};

} // namespace

QByteArray url(const Request& request)
{
    const QString site = request.site.trimmed();
    if (!validSite(site))
        return QByteArray();
    // "%2F" makes the path start at the server's root rather than the login folder.
    QByteArray path = "/%2F";
    for (const QString& part : request.directory.split(QLatin1Char('/'), Qt::SkipEmptyParts))
        path += QUrl::toPercentEncoding(part) + '/';
    return "ftp://" + site.toLatin1() + path + QUrl::toPercentEncoding(request.fileName);
}

Result fetch(const Request& request, const std::function<bool()>& cancelRequested,
             const std::function<void()>& whileWaiting)
{
    static std::once_flag initialised;
    std::call_once(initialised, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });

    Result result;
    const QByteArray address = url(request);
    if (address.isEmpty()) {
        result.error = QStringLiteral("\"%1\" is not an FTP site name.").arg(request.site);
        return result;
    }
    // The account travels in the FTP server's command lines: a line break in it would end
    // the USER or PASS line and start a command of its own.
    for (const auto& [what, text] : {std::pair{"user name", &request.user}, std::pair{"password", &request.password}})
        for (QChar c : *text)
            if (c.unicode() < 0x20 || c.unicode() == 0x7f) {
                result.error = QStringLiteral("The %1 holds a control character.").arg(QLatin1String(what));
                return result;
            }
    std::unique_ptr<CURL, EasyDeleter> easy(curl_easy_init());
    std::unique_ptr<CURLM, MultiDeleter> multi(curl_multi_init());
    Sink sink;
    sink.max = request.maxBytes;
    char errorText[CURL_ERROR_SIZE] = {};
    const QByteArray user = request.user.toUtf8();
    const QByteArray password = request.password.toUtf8();
    CURL* e = easy.get();
    curl_easy_setopt(e, CURLOPT_URL, address.constData());
    curl_easy_setopt(e, CURLOPT_PROTOCOLS_STR, "ftp");
    curl_easy_setopt(e, CURLOPT_USERNAME, user.constData());
    curl_easy_setopt(e, CURLOPT_PASSWORD, password.constData());
    // One RETR with the whole path, as the file is named on the server.
    curl_easy_setopt(e, CURLOPT_FTP_FILEMETHOD, long(CURLFTPMETHOD_NOCWD));
    curl_easy_setopt(e, CURLOPT_CONNECTTIMEOUT_MS, long(request.connectTimeoutMs));
    curl_easy_setopt(e, CURLOPT_TIMEOUT_MS, long(request.totalTimeoutMs));
    curl_easy_setopt(e, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(e, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(e, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(e, CURLOPT_ERRORBUFFER, errorText);
    curl_multi_add_handle(multi.get(), e);

    int running = 1;
    while (true) {
        curl_multi_perform(multi.get(), &running);
        if (!running)
            break;
        if (cancelRequested && cancelRequested()) {
            result.cancelled = true;
            result.error = QStringLiteral("The transfer was cancelled.");
            curl_multi_remove_handle(multi.get(), e);
            return result;
        }
        curl_multi_poll(multi.get(), nullptr, 0, pollMs, nullptr);
        if (whileWaiting)
            whileWaiting();
    }
    int left = 0;
    CURLcode code = CURLE_OK;
    while (CURLMsg* m = curl_multi_info_read(multi.get(), &left))
        if (m->msg == CURLMSG_DONE)
            code = m->data.result;
    curl_multi_remove_handle(multi.get(), e);
    if (sink.tooLong) {
        result.error = QStringLiteral("The file on the server is larger than %1 bytes.").arg(request.maxBytes);
        return result;
    }
    if (code != CURLE_OK) {
        result.error = QString::fromUtf8(*errorText ? errorText : curl_easy_strerror(code));
        return result;
    }
    result.ok = true;
    result.data = sink.data;
    return result;
}

} // namespace FtpFetch
