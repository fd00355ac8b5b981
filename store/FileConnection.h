#pragma once

#include "Sqlite.h"

#include <QString>
#include <map>

namespace marubo::store {

// The open `tables.sqlite` of one folder, shared by every database handle and
// data set that points at that folder. It counts changes per table so that open
// cursors know when the rows they hold may be out of date.
class FileConnection {
public:
    FileConnection(const QString& folder, bool create, int busyTimeoutMs);

    SqliteDb& db() { return db_; }
    const QString& folder() const { return folder_; }

    // Changes that may touch any table (scripts, rollbacks) raise the epoch;
    // row changes through a table raise that table's version.
    quint64 epoch() const { return epoch_; }
    void bumpEpoch() { ++epoch_; }
    quint64* tableVersion(const QString& table); // stable for the connection's life
    void bumpTable(const QString& table);

    bool inTransaction() const;
    void begin();
    void commit();
    void rollback();

private:
    QString folder_;
    SqliteDb db_;
    quint64 epoch_ = 1;
    std::map<QString, quint64> versions_; // by lower-case table name; nodes never move
};

} // namespace marubo::store
