#pragma once

#include <QString>

namespace marubo {

// Creates every directory of `path`, one level at a time: each prefix that ends
// in a native separator is tried with a single-directory creation. Failures
// (already there, root, invalid name, no permission) are passed over. A last
// component without a trailing separator is not created.
// Returns true when this call created at least one directory.
bool MakeDirPath(const QString& path);

} // namespace marubo
