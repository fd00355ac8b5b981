#pragma once

#include <QString>

namespace marubo {

namespace store {
class Table;
}

// HeadM keeps one row; its PathName1 is the last A-level path entered, with a
// trailing separator. Writes `path` into the open HeadM `headM` (the row is
// inserted when the table has none). A path longer than the field holds is not
// written: cut short it would name another folder at the next start, which
// would then be created; the last path that fitted is kept instead.
void writeRememberedPath(store::Table& headM, const QString& path);

// The path a chosen folder is written as: relative to the start-up directory
// `startDir` when inside it, with a trailing separator.
QString pathSeenFrom(const QString& startDir, const QString& folder);

// Writes `path` as the remembered A-level path of the start-up directory
// `startDir`, creating HeadM when it is missing. Engine errors propagate.
void rememberPathIn(const QString& startDir, const QString& path);

} // namespace marubo
