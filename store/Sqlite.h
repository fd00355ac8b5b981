#pragma once

#include "EngineError.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <sqlite3.h>
#include <vector>

namespace marubo::store {

// One open SQLite file. Owns the handle; closes it on destruction.
class SqliteDb {
public:
    // Opens `file` read-write (creating it when `create`), rollback journal,
    // synchronous=FULL, and waits up to `busyTimeoutMs` for a lock.
    SqliteDb(const QString& file, bool create, int busyTimeoutMs);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    sqlite3* handle() const { return db_; }
    const QString& file() const { return file_; }

    // Runs statements that return no rows.
    void exec(const QString& sql);

    // Throws the EngineError for result code `rc`; `context` says what was being done.
    [[noreturn]] void fail(int rc, const QString& context) const;

private:
    sqlite3* db_ = nullptr;
    QString file_;
};

// A prepared statement. Owns the handle; finalizes it on destruction.
class SqliteStatement {
public:
    SqliteStatement() = default;
    // `context` says what the statement does; error messages start with it.
    SqliteStatement(SqliteDb& db, const QString& sql, const QString& context = {});
    ~SqliteStatement();
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    bool isPrepared() const { return st_ != nullptr; }
    const QString& sql() const { return sql_; }

    // Resets the statement; the bindings stay until bound again.
    void reset();
    // Binds a value by 1-based index. Text as UTF-8, dates as ISO text, bools as 0/1.
    void bind(int index, const QVariant& value);
    void bindInt64(int index, qint64 value);
    // One step: true when a row is available, false when done.
    bool step();

    int columnCount() const;
    QString columnName(int column) const;
    QString columnDeclaredType(int column) const;
    QVariant column(int column) const; // raw value: qint64, double, QString, QByteArray or null
    qint64 columnInt64(int column) const;
    // The value of a column read for a field of type `type`: dates stored as
    // ISO text come back as QDate, amounts as double, without a detour.
    QVariant columnFor(int column, int type) const;

private:
    SqliteDb* db_ = nullptr;
    sqlite3_stmt* st_ = nullptr;
    QString sql_;
    QString context_;
    // UTF-8 of the text bound to each parameter; SQLite reads it in place, so it
    // lives until the parameter is bound again.
    std::vector<QByteArray> texts_;
};

} // namespace marubo::store
