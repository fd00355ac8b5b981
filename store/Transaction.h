#pragma once

#include "Database.h"

namespace marubo::store {

// Starts a transaction on a database handle and rolls it back on destruction
// unless commit() was called.
class Transaction {
public:
    explicit Transaction(Database& database) : database_(database) { database_.startTransaction(); }
    ~Transaction() {
        if (!finished_) {
            try {
                database_.rollback();
            } catch (...) {
                // The connection is gone or broken; SQLite rolls back on close.
            }
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() {
        database_.commit();
        finished_ = true;
    }

private:
    Database& database_;
    bool finished_ = false;
};

} // namespace marubo::store
