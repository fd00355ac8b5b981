#include "PathText.h"

#include <QDir>

namespace marubo {

QString withTrailingSeparator(const QString& path) {
    if (path.isEmpty() || path.endsWith(QDir::separator()))
        return path;
    return path + QDir::separator();
}

QString nativePath(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace marubo
