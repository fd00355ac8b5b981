#include "Session.h"

#include "DataSet.h"
#include "DataSetFile.h"
#include "Database.h"
#include "EngineError.h"
#include "FileConnection.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <sqlite3.h>

namespace marubo::store {

namespace {

template <typename T> void removeFrom(std::vector<T*>& list, T* item) {
    list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

} // namespace

Session::Session(const QString& name) : name_(name) {}

Session::~Session() {
    setActive(false);
}

void Session::setActive(bool active) {
    if (active) {
        activate();
        return;
    }
    for (DataSet* dataSet : std::vector<DataSet*>(dataSets_))
        dataSet->close();
    for (Database* database : std::vector<Database*>(databases_))
        database->close();
    active_ = false;
}

void Session::setPrivateDir(const QString& folder) {
    if (active_)
        throw EngineError(
            EngineError::Kind::State,
            QStringLiteral("セッションの使用中は一時ファイルのフォルダを変えられません。"));
    privateDir_ = folder;
}

void Session::activate() {
    if (active_)
        return;
    active_ = true;
    // A folder that is missing or not writable is passed over: SQLite keeps its own.
    const QFileInfo folder(privateDir_);
    if (!privateDir_.isEmpty() && folder.isDir() && folder.isWritable()) {
        // SQLite puts its temporary files here from now on.
        sqlite3_free(sqlite3_temp_directory);
        sqlite3_temp_directory = sqlite3_mprintf("%s", QFile::encodeName(privateDir_).constData());
    }
}

Database* Session::findDatabase(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (Database* database : databases_)
        if (database->name().compare(name, Qt::CaseInsensitive) == 0)
            return database;
    return nullptr;
}

std::shared_ptr<FileConnection> Session::connect(const QString& folder, bool create) {
    activate();
    const QString key = QDir::cleanPath(QDir(folder).absolutePath());
    if (auto found = connections_.find(key); found != connections_.end())
        if (auto connection = found->second.lock())
            return connection;
    if (!QFileInfo(key).isDir())
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("フォルダ「%1」がありません。").arg(QDir::toNativeSeparators(key)));
    if (!create && !QFileInfo::exists(tablesFilePath(key)))
        return nullptr;
    auto connection = std::make_shared<FileConnection>(key, create, busyTimeoutMs_);
    connections_[key] = connection;
    return connection;
}

void Session::attach(DataSet* dataSet) {
    dataSets_.push_back(dataSet);
}
void Session::detach(DataSet* dataSet) {
    removeFrom(dataSets_, dataSet);
}
void Session::attach(Database* database) {
    databases_.push_back(database);
}
void Session::detach(Database* database) {
    removeFrom(databases_, database);
}

void Session::closeDataSetsOf(const Database* database) {
    for (DataSet* dataSet : std::vector<DataSet*>(dataSets_))
        if (dataSet->isActive() && dataSet->database() == database)
            dataSet->close();
}

} // namespace marubo::store
