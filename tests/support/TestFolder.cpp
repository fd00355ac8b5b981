#include "TestFolder.h"

#include "store/DataSetFile.h"
#include "store/Sqlite.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <unistd.h>

namespace marubo::test {

TestFolder::TestFolder() {
    dir_.setAutoRemove(true);
}

QString TestFolder::sub(const QString& name) const {
    QDir(dir_.path()).mkpath(name);
    return QDir(dir_.path()).filePath(name);
}

void TestFolder::sql(const QString& folder, const QStringList& statements) {
    store::SqliteDb db(store::tablesFilePath(folder), true, 1000);
    for (const QString& statement : statements)
        db.exec(statement);
}

ReadOnlyGuard::ReadOnlyGuard(const QString& path) : path_(path) {
    if (geteuid() == 0) {
        // Root ignores mode bits; the immutable flag stops root as well.
        immutable_ = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), path}) == 0;
        active_ = immutable_;
    } else {
        active_ =
            QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup |
                                            QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
    }
}

ReadOnlyGuard::~ReadOnlyGuard() {
    if (immutable_)
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), path_});
    else if (active_)
        QFile::setPermissions(path_, QFile::permissions(path_) | QFile::WriteOwner);
}

} // namespace marubo::test
