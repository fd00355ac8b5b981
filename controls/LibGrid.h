#pragma once

#include "DataGrid.h"

#include <QPen>
#include <QStyleOptionViewItem>
#include <functional>

class QPainter;

namespace marubo::controls {

// The line-highlighting grid: a DataGrid with an optional underline of the
// current row, a switch for dragging column titles, the current cell in the
// highlight colours while the grid has the focus, fixed columns, and hooks
// for the owning form: a per-cell drawing step that runs last and a
// character-key step that also runs while a cell is being edited.
//
// The grid draws its cells through a delegate of its own; a delegate set by
// other code replaces the focus colours and the drawing hook.
class TLibGrid : public DataGrid {
    Q_OBJECT
    Q_PROPERTY(bool ColumnDrag READ ColumnDrag WRITE setColumnDrag)
    Q_PROPERTY(QPen SelectedLine READ SelectedLine WRITE setSelectedLine)
    Q_PROPERTY(bool SelectLine READ SelectLine WRITE setSelectLine)
public:
    // Draws one cell, after the grid has drawn it. `option` is the grid's
    // prepared option (rectangle, colours, state, text) and may be changed;
    // `drawDefault` draws a cell the grid's way from a given option, so a
    // handler can set option.backgroundBrush and let the grid draw the rest.
    using DrawColumnCell = std::function<void(
        QPainter& painter, QStyleOptionViewItem& option, const QModelIndex& index,
        const std::function<void(const QStyleOptionViewItem&)>& drawDefault)>;
    // Hears every character key the grid or its cell editor receives.
    using KeyPress = std::function<void(QChar key)>;

    explicit TLibGrid(QWidget* parent = nullptr);
    ~TLibGrid() override;

    // Whether column titles can be dragged to reorder the columns; off at first.
    bool ColumnDrag() const { return columnDrag_; }
    void setColumnDrag(bool allowed);

    // The pen of the underline: black, 1 pixel, solid at first. Setting it
    // copies the given pen; the grid keeps its own.
    const QPen& SelectedLine() const { return selectedLine_; }
    void setSelectedLine(const QPen& pen);

    // Whether the current row is underlined, from the grid's left edge to the
    // right edge of the current cell; off at first. A change repaints the
    // grid at once; setting the value it has does nothing.
    bool SelectLine() const { return selectLine_; }
    void setSelectLine(bool on);

    // The first `count` columns are for reading only: they never become the
    // current column (the row still follows a click there), are never
    // edited, and show their column's background colour.
    int fixedColumns() const { return fixedColumns_; }
    void setFixedColumns(int count);

    void setDrawColumnCell(DrawColumnCell handler) { drawColumnCell_ = std::move(handler); }
    // Runs after the key has been handled. Enter in a cell editor first
    // stores the editor's value; the handler hears that Enter only when the
    // value was stored (a refusal goes to the error handler instead).
    void setKeyPress(KeyPress handler) { keyPress_ = std::move(handler); }

    // Whether the grid or its cell editor has the input focus.
    bool hasInputFocus() const;

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void updateGeometries() override;

public:
    using DataGrid::edit; // opening an editor from code, next to the override below

    // Letters typed into the grid do not jump to a matching row: a key
    // belongs to the current row, as the key handler sees it.
    void keyboardSearch(const QString& search) override;

private:
    class CellDelegate;
    class SelectLineLayer;
    class EditorKeys;

    // Draws the underline for `cell` in the grid's own coordinates.
    void DrawSelectLine(QPainter& painter, const QModelIndex& cell) const;
    // The rectangle of `cell` including its grid lines, in the grid's own
    // coordinates; null when no part of it is on screen.
    QRect cellRect(const QModelIndex& cell) const;
    // Redraws the whole grid so that the underline moves with the current row.
    void refreshSelectLine();
    void updateCurrentCell();

    bool isFixed(int column) const { return column >= 0 && column < fixedColumns_; }
    // The first shown column that is not fixed, in screen order; -1 when none.
    int firstFreeColumn() const;
    void keepFixedColumnsInFront(int logical, int oldVisual, int newVisual);

    bool filterEditorEvent(QObject* editor, QEvent* event);
    // Lets the editor handle an event before the key handler hears of it.
    void forwardToEditor(QObject* editor, QEvent* event);
    void runKeyPress(const QString& text);

    bool columnDrag_ = false;
    QPen selectedLine_;
    bool selectLine_ = false;
    int fixedColumns_ = 0;
    DrawColumnCell drawColumnCell_;
    KeyPress keyPress_;

    SelectLineLayer* layer_;
    EditorKeys* editorKeys_;
    bool forwarding_ = false; // an event is being passed on to the cell editor
    int wheelRest_ = 0;       // wheel turns short of a notch
};

} // namespace marubo::controls
