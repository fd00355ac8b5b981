#pragma once

#include <QDir>
#include <QString>

namespace marubo::store {

// A data set is a folder; its tables live in this one SQLite file in it.
inline QString tablesFileName() {
    return QStringLiteral("tables.sqlite");
}

inline QString tablesFilePath(const QString& folder) {
    return QDir(folder).filePath(tablesFileName());
}

} // namespace marubo::store
