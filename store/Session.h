#pragma once

#include <QString>
#include <map>
#include <memory>
#include <vector>

namespace marubo::store {

class DataSet;
class Database;
class FileConnection;

// The engine's session: the database handles and data sets that belong to it,
// the open files they share, and the private folder for temporary files.
// Database handles and data sets must not outlive their session.
class Session {
public:
    explicit Session(const QString& name = {});
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    const QString& name() const { return name_; }

    bool isActive() const { return active_; }
    // Deactivating closes every data set and database handle of the session.
    void setActive(bool active);

    // The folder for the engine's temporary files; set while inactive, used from
    // the next open on.
    void setPrivateDir(const QString& folder);
    const QString& privateDir() const { return privateDir_; }

    // How long an operation waits for a folder held by another program.
    void setBusyTimeout(int milliseconds) { busyTimeoutMs_ = milliseconds; }
    int busyTimeout() const { return busyTimeoutMs_; }

    // The handle registered under `name` (letter case ignored), or null.
    Database* findDatabase(const QString& name) const;

    // The shared connection to the folder's tables file. With `create` false, a
    // folder without the file gives null. Throws when the folder does not exist
    // or the file cannot be opened.
    std::shared_ptr<FileConnection> connect(const QString& folder, bool create);

    // Bookkeeping of the handles and data sets; called by them.
    void attach(DataSet* dataSet);
    void detach(DataSet* dataSet);
    void attach(Database* database);
    void detach(Database* database);
    // Closes the open data sets that use `database`.
    void closeDataSetsOf(const Database* database);

private:
    void activate();

    QString name_;
    QString privateDir_;
    bool active_ = false;
    int busyTimeoutMs_ = 3000;
    std::vector<DataSet*> dataSets_;
    std::vector<Database*> databases_;
    std::map<QString, std::weak_ptr<FileConnection>> connections_;
};

} // namespace marubo::store
