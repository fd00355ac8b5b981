#pragma once

#include <QString>
#include <QtGlobal>

#include <chrono>

namespace marubo {

// Bounds that keep a download from blocking forever or filling the disk.
struct DownloadLimits {
    std::chrono::milliseconds connectTimeout{15000};
    // A transfer slower than lowSpeedBytesPerSecond for lowSpeedTime is given up.
    long lowSpeedBytesPerSecond = 1;
    std::chrono::seconds lowSpeedTime{30};
    std::chrono::seconds totalTimeout{600};
    qint64 maxBytes = 64 * 1024 * 1024;
    long maxRedirects = 5;
};

// True for an address we may fetch from: https, or http and https on a loopback
// host (127.0.0.1, ::1, localhost). Redirects are followed to https only.
bool isPermittedAddress(const QString& address);

// Stores the resource at `address` into `file`. The body goes to a temporary file
// in the target's folder, is flushed and synced, then renamed over `file`. Returns
// true exactly when a non-empty body arrived with a 2xx status within `limits`
// and replaced `file`; on any failure the temporary file is gone and an earlier
// `file` is untouched. Refuses an address that isPermittedAddress rejects without
// making a request. Blocks the calling thread until done.
bool DownloadFile(const QString& address, const QString& file, const DownloadLimits& limits = {});

} // namespace marubo
