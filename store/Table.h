#pragma once

#include "DataSet.h"
#include "FilterExpression.h"
#include "Sqlite.h"
#include "TableLayout.h"

#include <map>
#include <optional>
#include <unordered_map>

namespace marubo::store {

// A table of a data-set folder with a cursor over the rows that pass its filter,
// in the order of its current index (then the row id).
//
// The cursor keeps the ordered row ids and loads a row's values only when they
// are read, so walking a table costs one query plus one keyed read per row.
// Rows added or changed through the table are found again by their row id; the
// list of row ids is read again only when a move needs it.
class Table : public DataSet {
public:
    explicit Table(Session& session, const QString& databaseName = {},
                   const QString& tableName = {});
    ~Table() override;

    void setTableName(const QString& name); // closed only
    const QString& tableName() const { return tableName_; }
    QString displayName() const override { return tableName_; }

    // The fields to bind, by name; empty binds every field in table order.
    // Opening fails when the table lacks one of them.
    void setFieldNames(const QStringList& names); // closed only
    const QStringList& declaredFieldNames() const { return declaredFields_; }

    // The order: a secondary index by name, or a list of fields such as
    // "kamoku_CD;hojo_CD"; with neither, the primary key (or the row id).
    void setIndexName(const QString& name);
    const QString& indexName() const { return indexName_; }
    void setIndexFieldNames(const QString& fields);
    const QString& indexFieldNames() const { return indexFieldNames_; }
    QStringList currentIndexFields() const { return sortFields_; } // while open

    // Filter text such as "code>0 and (S1 is not Null)", in force while filtered.
    // Malformed text is refused when it is set; unknown fields when it takes effect.
    void setFilter(const QString& text);
    const QString& filter() const { return filter_.text(); }
    void setFiltered(bool filtered);
    bool filtered() const { return filtered_; }

    // Whether the table is in its folder (letter case ignored).
    bool exists();
    // The layout read from the file while open.
    const TableLayout& layout() const { return layout_; }

    // Goes to the first row, in index order, whose leading index fields equal
    // `values`; false leaves the current row as it was.
    bool findKey(const QVariantList& values);

    // Removes every row (the filter does not limit it).
    void emptyTable();

protected:
    void doOpen() override;
    void doClose() override;
    void settle() override;
    qsizetype visibleCount() override;
    qsizetype currentPosition() override;
    bool hasCurrentRow() override;
    void setCurrentPosition(qsizetype position) override;
    void loadBuffer() override;
    void reloadForEdit() override;
    QVariant rowValue(qsizetype position, qsizetype index) override;
    void beginInsert() override;
    void cancelInsert() override;
    void doPost(bool inserting) override;
    void doDelete() override;
    Bookmark doBookmark() override;
    void doGotoBookmark(const Bookmark& bookmark) override;

private:
    void changeOrder(const QString& indexName, const QString& indexFields);
    bool listFresh() const;
    std::pair<quint64, quint64> stamp() const;
    void refreshList();
    // Reads the current row from the file into the buffer; false when it has gone.
    bool readStoredRow();
    qsizetype positionOf(qint64 rowId);
    void prepareOrderAndFilter();
    void forgetList();
    void markOwnChange(bool orderMayChange);
    void checkKeyFields();
    [[noreturn]] void rethrowWithKey(const EngineError& error);
    const FieldDef* layoutField(const QString& name) const;
    FileConnection& connection() const { return *connection_; }

    QString tableName_;
    QStringList declaredFields_;
    QString indexName_;
    QString indexFieldNames_;
    FilterExpression filter_;
    bool filtered_ = false;

    // While open.
    std::shared_ptr<FileConnection> connection_;
    TableLayout layout_;
    QString quotedName_;
    QString readContext_;
    QString writeContext_;
    std::vector<qsizetype> keyIndexes_; // primary key fields among the bound ones; -1: not bound
    QStringList sortFields_;
    QStringList filterFields_; // lower case
    QString whereSql_;         // the filter as SQL, empty when none
    QVariantList whereBinds_;
    QString orderSql_;
    quint64* tableVersion_ = nullptr;
    SqliteStatement listStatement_;
    SqliteStatement rowStatement_;
    SqliteStatement insertStatement_;
    std::map<QByteArray, SqliteStatement> updateStatements_; // by the fields they set
    SqliteStatement deleteStatement_;
    std::map<int, SqliteStatement> findStatements_; // by number of key values

    // The cursor.
    std::vector<qint64> rows_; // row ids in order, valid while listFresh()
    bool listValid_ = false;
    quint64 syncedEpoch_ = 0;
    quint64 syncedVersion_ = 0;
    std::unordered_map<qint64, qsizetype> positions_; // built on demand from rows_
    bool positionsValid_ = false;
    std::optional<qint64> current_; // row id of the current row
    qsizetype position_ = -1;       // its place in rows_; -1 when unknown or none
    qsizetype lastPosition_ = -1;   // where to land when the current row has gone
    bool pendingFirst_ = false;     // opened or refiltered: the first row is current
    std::optional<qint64> loadedRow_;
    std::pair<quint64, quint64> loadedStamp_{0, 0};

    // Rows read ahead in one statement: positions [windowStart_, + size) of rows_.
    void readWindow(qsizetype position);
    void keepWindowRow(std::pair<quint64, quint64> oldStamp);
    SqliteStatement windowStatement_;
    qsizetype windowStart_ = -1;
    std::vector<std::optional<QVector<QVariant>>> window_;
    std::pair<quint64, quint64> windowStamp_{0, 0};

    // Where an insert started, for cancel.
    std::optional<qint64> savedCurrent_;
    qsizetype savedPosition_ = -1;
    bool savedPendingFirst_ = false;
};

} // namespace marubo::store
