#include "LibGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QWheelEvent>
#include <algorithm>

namespace marubo::controls {

namespace {
constexpr int kWheelNotch = 120; // angle delta of one wheel notch
const QChar kEnter(13);

bool isPlainEnter(const QKeyEvent& key) {
    return (key.key() == Qt::Key_Return || key.key() == Qt::Key_Enter) &&
           (key.modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}
} // namespace

// Draws the cells: the current cell in the highlight colours only while the
// grid has the focus, then the form's drawing hook over the result.
class TLibGrid::CellDelegate : public QStyledItemDelegate {
public:
    explicit CellDelegate(TLibGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& given,
               const QModelIndex& index) const override {
        QStyleOptionViewItem option = given;
        initStyleOption(&option, index);
        const bool highlighted = index == grid_.currentIndex() && !grid_.isFixed(index.column()) &&
                                 grid_.hasInputFocus();
        if (given.state.testFlag(QStyle::State_Selected) && !highlighted) {
            // The view has laid the selection colour under a selected cell;
            // without the focus the cell shows its normal colours.
            painter->fillRect(option.rect, option.palette.brush(QPalette::Base));
        }
        option.state.setFlag(QStyle::State_Selected, highlighted);
        if (highlighted)
            option.state |= QStyle::State_Active; // focus implies the active window
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        const auto drawDefault = [painter, style, widget](const QStyleOptionViewItem& cell) {
            style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);
        };
        drawDefault(option);
        if (!grid_.drawColumnCell_)
            return;
        const DrawColumnCell hook = grid_.drawColumnCell_;
        painter->save();
        hook(*painter, option, index, drawDefault);
        painter->restore();
    }

private:
    TLibGrid& grid_;
};

// A see-through layer over the whole grid that draws the underline after the
// grid's own painting, over the row header as well as the cells.
class TLibGrid::SelectLineLayer : public QWidget {
public:
    explicit SelectLineLayer(TLibGrid& grid) : QWidget(&grid), grid_(grid) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
        setFocusPolicy(Qt::NoFocus);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        grid_.DrawSelectLine(painter, grid_.currentIndex());
    }

private:
    TLibGrid& grid_;
};

// Watches the cell editors for the key handler. Installed after the
// delegate's own filter, so it sees the keys first.
class TLibGrid::EditorKeys : public QObject {
public:
    explicit EditorKeys(TLibGrid& grid) : QObject(&grid), grid_(grid) {}

protected:
    bool eventFilter(QObject* editor, QEvent* event) override {
        return grid_.filterEditorEvent(editor, event);
    }

private:
    TLibGrid& grid_;
};

TLibGrid::TLibGrid(QWidget* parent)
    : DataGrid(parent), layer_(new SelectLineLayer(*this)), editorKeys_(new EditorKeys(*this)) {
    setItemDelegate(new CellDelegate(*this));
    horizontalHeader()->setSectionsMovable(columnDrag_);
    connect(horizontalHeader(), &QHeaderView::sectionMoved, this,
            &TLibGrid::keepFixedColumnsInFront);
    connect(horizontalHeader(), &QHeaderView::sectionResized, this, &TLibGrid::refreshSelectLine);
    connect(verticalHeader(), &QHeaderView::sectionResized, this, &TLibGrid::refreshSelectLine);
}

TLibGrid::~TLibGrid() = default;

void TLibGrid::setColumnDrag(bool allowed) {
    columnDrag_ = allowed;
    horizontalHeader()->setSectionsMovable(allowed);
}

void TLibGrid::setSelectedLine(const QPen& pen) {
    selectedLine_ = pen;
    refreshSelectLine();
}

void TLibGrid::setSelectLine(bool on) {
    if (on == selectLine_)
        return;
    selectLine_ = on;
    layer_->setVisible(on);
    // At once: the caller sees the line drawn or gone on return. The layer
    // is drawn over whatever repaints under it.
    viewport()->repaint();
    verticalHeader()->viewport()->repaint();
}

void TLibGrid::setFixedColumns(int count) {
    fixedColumns_ = std::max(0, count);
    const QModelIndex current = currentIndex();
    const int free = firstFreeColumn();
    if (current.isValid() && isFixed(current.column()) && free >= 0)
        setCurrentIndex(current.siblingAtColumn(free));
    viewport()->update();
}

bool TLibGrid::hasInputFocus() const {
    const QWidget* focus = QApplication::focusWidget();
    return focus && (focus == this || isAncestorOf(focus));
}

void TLibGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    DataGrid::currentChanged(current, previous); // the row follows, wherever the column is
    const int free = firstFreeColumn();
    if (current.isValid() && isFixed(current.column()) && free >= 0) {
        setCurrentIndex(current.siblingAtColumn(free));
        return;
    }
    refreshSelectLine();
    updateCurrentCell();
}

QModelIndex TLibGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const QModelIndex next = DataGrid::moveCursor(action, modifiers);
    if (!next.isValid() || !isFixed(next.column()))
        return next;
    const int free = firstFreeColumn();
    return free >= 0 ? next.siblingAtColumn(free) : QModelIndex();
}

bool TLibGrid::edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) {
    if (index.isValid() && isFixed(index.column()))
        return false;
    if (!DataGrid::edit(index, trigger, event))
        return false;
    // A key that opened the editor has reached it already; the key event
    // handler reports it. Later keys pass the filter.
    if (QWidget* editor = indexWidget(index))
        editor->installEventFilter(editorKeys_);
    return true;
}

void TLibGrid::keyPressEvent(QKeyEvent* event) {
    const QString text = event->text();
    const bool wasEditing = isEditing();
    DataGrid::keyPressEvent(event);
    // Enter belongs to the grid and its key handler, not to a dialog's
    // default button; a key that opened the editor went into it.
    if (isPlainEnter(*event) || (!wasEditing && isEditing()))
        event->accept();
    if (!forwarding_)
        runKeyPress(text);
}

