#pragma once

#include <QString>

namespace marubo {

// `path` with a native separator appended when it is not empty and does not
// end in one.
QString withTrailingSeparator(const QString& path);

// `path` with the native separator; no other change.
QString nativePath(const QString& path);

} // namespace marubo
