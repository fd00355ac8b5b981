#include "FileConnection.h"

#include "DataSetFile.h"

#include <QDir>

namespace marubo::store {

FileConnection::FileConnection(const QString& folder, bool create, int busyTimeoutMs)
    : folder_(folder), db_(tablesFilePath(folder), create, busyTimeoutMs) {}

quint64* FileConnection::tableVersion(const QString& table) {
    return &versions_[table.toLower()];
}

void FileConnection::bumpTable(const QString& table) {
    ++versions_[table.toLower()];
}

bool FileConnection::inTransaction() const {
    return sqlite3_get_autocommit(db_.handle()) == 0;
}

void FileConnection::begin() {
    if (inTransaction())
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("フォルダ「%1」のトランザクションはすでに開始されています。")
                .arg(QDir::toNativeSeparators(folder_)));
    // Take the write lock now, so that a busy folder is reported before any change.
    db_.exec(QStringLiteral("BEGIN IMMEDIATE"));
}

void FileConnection::commit() {
    if (!inTransaction())
        throw EngineError(EngineError::Kind::State,
                          QStringLiteral("フォルダ「%1」のトランザクションは開始されていません。")
                              .arg(QDir::toNativeSeparators(folder_)));
    db_.exec(QStringLiteral("COMMIT"));
}

void FileConnection::rollback() {
    if (!inTransaction())
        return;
    db_.exec(QStringLiteral("ROLLBACK"));
    bumpEpoch();
}

} // namespace marubo::store
