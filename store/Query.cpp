#include "Query.h"

#include "EngineError.h"
#include "FileConnection.h"
#include "SqlScript.h"

#include <QDir>

namespace marubo::store {

Query::Query(Session& session, const QString& databaseName) : DataSet(session) {
    setDatabaseName(databaseName);
}

Query::~Query() {
    close();
}

void Query::setSql(const QString& text) {
    if (isActive())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("クエリは開いているため、SQL文を変えられません。"));
    sql_ = text;
}

QString Query::displayName() const {
    const QString text = sql_.simplified();
    return text.size() > 60 ? text.left(60) + QStringLiteral("…") : text;
}

void Query::execSql() {
    if (isActive())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("クエリは開いているため、SQL文を実行できません。"));
    std::vector<TranslatedStatement> statements;
    bool changesSchema = false;
    for (const QString& text : splitSqlScript(sql_)) {
        statements.push_back(translateStatement(text));
        changesSchema = changesSchema || statements.back().changesSchema;
    }
    rowsAffected_ = 0;
    if (statements.empty())
        return;
    // A script that creates tables may create the folder's file; others need it.
    auto connection = resolveConnection(changesSchema);
    if (!connection)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("フォルダ「%1」にはテーブルがありません。")
                              .arg(QDir::toNativeSeparators(databaseName())));
    SqliteDb& db = connection->db();
    const bool ownTransaction = !connection->inTransaction();
    if (ownTransaction)
        connection->begin();
    try {
        for (const TranslatedStatement& statement : statements) {
            SqliteStatement prepared(db, statement.sql);
            const sqlite3_int64 before = sqlite3_total_changes64(db.handle());
            while (prepared.step())
                ;
            // After other statements the count still holds an earlier statement's rows.
            if (sqlite3_total_changes64(db.handle()) != before)
                rowsAffected_ += sqlite3_changes64(db.handle());
        }
        if (ownTransaction)
            connection->commit();
    } catch (...) {
        if (ownTransaction)
            connection->rollback();
        connection->bumpEpoch();
        throw;
    }
    // Open tables of the folder read their rows again when they next move.
    connection->bumpEpoch();
}

void Query::doOpen() {
    const QStringList texts = splitSqlScript(sql_);
    if (texts.size() != 1)
        throw EngineError(EngineError::Kind::Syntax,
                          QStringLiteral("クエリを開くには SELECT 文を一つだけ指定してください：%1")
                              .arg(sql_.simplified()));
    const TranslatedStatement statement = translateStatement(texts.first());
    if (!statement.isQuery)
        throw EngineError(EngineError::Kind::Syntax,
                          QStringLiteral("クエリを開くには SELECT 文を指定してください：%1")
                              .arg(sql_.simplified()));
    auto connection = resolveConnection(false);
    if (!connection)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("フォルダ「%1」にはテーブルがありません。")
                              .arg(QDir::toNativeSeparators(databaseName())));
    SqliteStatement select(connection->db(), statement.sql);
    QList<FieldDef> defs;
    for (int i = 0; i < select.columnCount(); ++i)
        defs << fieldDefFromDeclaration(select.columnName(i), select.columnDeclaredType(i));
    setFields(defs);
    rows_.clear();
    while (select.step()) {
        QVector<QVariant> row(defs.size());
        for (qsizetype i = 0; i < defs.size(); ++i)
            row[i] = valueFromStorage(defs[i], select.column(int(i)));
        rows_.push_back(std::move(row));
    }
    position_ = rows_.empty() ? -1 : 0;
    eof_ = rows_.empty();
}

void Query::doClose() {
    rows_.clear();
    position_ = -1;
}

void Query::loadBuffer() {
    if (position_ < 0)
        clearBuffer();
    else
        buffer_ = rows_[size_t(position_)];
}

} // namespace marubo::store
