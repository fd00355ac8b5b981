#pragma once

#include "store/DataSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QString>
#include <QVector>
#include <optional>

namespace marubo::controls {

// One column of a grid: the field it shows, its title and look.
struct GridColumn {
    QString fieldName;
    QString title;
    int width = 64; // pixels
    bool readOnly = false;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    QColor background = {}; // of its cells; invalid: the grid's own
    bool titleBold = false; // its title in bold
    bool visible = true;    // a hidden column stays in the model; grids hide it

    // The width the column takes on screen and in exported layouts.
    int shownWidth() const { return visible ? width : 0; }
};

// A table model over a data set, for grids bound to it. Rows are the data set's
// visible rows in its order, followed by the row being inserted while an insert
// is under way; values are read with valueAt, so the data set's cursor stays
// where it is while the grid paints. Edits move the cursor to the row, edit,
// set the field from the text and post; the row being inserted collects its
// values and is posted when the cursor leaves it (moveCursorTo, postRow).
//
// The model follows the data set through its listener events. Changes made
// while the model itself is writing are taken in after the write has returned
// (from the event loop), so that a view is never reset in the middle of its own
// edit or current-row change.
class DataSetModel : public QAbstractTableModel, private store::DataSetListener {
    Q_OBJECT
public:
    DataSetModel(store::DataSet& dataSet, QList<GridColumn> columns, QObject* parent = nullptr);
    ~DataSetModel() override;

    store::DataSet& dataSet() const { return dataSet_; }
    const QList<GridColumn>& columns() const { return columns_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Engine errors are reported through errorOccurred; a refusal by the
    // silent abort is not reported. Both leave the stored row as it was.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // How many edits setData has refused so far: a view compares the count
    // before and after its editor's commit to learn whether the value was
    // stored, which the commit itself does not report.
    int refusedEdits() const { return refusedEdits_; }

    // The row of the data set's cursor (the row being inserted while inserting);
    // -1 when the data set is closed or empty.
    int cursorRow() const { return cursorRow_; }
    // The row that shows the row being inserted, or -1.
    int insertRow() const;

    // Navigation for views; engine errors and the silent abort propagate.
    // Moves the cursor to `row`. Leaving a row being inserted posts it when it
    // was changed (the cursor then stays on the posted row) and drops it when not.
    void moveCursorTo(int row);
    // Starts a new row at the end; the data set's before-insert handler may refuse it.
    void appendRow();
    // Posts a pending edit or insert when something was changed, else cancels it.
    void postRow();
    // Cancels a pending edit or insert.
    void cancelRow();

Q_SIGNALS:
    // The data set's cursor is on another row (also after every reload).
    void cursorRowChanged(int row);
    // An engine error of an edit made through setData.
    void errorOccurred(const QString& message);

protected:
    // The text a value is shown and edited as. Grids that format numbers or
    // dates override it.
    virtual QString displayText(int column, const QVariant& value) const;

private:
    void dataSetEvent(store::DataSet& dataSet, store::DataSetEvent event) override;
    bool write(const QModelIndex& index, const QVariant& value, int role);

    // While the model writes, listener events are only noted and taken in
    // from the event loop afterwards.
    class Writing;
    bool hasPending() const;
    void takeInPending();

    void reload();                  // the rows changed: reset
    void refresh();                 // same rows; new values, state or cursor
    void noteCursor(bool announce); // cursorRow_ and the browse row's values
    int liveRowCount() const;
    int liveCursorRow() const;
    void resolveFields();
    qsizetype fieldIndex(int column) const;
    QVariant value(int row, int column) const;
    void moveToStoredRow(int row);

    store::DataSet& dataSet_;
    QList<GridColumn> columns_;
    QVector<qsizetype> fieldIndexes_; // per column, -1 when the data set lacks the field

    int rowCount_ = 0;         // as the views know it
    bool insertShown_ = false; // rowCount_ includes the row being inserted
    int cursorRow_ = -1;

    int refusedEdits_ = 0;

    int writing_ = 0;
    bool pendingRefresh_ = false;
    bool pendingReload_ = false;
    bool pendingScroll_ = false;
    bool settleQueued_ = false;
};

} // namespace marubo::controls
