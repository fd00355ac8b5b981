#include "DownloadFile.h"

#include <QSaveFile>
#include <QtDebug>

#include <curl/curl.h>

#include <memory>

namespace marubo {

namespace {

// libcurl's global state, set up once for the process.
void ensureCurlReady() {
    struct Global {
        Global() { curl_global_init(CURL_GLOBAL_DEFAULT); }
        ~Global() { curl_global_cleanup(); }
    };
    static Global global;
}

struct UrlDeleter {
    void operator()(CURLU* url) const { curl_url_cleanup(url); }
};
struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct TextDeleter {
    void operator()(char* text) const { curl_free(text); }
};
using UrlHandle = std::unique_ptr<CURLU, UrlDeleter>;
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using CurlText = std::unique_ptr<char, TextDeleter>;

enum class AddressKind { Refused, Remote, Loopback };

QString urlPart(CURLU* url, CURLUPart part) {
    char* text = nullptr;
    if (curl_url_get(url, part, &text, 0) != CURLUE_OK)
        return {};
    CurlText owned(text);
    return QString::fromUtf8(owned.get());
}

// Parsed by libcurl itself, so that the host we check is the host it connects to.
AddressKind classify(CURLU* url, const QString& address) {
    if (curl_url_set(url, CURLUPART_URL, address.toUtf8().constData(), 0) != CURLUE_OK)
        return AddressKind::Refused;
    const QString scheme = urlPart(url, CURLUPART_SCHEME).toLower();
    const QString host = urlPart(url, CURLUPART_HOST).toLower();
    if (host.isEmpty())
        return AddressKind::Refused;
    const bool loopback =
        host == u"127.0.0.1" || host == u"[::1]" || host == u"::1" || host == u"localhost";
    if (scheme == u"https")
        return loopback ? AddressKind::Loopback : AddressKind::Remote;
    if (scheme == u"http" && loopback)
        return AddressKind::Loopback;
    return AddressKind::Refused;
}

// Where the body goes while it arrives; refuses more than `limit` bytes.
struct BodySink {
    QSaveFile& file;
    qint64 limit;
    qint64 written = 0;
    bool tooLarge = false;
};

size_t writeBody(char* data, size_t size, size_t count, void* user) {
    auto* sink = static_cast<BodySink*>(user);
    const qint64 bytes = qint64(size * count);
    if (sink->written + bytes > sink->limit) {
        sink->tooLarge = true;
        return 0; // a short count makes libcurl abort the transfer
    }
    if (sink->file.write(data, bytes) != bytes)
        return 0;
    sink->written += bytes;
    return size_t(bytes);
}

bool transfer(CURLU* url, AddressKind kind, QSaveFile& file, const DownloadLimits& limits) {
    EasyHandle easy(curl_easy_init());
    if (!easy)
        return false;
    CURL* curl = easy.get();
    BodySink sink{file, limits.maxBytes};
    char errorText[CURL_ERROR_SIZE] = {};

    curl_easy_setopt(curl, CURLOPT_CURLU, url);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR,
                     kind == AddressKind::Loopback ? "http,https" : "https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, limits.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 2L);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, long(limits.connectTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, limits.lowSpeedBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, long(limits.lowSpeedTime.count()));
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, long(limits.totalTimeout.count()));
    curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, curl_off_t(limits.maxBytes));
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Marubo");
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, &writeBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);

    const CURLcode result = curl_easy_perform(curl);
    if (result != CURLE_OK) {
        qWarning("download failed: %s", errorText[0] ? errorText : curl_easy_strerror(result));
        return false;
    }
    // FAILONERROR can let an authentication answer (401, 407) through; only a
    // success status with a body counts.
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) {
        qWarning("download failed: HTTP status %ld", status);
        return false;
    }
    if (sink.written == 0) {
        qWarning("download failed: empty body");
        return false;
    }
    return true;
}

} // namespace

bool isPermittedAddress(const QString& address) {
    UrlHandle url(curl_url());
    return url && classify(url.get(), address) != AddressKind::Refused;
}

bool DownloadFile(const QString& address, const QString& file, const DownloadLimits& limits) {
    try {
        ensureCurlReady();
        UrlHandle url(curl_url());
        if (!url)
            return false;
        const AddressKind kind = classify(url.get(), address);
        if (kind == AddressKind::Refused) {
            qWarning("download refused: not an https address: %s", qUtf8Printable(address));
            return false;
        }
        // QSaveFile writes beside the target, syncs and renames on commit, and
        // removes its temporary file when it is destroyed uncommitted.
        QSaveFile target(file);
        if (!target.open(QIODevice::WriteOnly)) {
            qWarning("download failed: %s", qUtf8Printable(target.errorString()));
            return false;
        }
        if (!transfer(url.get(), kind, target, limits)) {
            target.cancelWriting();
            return false;
        }
        if (!target.commit()) {
            qWarning("download failed: %s", qUtf8Printable(target.errorString()));
            return false;
        }
        return true;
    } catch (...) {
        return false;
    }
}

} // namespace marubo
