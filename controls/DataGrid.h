#pragma once

#include "DataSetModel.h"

#include <QTableView>
#include <functional>

namespace marubo::controls {

// A grid bound to a data set through a DataSetModel: its columns take the
// model's widths and hidden columns stay hidden, its current row follows the data set's cursor and
// moves it, cells are edited in place, Down on the last row starts a new row, Escape drops a
// pending edit or new row. Engine errors go to the error handler; a refusal by the silent abort is
// not shown.
class DataGrid : public QTableView {
    Q_OBJECT
public:
    explicit DataGrid(QWidget* parent = nullptr);
    using QTableView::edit; // opening an editor from code

    // The grid does not take ownership.
    void setDataSetModel(DataSetModel* model);
    DataSetModel* dataSetModel() const { return model_; }

    // Whether an in-place editor is open.
    bool isEditing() const { return state() == QAbstractItemView::EditingState; }
    // Writes the text of an open in-place editor into the data set and closes
    // the editor. False when the data set refused the value (the error has gone
    // to the error handler and the row keeps its stored value); true when it
    // was stored or no editor was open.
    bool commitPendingEdit();
    // Closes an open in-place editor without storing its text.
    void discardPendingEdit();

    // Shows an engine error; the default is a critical message box.
    void setErrorHandler(std::function<void(const QString&)> handler) {
        errorHandler_ = std::move(handler);
    }

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    // Other fields of the row being edited may change meanwhile; the text being
    // typed stays unless the edited field itself changed.
    void dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                     const QList<int>& roles = {}) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    // Runs a navigation of the model; errors are reported and the grid goes
    // back to the cursor's row.
    void navigate(const std::function<void()>& action);
    void followCursor(int row);
    void followCursorLater();
    void reportError(const QString& message);

    DataSetModel* model_ = nullptr;
    QVariant editStart_;     // the edited cell's stored value when its editor opened
    bool following_ = false; // the grid is moving to the cursor's row
    std::function<void(const QString&)> errorHandler_;
};

} // namespace marubo::controls