void TLibGrid::inputMethodEvent(QInputMethodEvent* event) {
    const QString text = event->commitString();
    DataGrid::inputMethodEvent(event);
    if (!forwarding_)
        runKeyPress(text);
}

void TLibGrid::mousePressEvent(QMouseEvent* event) {
    const QModelIndex at = indexAt(event->position().toPoint());
    const int free = firstFreeColumn();
    if (!at.isValid() || !isFixed(at.column()) || free < 0) {
        DataGrid::mousePressEvent(event);
        return;
    }
    // A click on a fixed column picks the row; the cell stays off the fixed columns.
    setCurrentIndex(at.siblingAtColumn(free));
    event->accept();
}

void TLibGrid::wheelEvent(QWheelEvent* event) {
    // One notch moves the current row by one, as the keys do; the view
    // scrolls to keep it in sight. Sideways turns scroll as usual.
    const int delta = event->angleDelta().y();
    const QModelIndex current = currentIndex();
    if (delta == 0 || event->modifiers() != Qt::NoModifier || !model() || !current.isValid()) {
        DataGrid::wheelEvent(event);
        return;
    }
    event->accept();
    wheelRest_ += delta;
    const int notches = wheelRest_ / kWheelNotch;
    wheelRest_ -= notches * kWheelNotch;
    if (notches == 0)
        return;
    const int row = std::clamp(current.row() - notches, 0, model()->rowCount() - 1);
    if (row != current.row())
        setCurrentIndex(current.siblingAtRow(row));
}

void TLibGrid::focusInEvent(QFocusEvent* event) {
    DataGrid::focusInEvent(event);
    updateCurrentCell();
}

void TLibGrid::focusOutEvent(QFocusEvent* event) {
    DataGrid::focusOutEvent(event);
    updateCurrentCell();
}

void TLibGrid::scrollContentsBy(int dx, int dy) {
    DataGrid::scrollContentsBy(dx, dy);
    refreshSelectLine();
}

void TLibGrid::updateGeometries() {
    DataGrid::updateGeometries();
    layer_->setGeometry(rect());
    // Stays above widgets added to the grid later (a new header, say).
    const QList<QWidget*> widgets = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    if (!widgets.isEmpty() && widgets.last() != layer_)
        layer_->raise();
    refreshSelectLine();
}

void TLibGrid::keyboardSearch(const QString&) {}

void TLibGrid::DrawSelectLine(QPainter& painter, const QModelIndex& cell) const {
    const QRect r = cellRect(cell);
    if (r.isNull())
        return; // the current cell is not on screen
    const QRect rows = viewport()->geometry();
    const int left = contentsRect().left(); // through the row header
    painter.setClipRect(QRect(QPoint(left, rows.top()), rows.bottomRight()));
    painter.setPen(selectedLine_);
    painter.drawLine(QPoint(left, r.bottom()), QPoint(r.right(), r.bottom()));
}

QRect TLibGrid::cellRect(const QModelIndex& cell) const {
    if (!cell.isValid() || isRowHidden(cell.row()) || isColumnHidden(cell.column()))
        return {};
    const QRect inViewport(columnViewportPosition(cell.column()), rowViewportPosition(cell.row()),
                           columnWidth(cell.column()), rowHeight(cell.row()));
    if (!inViewport.intersects(viewport()->rect()))
        return {};
    return inViewport.translated(viewport()->geometry().topLeft());
}

void TLibGrid::refreshSelectLine() {
    if (selectLine_)
        layer_->update(); // the layer is see-through: the grid under it repaints too
}

void TLibGrid::updateCurrentCell() {
    const QModelIndex current = currentIndex();
    if (current.isValid())
        viewport()->update(visualRect(current));
}

int TLibGrid::firstFreeColumn() const {
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!isFixed(logical) && !header->isSectionHidden(logical))
            return logical;
    }
    return -1;
}

void TLibGrid::keepFixedColumnsInFront(int logical, int oldVisual, int newVisual) {
    // Fixed columns keep their places, and no other column moves in among them.
    if (!isFixed(logical) && newVisual >= fixedColumns_)
        return;
    {
        const QSignalBlocker quiet(horizontalHeader()); // the move back is not a move to check
        horizontalHeader()->moveSection(newVisual, oldVisual);
    }
    updateGeometries();
    viewport()->update();
}

bool TLibGrid::filterEditorEvent(QObject* editor, QEvent* event) {
    if (forwarding_)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (isPlainEnter(key)) {
            // The value is stored before the handler hears of the Enter, and
            // a refused value keeps the Enter from it.
            if (commitPendingEdit())
                runKeyPress(QString(kEnter));
            return true;
        }
        const QString text = key.text();
        if (text.isEmpty() || !keyPress_)
            return false;
        forwardToEditor(editor, event);
        runKeyPress(text);
        return true;
    }
    if (event->type() == QEvent::InputMethod) {
        const QString text = static_cast<QInputMethodEvent*>(event)->commitString();
        if (text.isEmpty() || !keyPress_)
            return false;
        forwardToEditor(editor, event);
        runKeyPress(text);
        return true;
    }
    return false;
}

void TLibGrid::forwardToEditor(QObject* editor, QEvent* event) {
    const QScopedValueRollback forwarding(forwarding_, true);
    QCoreApplication::sendEvent(editor, event);
}

void TLibGrid::runKeyPress(const QString& text) {
    if (!keyPress_)
        return;
    const KeyPress hook = keyPress_; // the handler may replace itself
    for (const QChar key : text)
        hook(key);
}

} // namespace marubo::controls
