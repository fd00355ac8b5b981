#include "TableLayout.h"

#include "EngineError.h"
#include "SqlLexer.h"
#include "Sqlite.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace marubo::store {

namespace {

const QString kOptionsMarker = QStringLiteral("table options:");

QString quotedList(const QStringList& names) {
    QStringList quoted;
    for (const QString& name : names)
        quoted << quoteIdentifier(name);
    return quoted.join(QLatin1Char(','));
}

} // namespace

const IndexDef* TableLayout::findIndex(const QString& indexName) const {
    for (const IndexDef& index : indexes)
        if (index.name.compare(indexName, Qt::CaseInsensitive) == 0)
            return &index;
    return nullptr;
}

QString fileIndexName(const QString& table, const QString& index) {
    return table + QStringLiteral("__") + index;
}

QString createTableSql(const TableLayout& layout, bool ifNotExists) {
    QStringList items;
    for (const FieldDef& field : layout.fields)
        items << QStringLiteral("  %1 %2").arg(quoteIdentifier(field.name), field.declaredType);
    if (!layout.primaryKey.isEmpty())
        items << QStringLiteral("  PRIMARY KEY (%1)").arg(quotedList(layout.primaryKey));
    QString sql = QStringLiteral("CREATE TABLE %1%2 (\n%3")
                      .arg(ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(),
                           quoteIdentifier(layout.name), items.join(QStringLiteral(",\n")));
    if (layout.options.contains(QStringLiteral("*/")))
        throw EngineError(EngineError::Kind::Syntax,
                          QStringLiteral("テーブル「%1」のオプションに「*/」は使えません：%2")
                              .arg(layout.name, layout.options));
    if (!layout.options.isEmpty())
        sql += QStringLiteral("\n  /* %1 %2 */").arg(kOptionsMarker, layout.options);
    sql += QStringLiteral("\n)");
    return sql;
}

QString createIndexSql(const QString& table, const IndexDef& index, bool ifNotExists,
                       const QStringList& modifiers) {
    QStringList columns;
    for (qsizetype i = 0; i < index.fields.size(); ++i) {
        QString column = quoteIdentifier(index.fields[i]);
        if (i < modifiers.size() && !modifiers[i].isEmpty())
            column += QLatin1Char(' ') + modifiers[i];
        columns << column;
    }
    return QStringLiteral("CREATE %1INDEX %2%3 ON %4 (%5)")
        .arg(index.unique ? QStringLiteral("UNIQUE ") : QString(),
             ifNotExists ? QStringLiteral("IF NOT EXISTS ") : QString(),
             quoteIdentifier(fileIndexName(table, index.name)), quoteIdentifier(table),
             columns.join(QLatin1Char(',')));
}

std::optional<QString> findTableName(SqliteDb& db, const QString& name) {
    SqliteStatement find(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' "
                                            "AND name = ?1 COLLATE NOCASE"));
    find.bind(1, name);
    if (find.step())
        return find.column(0).toString();
    return std::nullopt;
}

QStringList listTableNames(SqliteDb& db) {
    SqliteStatement list(
        db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='table' "
                           "AND name NOT LIKE 'sqlite\\_%' ESCAPE '\\' ORDER BY rowid"));
    QStringList names;
    while (list.step())
        names << list.column(0).toString();
    return names;
}

TableLayout readTableLayout(SqliteDb& db, const QString& name) {
    SqliteStatement schema(db,
                           QStringLiteral("SELECT name, sql FROM sqlite_schema WHERE type='table' "
                                          "AND name = ?1 COLLATE NOCASE"));
    schema.bind(1, name);
    if (!schema.step())
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("テーブル「%1」がフォルダ「%2」にありません。")
                .arg(name, QDir::toNativeSeparators(QFileInfo(db.file()).absolutePath())));
    TableLayout layout;
    layout.name = schema.column(0).toString();
    const QString createSql = schema.column(1).toString();
    static const QRegularExpression optionsRe(
        QStringLiteral("/\\*\\s*table options:\\s*(.*?)\\s*\\*/"),
        QRegularExpression::DotMatchesEverythingOption);
    const auto options = optionsRe.match(createSql);
    if (options.hasMatch())
        layout.options = options.captured(1).simplified();

    SqliteStatement columns(
        db, QStringLiteral("SELECT name, type, pk FROM pragma_table_info(?1) ORDER BY cid"));
    columns.bind(1, layout.name);
    QList<std::pair<int, QString>> keyParts;
    while (columns.step()) {
        const QString fieldName = columns.column(0).toString();
        layout.fields << fieldDefFromDeclaration(fieldName, columns.column(1).toString());
        const int keyPosition = int(columns.columnInt64(2));
        if (keyPosition > 0)
            keyParts << std::make_pair(keyPosition, fieldName);
    }
    std::sort(keyParts.begin(), keyParts.end());
    for (const auto& part : keyParts)
        layout.primaryKey << part.second;

    SqliteStatement indexes(db, QStringLiteral("SELECT name, \"unique\" FROM pragma_index_list(?1) "
                                               "WHERE origin = 'c' ORDER BY seq"));
    indexes.bind(1, layout.name);
    const QString prefix = fileIndexName(layout.name, QString());
    QList<IndexDef> found;
    while (indexes.step()) {
        IndexDef index;
        const QString fileName = indexes.column(0).toString();
        index.name = fileName.startsWith(prefix, Qt::CaseInsensitive) ? fileName.mid(prefix.size())
                                                                      : fileName;
        index.unique = indexes.columnInt64(1) != 0;
        SqliteStatement parts(
            db, QStringLiteral("SELECT name FROM pragma_index_info(?1) ORDER BY seqno"));
        parts.bind(1, fileName);
        while (parts.step())
            index.fields << parts.column(0).toString();
        found << index;
    }
    // pragma_index_list lists the newest index first; keep the order of creation.
    SqliteStatement order(db, QStringLiteral("SELECT name FROM sqlite_schema WHERE type='index' "
                                             "AND tbl_name = ?1 ORDER BY rowid"));
    order.bind(1, layout.name);
    while (order.step()) {
        const QString fileName = order.column(0).toString();
        for (const IndexDef& index : found) {
            const QString expected = fileName.startsWith(prefix, Qt::CaseInsensitive)
                                         ? fileName.mid(prefix.size())
                                         : fileName;
            if (index.name == expected)
                layout.indexes << index;
        }
    }
    return layout;
}

} // namespace marubo::store
