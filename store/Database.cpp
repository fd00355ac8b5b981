#include "Database.h"

#include "EngineError.h"
#include "FileConnection.h"
#include "Session.h"

#include <QDir>
#include <QFileInfo>

namespace marubo::store {

Database::Database(Session& session, const QString& name, const QString& folder)
    : session_(session), name_(name), directory_(folder) {
    session_.attach(this);
}

Database::~Database() {
    close();
    session_.detach(this);
}

void Database::setDirectory(const QString& folder) {
    if (connection_)
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("データベース「%1」は接続中のためフォルダを変えられません。")
                .arg(name_));
    directory_ = folder;
}

void Database::close() {
    session_.closeDataSetsOf(this);
    connection_.reset();
}

std::shared_ptr<FileConnection> Database::connection(bool create) {
    if (connection_)
        return connection_;
    if (directory_.isEmpty())
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("データベース「%1」のフォルダが指定されていません。").arg(name_));
    connection_ = session_.connect(directory_, create);
    return connection_;
}

FileConnection& Database::requireConnection() {
    auto connection = this->connection(false);
    if (!connection)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("フォルダ「%1」にはデータがありません。")
                              .arg(QDir::toNativeSeparators(directory_)));
    return *connection;
}

void Database::startTransaction() {
    requireConnection().begin();
}

void Database::commit() {
    requireConnection().commit();
}

void Database::rollback() {
    if (connection_)
        connection_->rollback();
}

bool Database::inTransaction() const {
    return connection_ && connection_->inTransaction();
}

void Database::createTable(const TableLayout& layout) {
    auto connection = this->connection(true);
    const bool ownTransaction = !connection->inTransaction();
    if (ownTransaction)
        connection->begin();
    try {
        connection->db().exec(createTableSql(layout, false));
        for (const IndexDef& index : layout.indexes)
            connection->db().exec(createIndexSql(layout.name, index, false));
        if (ownTransaction)
            connection->commit();
    } catch (...) {
        if (ownTransaction)
            connection->rollback();
        throw;
    }
    connection->bumpEpoch();
}

bool Database::tableExists(const QString& table) {
    if (!connection_ && !QFileInfo(directory_).isDir())
        return false;
    auto connection = this->connection(false);
    return connection && findTableName(connection->db(), table).has_value();
}

QStringList Database::tableNames() {
    if (!connection_ && !QFileInfo(directory_).isDir())
        return {};
    auto connection = this->connection(false);
    return connection ? listTableNames(connection->db()) : QStringList();
}

TableLayout Database::tableLayout(const QString& table) {
    auto connection = this->connection(false);
    if (!connection)
        throw EngineError(EngineError::Kind::NotFound,
                          QStringLiteral("テーブル「%1」がフォルダ「%2」にありません。")
                              .arg(table, QDir::toNativeSeparators(directory_)));
    return readTableLayout(connection->db(), table);
}

} // namespace marubo::store
