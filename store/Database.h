#pragma once

#include "TableLayout.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace marubo::store {

class FileConnection;
class Session;

// A database handle: a name in the session standing for one folder. Re-pointing
// it means closing it and setting another folder; the next open uses that one.
class Database {
public:
    Database(Session& session, const QString& name, const QString& folder = {});
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    Session& session() const { return session_; }
    const QString& name() const { return name_; }

    const QString& directory() const { return directory_; }
    // Only while closed; throws EngineError(State) otherwise.
    void setDirectory(const QString& folder);

    bool isConnected() const { return bool(connection_); }
    // Disconnects; the data sets that use this handle are closed first.
    void close();

    // The connection to the folder's tables file, connecting when needed. With
    // `create` false a folder without the file gives null.
    std::shared_ptr<FileConnection> connection(bool create);

    // Transactions on the folder's file. Changes of every table of the folder
    // made through this session are part of it.
    void startTransaction();
    void commit();
    void rollback();
    bool inTransaction() const;

    // Creates the table with its secondary indexes (in one transaction of its
    // own unless one is under way); creates the folder's file when needed.
    // Throws when the table exists already.
    void createTable(const TableLayout& layout);

    bool tableExists(const QString& table);
    QStringList tableNames();
    // Throws EngineError(NotFound) when the table is not in the folder.
    TableLayout tableLayout(const QString& table);

private:
    FileConnection& requireConnection();

    Session& session_;
    QString name_;
    QString directory_;
    std::shared_ptr<FileConnection> connection_;
};

} // namespace marubo::store
