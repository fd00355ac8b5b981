#pragma once

#include <QDir>
#include <QString>

namespace marubo::store {

// A data set is a folder; its tables live in this one SQLite file in it.
//
// Columns keep the engine's type names (MONEY, DATE, BOOLEAN, ...), which give
// them SQLite's NUMERIC affinity: a whole MONEY amount such as 100.0 is stored
// as the integer 100, while FLOAT columns hold REAL values. Whoever reads the
// file must accept an amount stored either way; the engine reads both as the
// same floating value.
inline QString tablesFileName() {
    return QStringLiteral("tables.sqlite");
}

inline QString tablesFilePath(const QString& folder) {
    return QDir(folder).filePath(tablesFileName());
}

} // namespace marubo::store
