#pragma once

#include "Field.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace marubo::store {

class Database;
class FileConnection;
class Session;

enum class DataSetState { Inactive, Browse, Edit, Insert };

enum class DataSetEvent {
    Opened,
    Closed,
    DataChanged,   // rows were added, removed or reordered
    RecordChanged, // values of the current row changed
    Scrolled,      // another row became current
    StateChanged,  // browse, edit or insert began
};

// Views bound to a data set (grids) listen for its changes.
class DataSetListener {
public:
    virtual ~DataSetListener() = default;
    virtual void dataSetEvent(DataSet& dataSet, DataSetEvent event) = 0;
};

// A saved row to return to.
struct Bookmark {
    std::optional<qint64> key;
    bool isValid() const { return key.has_value(); }
};

// What tables and queries have in common: the session, the folder, the state,
// the fields of the current row, navigation with begin- and end-of-data flags
// (a move past either end sets the flag and keeps the row), the edit cycle and
// the listeners.
class DataSet {
public:
    explicit DataSet(Session& session);
    virtual ~DataSet();
    DataSet(const DataSet&) = delete;
    DataSet& operator=(const DataSet&) = delete;

    Session& session() const { return session_; }
    // A database handle's name, or a folder path; empty: the current directory.
    void setDatabaseName(const QString& name);
    const QString& databaseName() const { return databaseName_; }
    // The handle in use while open, when the name is one.
    Database* database() const { return database_; }

    void open();
    void close(); // a pending edit or insert is cancelled
    void setActive(bool active);
    bool isActive() const { return state_ != DataSetState::Inactive; }
    DataSetState state() const { return state_; }
    // The name used in messages.
    virtual QString displayName() const = 0;
    const QString& messageName() const { return messageName_; } // while open

    // Navigation visits the rows that pass the filter, in the current order. A
    // pending edit is posted first when something was changed, else cancelled.
    void first();
    void last();
    void next();
    void prior();
    qsizetype moveBy(qsizetype distance); // returns the number of rows moved
    bool eof();
    bool bof();
    qsizetype recordCount();
    bool isEmpty() { return recordCount() == 0; }
    qsizetype recNo(); // 0-based position of the current row, -1 when there is none

    // The value of field `index` in the visible row at `position` (0-based, as
    // recNo counts), without moving the cursor; the row being edited shows its
    // edited values. For views that draw many rows.
    QVariant valueAt(qsizetype position, qsizetype index);

    qsizetype fieldCount() const { return qsizetype(fields_.size()); }
    Field& field(qsizetype index) const;
    // Throws EngineError(NotFound) for a name the data set lacks (letter case ignored).
    Field& fieldByName(const QString& name) const;
    Field* findField(const QString& name) const;
    QStringList fieldNames() const;

    // The display format of a numeric or date field (see DisplayFormat.h); it
    // governs Field::displayText. Kept when the data set is closed and opened.
    void setDisplayFormat(const QString& fieldName, const QString& format);
    QString displayFormat(qsizetype index) const;

    // Limits the values a numeric field takes, as a field declared with a
    // minimum and maximum does; a value outside is refused when assigned.
    void setFieldRange(const QString& fieldName, double minimum, double maximum);

    void edit();   // on an empty data set this starts an insert
    void append(); // a new, empty row; before-insert handlers may refuse it
    void insert() { append(); }
    void post();
    void cancel();
    void deleteRecord(); // during an insert this drops the new row
    void checkBrowseMode();
    bool isModified() const { return modified_; }

    // Handlers that refuse a change throw marubo::Abort, which propagates.
    void setBeforeInsert(std::function<void(DataSet&)> handler) {
        beforeInsert_ = std::move(handler);
    }
    void setBeforeDelete(std::function<void(DataSet&)> handler) {
        beforeDelete_ = std::move(handler);
    }

    Bookmark bookmark();
    void gotoBookmark(const Bookmark& bookmark); // throws when the row is gone

    // While disabled, listeners are not told of changes; re-enabling tells them
    // once that the data changed.
    void disableControls() { ++disableCount_; }
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }
    void addListener(DataSetListener* listener);
    void removeListener(DataSetListener* listener);

    // Used by Field.
    const QVariant& fieldValue(qsizetype index);
    void setFieldValue(qsizetype index, const QVariant& value);

protected:
    // The connection for the data set's folder (see Session::connect).
    std::shared_ptr<FileConnection> resolveConnection(bool create);

    // Subclass hooks.
    virtual void doOpen() = 0; // must call setFields()
    virtual void doClose() = 0;
    virtual void settle() {}                        // resolve a pending first row
    virtual qsizetype visibleCount() = 0;           // rows that pass the filter
    virtual qsizetype currentPosition() = 0;        // -1: no current row
    virtual bool hasCurrentRow() = 0;               // cheaper than a position
    virtual void setCurrentPosition(qsizetype) = 0; // -1: none
    virtual void loadBuffer() = 0;                  // buffer_ := the current row (or NULLs)
    virtual void reloadForEdit() { loadBuffer(); }  // the same, as stored now
    virtual QVariant rowValue(qsizetype position, qsizetype index) = 0; // another visible row
    virtual void beginInsert() {} // remember where to return on cancel
    virtual void cancelInsert() {}
    virtual void doPost(bool inserting);
    virtual void doDelete();
    virtual bool canModify() const { return true; }
    virtual Bookmark doBookmark();
    virtual void doGotoBookmark(const Bookmark& bookmark);

    void setFields(const QList<FieldDef>& defs);
    const QList<FieldDef>& fieldDefs() const { return defs_; }
    void clearBuffer();
    void notify(DataSetEvent event);
    void requireActive() const;
    [[noreturn]] void readOnlyError() const;
    bool fieldChanged(qsizetype index) const { return changed_[index]; }

    QVector<QVariant> buffer_; // the current row's values, or the row being edited
    bool bof_ = true;
    bool eof_ = true;

private:
    Session& session_;
    QString databaseName_;
    QString messageName_;
    Database* database_ = nullptr;
    DataSetState state_ = DataSetState::Inactive;
    std::vector<std::unique_ptr<Field>> fields_;
    QList<FieldDef> defs_;
    QVector<QVariant> saved_; // the row before an edit, for cancel
    QVector<bool> changed_;
    QHash<QString, std::pair<double, double>> ranges_;              // by lower-case field name
    QHash<QString, QString> displayFormats_;                        // by lower-case field name
    QVector<std::optional<std::pair<double, double>>> fieldRanges_; // by field position
    bool modified_ = false;
    int disableCount_ = 0;
    bool changedWhileDisabled_ = false;
    std::vector<DataSetListener*> listeners_;
    std::function<void(DataSet&)> beforeInsert_;
    std::function<void(DataSet&)> beforeDelete_;
};

// Closes data sets when a piece of work ends, also when it ends with an error,
// so that no half-done row stays pending for the next piece of work.
class ClosedAtEnd {
public:
    explicit ClosedAtEnd(std::vector<DataSet*> dataSets) : dataSets_(std::move(dataSets)) {}
    ~ClosedAtEnd() {
        for (DataSet* dataSet : dataSets_)
            dataSet->close();
    }
    ClosedAtEnd(const ClosedAtEnd&) = delete;
    ClosedAtEnd& operator=(const ClosedAtEnd&) = delete;

private:
    std::vector<DataSet*> dataSets_;
};

} // namespace marubo::store
