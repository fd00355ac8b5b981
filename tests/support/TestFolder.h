#pragma once

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace marubo::test {

// A scratch folder removed after the test; sub() gives a folder inside it.
class TestFolder {
public:
    TestFolder();
    QString path() const { return dir_.path(); }
    // Creates (if needed) and returns the folder `name` inside the scratch folder.
    QString sub(const QString& name) const;
    // Runs plain SQL statements on `folder`/tables.sqlite, creating the file.
    static void sql(const QString& folder, const QStringList& statements);

private:
    QTemporaryDir dir_;
};

// Makes a file or folder unwritable even for root (immutable flag), or by mode
// bits for other users. Returns false when the platform allows neither; the
// destructor makes it writable again.
class ReadOnlyGuard {
public:
    explicit ReadOnlyGuard(const QString& path);
    ~ReadOnlyGuard();
    bool active() const { return active_; }

private:
    QString path_;
    bool active_ = false;
    bool immutable_ = false;
};

} // namespace marubo::test
