#include "DataGrid.h"

#include "store/EngineError.h"
#include "util/Abort.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaProperty>
#include <QTimer>

namespace marubo::controls {

using store::DataSetState;

DataGrid::DataGrid(QWidget* parent) : QTableView(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed | QAbstractItemView::SelectedClicked);
    setWordWrap(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setMinimumSectionSize(8); // narrow columns keep their given width
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    verticalHeader()->setMinimumWidth(16);
    verticalHeader()->setHighlightSections(false);
}

void DataGrid::setDataSetModel(DataSetModel* model) {
    if (model_)
        disconnect(model_, nullptr, this, nullptr);
    model_ = model;
    setModel(model);
    if (!model)
        return;
    for (int column = 0; column < model->columns().size(); ++column) {
        const GridColumn& shown = model->columns()[column];
        setColumnWidth(column, shown.width);
        setColumnHidden(column, !shown.visible);
    }
    connect(model, &DataSetModel::cursorRowChanged, this, &DataGrid::followCursor);
    connect(model, &QAbstractItemModel::modelReset, this,
            [this] { followCursor(model_->cursorRow()); });
    // Queued: the message box must not open in the middle of the editor's commit.
    connect(model, &DataSetModel::errorOccurred, this, &DataGrid::reportError,
            Qt::QueuedConnection);
    followCursor(model->cursorRow());
}

bool DataGrid::commitPendingEdit() {
    if (state() != QAbstractItemView::EditingState)
        return true;
    QWidget* editor = indexWidget(currentIndex());
    if (!editor)
        return true;
    const int refusedBefore = model_ ? model_->refusedEdits() : 0;
    commitData(editor);
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return !model_ || model_->refusedEdits() == refusedBefore;
}

void DataGrid::discardPendingEdit() {
    if (state() != QAbstractItemView::EditingState)
        return;
    // Closing takes the delegate's watch off the editor first, so the focus
    // it loses on the way out stores nothing.
    if (QWidget* editor = indexWidget(currentIndex()))
        closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
}

bool DataGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    const QVariant stored = index.isValid() ? index.data(Qt::EditRole) : QVariant();
    if (!QTableView::edit(index, trigger, event))
        return false;
    editStart_ = stored;
    return true;
}

void DataGrid::dataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight,
                           const QList<int>& roles) {
    const QModelIndex editing = isEditing() ? currentIndex() : QModelIndex();
    QWidget* editor = editing.isValid() ? indexWidget(editing) : nullptr;
    const bool inside =
        editor && editing.row() >= topLeft.row() && editing.row() <= bottomRight.row() &&
        editing.column() >= topLeft.column() && editing.column() <= bottomRight.column();
    if (!inside || editing.data(Qt::EditRole) != editStart_) {
        QTableView::dataChanged(topLeft, bottomRight, roles);
        return;
    }
    const QMetaProperty typed = editor->metaObject()->userProperty();
    const QVariant text = typed.read(editor);
    QTableView::dataChanged(topLeft, bottomRight, roles);
    if (indexWidget(editing) == editor)
        typed.write(editor, text);
}

void DataGrid::keyPressEvent(QKeyEvent* event) {
    if (!model_ || event->modifiers() != Qt::NoModifier || !model_->dataSet().isActive()) {
        QTableView::keyPressEvent(event);
        return;
    }
    const int row = currentIndex().row();
    const DataSetState dataState = model_->dataSet().state();
    if (event->key() == Qt::Key_Down && row == model_->rowCount() - 1) {
        if (dataState == DataSetState::Insert) {
            navigate([this] { model_->postRow(); }); // an untouched new row is dropped
        } else {
            navigate([this] { model_->appendRow(); });
        }
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Escape &&
        (dataState == DataSetState::Insert || dataState == DataSetState::Edit)) {
        navigate([this] { model_->cancelRow(); });
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

void DataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTableView::currentChanged(current, previous);
    if (following_ || !model_ || !current.isValid() || current.row() == model_->cursorRow())
        return;
    const int row = current.row();
    navigate([this, row] { model_->moveCursorTo(row); });
}

void DataGrid::navigate(const std::function<void()>& action) {
    try {
        action();
        return;
    } catch (const Abort&) {
    } catch (const store::EngineError& error) {
        reportError(error.message());
    }
    followCursorLater();
}

void DataGrid::followCursor(int row) {
    if (!model_ || row < 0 || row >= model_->rowCount() || currentIndex().row() == row)
        return;
    const int column = qMax(0, currentIndex().column());
    following_ = true;
    setCurrentIndex(model_->index(row, column));
    following_ = false;
}

void DataGrid::followCursorLater() {
    QTimer::singleShot(0, this, [this] {
        if (model_)
            followCursor(model_->cursorRow());
    });
}

void DataGrid::reportError(const QString& message) {
    if (errorHandler_)
        errorHandler_(message);
    else
        QMessageBox::critical(this, window()->windowTitle(), message);
}

} // namespace marubo::controls
