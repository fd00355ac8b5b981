#pragma once

#include "TableLayout.h"

#include <QString>
#include <QStringList>

namespace marubo::store {

// The statements of an engine script, in order, without comments; empty
// statements are left out.
QStringList splitSqlScript(const QString& script);

// One engine statement as SQLite runs it. CREATE TABLE keeps the declared types
// and records the table options; CREATE INDEX qualifies the index name by its
// table; a primary key on "RecordID" becomes SQLite's own row id. Other
// statements are standard SQL and pass unchanged.
struct TranslatedStatement {
    QString sql;
    bool isQuery = false; // a SELECT that returns rows
    bool changesSchema = false;
};
TranslatedStatement translateStatement(const QString& statement);

// The layout declared by an engine CREATE TABLE statement (secondary indexes not
// included). Throws EngineError(Syntax) when it is not one.
TableLayout parseCreateTable(const QString& statement, bool* ifNotExists = nullptr);

// The table and index declared by an engine CREATE INDEX statement.
std::pair<QString, IndexDef> parseCreateIndex(const QString& statement);

// The tables a creation script declares, in order, each with its indexes.
QList<TableLayout> layoutsOfScript(const QString& script);

} // namespace marubo::store
