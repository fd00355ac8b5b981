#pragma once

#include "FieldDef.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace marubo::store {

class SqliteDb;

struct IndexDef {
    QString name; // the engine's name, unique within its table
    QStringList fields;
    bool unique = false;
};

// A table as the engine sees it: fields in order, primary key (empty: the row id,
// "RecordID"), table options as written, secondary indexes.
struct TableLayout {
    QString name;
    QList<FieldDef> fields;
    QStringList primaryKey;
    QString options;
    QList<IndexDef> indexes;

    qsizetype fieldIndex(const QString& fieldName) const { return indexOfField(fields, fieldName); }
    const IndexDef* findIndex(const QString& indexName) const;
};

// SQLite's index names are file-wide, the engine's are per table: in the file
// an index is named "<table>__<index>".
QString fileIndexName(const QString& table, const QString& index);

// SQLite statements that create the table and one of its indexes. The declared
// types are kept as written and the table options are kept in a comment inside
// the statement, so both can be read back from the file; options that would end
// that comment are refused with EngineError(Syntax).
QString createTableSql(const TableLayout& layout, bool ifNotExists);
QString createIndexSql(const QString& table, const IndexDef& index, bool ifNotExists,
                       const QStringList& descendingOrNocase = {});

// Reading back from a file. Table names ignore letter case.
std::optional<QString> findTableName(SqliteDb& db, const QString& name);
QStringList listTableNames(SqliteDb& db);
// Throws EngineError(NotFound) when the table does not exist.
TableLayout readTableLayout(SqliteDb& db, const QString& name);

} // namespace marubo::store
