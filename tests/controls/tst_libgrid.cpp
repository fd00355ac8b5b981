#include "GridFixture.h"
#include "KeyInput.h"

#include "controls/DataSetModel.h"
#include "controls/LibGrid.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QScrollBar>
#include <QSet>
#include <QtTest>

using namespace marubo;
using controls::DataSetModel;
using controls::GridColumn;
using controls::TLibGrid;
using marubo::test::columnTexts;
using marubo::test::GridFixture;
using marubo::test::press;
using marubo::test::type;

namespace {

const QColor kPenColour(255, 0, 255);
const QColor kLightRed(255, 128, 128);
const QColor kFixedBackground(225, 253, 251);

// The fixture's columns, then the name a second time: with four fixed
// columns the last one is the only cell a user can reach.
QList<GridColumn> columnsAfterFixed() {
    QList<GridColumn> columns = GridFixture::columns();
    for (GridColumn& column : columns)
        column.background = kFixedBackground;
    columns << GridColumn{QStringLiteral("name"), QStringLiteral("名前２"), 120};
    return columns;
}

// A window with the grid over the fixture's list and a line edit to take the
// focus away; errors and the keys the grid's handler hears are recorded.
struct Shown {
    GridFixture fixture;
    DataSetModel model;
    QWidget window;
    TLibGrid* grid;
    QLineEdit* other;
    QStringList errors;

    explicit Shown(const QList<GridColumn>& columns = GridFixture::columns())
        : model(fixture.list, columns) {
        grid = new TLibGrid(&window);
        grid->setGeometry(0, 0, 640, 200);
        other = new QLineEdit(&window);
        other->setGeometry(0, 210, 200, 24);
        grid->setDataSetModel(&model);
        grid->setErrorHandler([this](const QString& message) { errors << message; });
        window.resize(660, 250);
        window.show();
        window.activateWindow();
    }
    ~Shown() { grid->setDataSetModel(nullptr); }

    bool ready() {
        if (!QTest::qWaitForWindowActive(&window))
            return false;
        grid->setFocus();
        return QTest::qWaitFor([this] { return grid->hasFocus(); });
    }
    void goTo(int row, int column) {
        grid->setCurrentIndex(model.index(row, column));
        grid->setFocus();
    }
    QPoint current() const { return {grid->currentIndex().column(), grid->currentIndex().row()}; }

    // Places in the grid's own coordinates.
    QPoint viewportOrigin() const { return grid->viewport()->geometry().topLeft(); }
    int rowBottom(int row) const {
        return viewportOrigin().y() + grid->rowViewportPosition(row) + grid->rowHeight(row) - 1;
    }
    int rowMiddle(int row) const {
        return viewportOrigin().y() + grid->rowViewportPosition(row) + grid->rowHeight(row) / 2;
    }
    int columnRight(int column) const {
        return viewportOrigin().x() + grid->columnViewportPosition(column) +
               grid->columnWidth(column) - 1;
    }
    QPoint cellCentre(int row, int column) const {
        return grid->visualRect(model.index(row, column)).center();
    }
    // A point of a cell's background, right of its text.
    QPoint cellBackground(int row, int column) const {
        return {columnRight(column) - 4, rowMiddle(row)};
    }

    // What the window shows, read from its backing store after the pending
    // repaints: a stale line left by a missed repaint would show here.
    QImage onScreen() {
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        const QPoint origin = grid->mapTo(&window, QPoint());
        return window.screen()
            ->grabWindow(window.winId(), origin.x(), origin.y(), grid->width(), grid->height())
            .toImage();
    }
};

// Whether two colours differ by no more than a style's shading.
bool near(const QColor& a, const QColor& b) {
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 &&
           qAbs(a.blue() - b.blue()) <= 3;
}

// The points of `image` drawn in `colour`.
QList<QPoint> pixelsOf(const QImage& image, const QColor& colour) {
    QList<QPoint> points;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y).rgb() == colour.rgb())
                points << QPoint(x, y);
    return points;
}

// The points of a horizontal line from (left, y) to (right, y).
QList<QPoint> lineFrom(int left, int right, int y) {
    QList<QPoint> points;
    for (int x = left; x <= right; ++x)
        points << QPoint(x, y);
    return points;
}

// Turns the wheel over the grid by `notches` (positive: away from the user).
void turnWheel(TLibGrid& grid, int notches) {
    const QPointF at = grid.viewport()->rect().center();
    QWheelEvent wheel(at, grid.viewport()->mapToGlobal(at), QPoint(), QPoint(0, 120 * notches),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(grid.viewport(), &wheel);
}

// Drags the title of the column at `fromVisual` onto the one at `toVisual`.
void dragTitle(QHeaderView& header, int fromVisual, int toVisual) {
    const auto centre = [&header](int visual) {
        const int logical = header.logicalIndex(visual);
        return QPoint(header.sectionViewportPosition(logical) + header.sectionSize(logical) / 2,
                      header.height() / 2);
    };
    QWidget* target = header.viewport();
    const auto send = [target](QEvent::Type type, QPoint at, Qt::MouseButtons buttons) {
        QMouseEvent event(type, at, target->mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    const QPoint from = centre(fromVisual);
    // Past the middle of the target title, so that the column lands on its place.
    const QPoint to = centre(toVisual) + QPoint(toVisual > fromVisual ? 5 : -5, 0);
    send(QEvent::MouseButtonPress, from, Qt::LeftButton);
    for (int step = 1; step <= 4; ++step)
        send(QEvent::MouseMove, from + (to - from) * step / 4, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, to, Qt::NoButton);
}

// Counts the events of one type that reach a widget.
class EventCounter : public QObject {
public:
    EventCounter(QWidget* widget, QEvent::Type type) : type_(type) {
        widget->installEventFilter(this);
    }
    int count = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == type_)
            ++count;
        return false;
    }

private:
    QEvent::Type type_;
};

} // namespace

class TestLibGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void startsWithTheDefaults();
    void underlineEndsAtTheCurrentCell();
    void underlineFollowsTheCurrentRow_data();
    void underlineFollowsTheCurrentRow();
    void underlineHiddenWithTheCell();
    void switchingTheUnderline();
    void columnDrag_data();
    void columnDrag();
    void currentCellColoursFollowTheFocus_data();
    void currentCellColoursFollowTheFocus();
    void drawingHookRunsForEachCell();
    void drawingHookPaintsARowRed();
    void fixedColumnsAreNotCurrent_data();
    void fixedColumnsAreNotCurrent();
    void fixedColumnsAreNotEdited();
    void keyHandlerHearsTheKeys_data();
    void keyHandlerHearsTheKeys();
    void keyHandlerHearsInputMethodText();
    void enterInTheEditorStoresFirst_data();
    void enterInTheEditorStoresFirst();
};

void TestLibGrid::startsWithTheDefaults() {
    TLibGrid grid;
    QVERIFY(!grid.SelectLine());
    QVERIFY(!grid.ColumnDrag());
    QVERIFY(!grid.horizontalHeader()->sectionsMovable());
    QCOMPARE(grid.fixedColumns(), 0);
    QCOMPARE(grid.SelectedLine().color(), QColor(Qt::black));
    QCOMPARE(grid.SelectedLine().width(), 1);
    QCOMPARE(grid.SelectedLine().style(), Qt::SolidLine);
    // The grid keeps a pen of its own.
    QPen pen(kPenColour, 2, Qt::DashLine);
    grid.setSelectedLine(pen);
    pen.setColor(Qt::green);
    QCOMPARE(grid.SelectedLine().color(), kPenColour);
    QCOMPARE(grid.SelectedLine().width(), 2);
    QCOMPARE(grid.SelectedLine().style(), Qt::DashLine);
}

void TestLibGrid::underlineEndsAtTheCurrentCell() {
    Shown shown;
    QVERIFY(shown.ready());
    shown.grid->setSelectedLine(QPen(kPenColour));
    shown.goTo(1, 1);
    shown.grid->setSelectLine(true);
    // From the left edge through the row header to the name cell's right
    // edge; the path and the last column have no underline.
    const QList<QPoint> expected =
        lineFrom(shown.grid->contentsRect().left(), shown.columnRight(1), shown.rowBottom(1));
    QVERIFY(shown.grid->verticalHeader()->width() > 0);
    QCOMPARE(pixelsOf(shown.grid->grab().toImage(), kPenColour), expected);
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), expected);
    shown.grid->viewport()->update();
    shown.grid->verticalHeader()->viewport()->update();
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), expected);
    shown.grid->viewport()->repaint();
    shown.grid->verticalHeader()->viewport()->repaint();
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), expected);
}

void TestLibGrid::underlineFollowsTheCurrentRow_data() {
    QTest::addColumn<QString>("move");
    QTest::addColumn<int>("fromRow");
    QTest::addColumn<int>("toRow");
    QTest::newRow("Down key") << "Down" << 0 << 1;
    QTest::newRow("Up key") << "Up" << 2 << 1;
    QTest::newRow("wheel towards the user") << "wheel down" << 0 << 1;
    QTest::newRow("wheel away") << "wheel up" << 2 << 1;
    QTest::newRow("wheel at the end stays") << "wheel down" << 2 << 2;
    QTest::newRow("data set cursor") << "cursor" << 0 << 2;
}

void TestLibGrid::underlineFollowsTheCurrentRow() {
    QFETCH(QString, move);
    QFETCH(int, fromRow);
    QFETCH(int, toRow);
    Shown shown;
    QVERIFY(shown.ready());
    shown.grid->setSelectedLine(QPen(kPenColour));
    shown.grid->setSelectLine(true);
    shown.goTo(fromRow, 2);
    const int left = shown.grid->contentsRect().left();
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour),
             lineFrom(left, shown.columnRight(2), shown.rowBottom(fromRow)));

    if (move == "Down")
        press(Qt::Key_Down);
    else if (move == "Up")
        press(Qt::Key_Up);
    else if (move == "wheel down")
        turnWheel(*shown.grid, -1);
    else if (move == "wheel up")
        turnWheel(*shown.grid, 1);
    else
        shown.fixture.list.last();

    QCOMPARE(shown.current(), QPoint(2, toRow));
    QCOMPARE(shown.fixture.list.recNo(), qsizetype(toRow));
    QCOMPARE(shown.model.rowCount(), 3); // the wheel adds no row
    // The old line is gone from the screen, the new one drawn.
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour),
             lineFrom(left, shown.columnRight(2), shown.rowBottom(toRow)));
}

void TestLibGrid::underlineHiddenWithTheCell() {
    Shown shown;
    QVERIFY(shown.ready());
    shown.grid->resize(200, 200);
    shown.grid->setSelectedLine(QPen(kPenColour));
    shown.grid->setSelectLine(true);
    shown.goTo(0, 0);
    QVERIFY(!pixelsOf(shown.onScreen(), kPenColour).isEmpty());
    QScrollBar* sideways = shown.grid->horizontalScrollBar();
    sideways->setValue(sideways->maximum());
    QVERIFY(!shown.grid->visualRect(shown.model.index(0, 0))
                 .intersects(shown.grid->viewport()->rect()));
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), QList<QPoint>());
    QCOMPARE(pixelsOf(shown.grid->grab().toImage(), kPenColour), QList<QPoint>());
}

void TestLibGrid::switchingTheUnderline() {
    Shown shown;
    QVERIFY(shown.ready());
    shown.grid->setSelectedLine(QPen(kPenColour));
    shown.goTo(0, 1);
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), QList<QPoint>()); // off at first
    EventCounter paints(shown.grid->viewport(), QEvent::Paint);

    // Switching on paints at once, before the event loop runs.
    shown.grid->setSelectLine(true);
    QVERIFY(paints.count > 0);
    QVERIFY(!pixelsOf(shown.onScreen(), kPenColour).isEmpty());

    // The same value again: no repaint.
    paints.count = 0;
    shown.grid->setSelectLine(true);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);

    // Switching off repaints without the line.
    shown.grid->setSelectLine(false);
    QVERIFY(paints.count > 0);
    QCOMPARE(pixelsOf(shown.onScreen(), kPenColour), QList<QPoint>());
    paints.count = 0;
    shown.grid->setSelectLine(false);
    QCoreApplication::processEvents();
    QCOMPARE(paints.count, 0);
}

void TestLibGrid::columnDrag_data() {
    QTest::addColumn<bool>("allowed");
    QTest::addColumn<int>("fixed");
    QTest::addColumn<QList<int>>("order"); // logical columns in screen order after the drag
    QTest::newRow("off") << false << 0 << QList<int>{0, 1, 2, 3};
    QTest::newRow("on") << true << 0 << QList<int>{1, 2, 0, 3};
    QTest::newRow("on, behind the fixed columns") << true << 1 << QList<int>{0, 3, 1, 2};
    QTest::newRow("on, into the fixed columns") << true << 2 << QList<int>{0, 1, 2, 3};
}

void TestLibGrid::columnDrag() {
    QFETCH(bool, allowed);
    QFETCH(int, fixed);
    QFETCH(QList<int>, order);
    Shown shown;
    QVERIFY(shown.ready());
    shown.grid->setFixedColumns(fixed);
    shown.grid->setColumnDrag(allowed);
    QCOMPARE(shown.grid->ColumnDrag(), allowed);
    QHeaderView& header = *shown.grid->horizontalHeader();
    QCOMPARE(header.sectionsMovable(), allowed);
    if (fixed > 0)
        dragTitle(header, 3, 1); // the last column onto the second
    else
        dragTitle(header, 0, 2);
    QList<int> shownOrder;
    for (int visual = 0; visual < header.count(); ++visual)
        shownOrder << header.logicalIndex(visual);
    QCOMPARE(shownOrder, order);
}

void TestLibGrid::currentCellColoursFollowTheFocus_data() {
    QTest::addColumn<bool>("focused");
    QTest::newRow("focused") << true;
    QTest::newRow("not focused") << false;
}

void TestLibGrid::currentCellColoursFollowTheFocus() {
    QFETCH(bool, focused);
    Shown shown;
    QVERIFY(shown.ready());
    QList<QStyleOptionViewItem> currentOptions;
    shown.grid->setDrawColumnCell(
        [&](QPainter&, QStyleOptionViewItem& option, const QModelIndex& index, const auto&) {
            if (index == shown.grid->currentIndex())
                currentOptions << option;
        });
    shown.goTo(0, 1);
    if (!focused) {
        shown.other->setFocus();
        QTRY_VERIFY(shown.other->hasFocus());
    }
    QCOMPARE(shown.grid->hasInputFocus(), focused);
    const QImage image = shown.onScreen();
    const QColor highlight = shown.grid->palette().color(QPalette::Active, QPalette::Highlight);
    const QColor base = shown.grid->palette().color(QPalette::Active, QPalette::Base);
    const QColor currentCell = image.pixelColor(shown.cellBackground(0, 1));
    QVERIFY2(near(currentCell, focused ? highlight : base), qPrintable(currentCell.name()));
    QCOMPARE(image.pixelColor(shown.cellBackground(1, 1)), base);

    // The drawing hook gets the same state.
    currentOptions.clear();
    shown.grid->viewport()->repaint();
    QVERIFY(!currentOptions.isEmpty());
    QCOMPARE(bool(currentOptions.last().state & QStyle::State_Selected), focused);
    QCOMPARE(currentOptions.last().palette.color(QPalette::Active, QPalette::HighlightedText),
             shown.grid->palette().color(QPalette::Active, QPalette::HighlightedText));
}

void TestLibGrid::drawingHookRunsForEachCell() {
    Shown shown;
    QVERIFY(shown.ready());
    QSet<QPair<int, int>> drawn;
    shown.grid->setDrawColumnCell(
        [&](QPainter&, QStyleOptionViewItem& option, const QModelIndex& index, const auto&) {
            QCOMPARE(option.rect, shown.grid->visualRect(index));
            drawn.insert({index.row(), index.column()});
        });
    shown.grid->viewport()->repaint();
    QSet<QPair<int, int>> all;
    for (int row = 0; row < 3; ++row)
        for (int column = 0; column < 4; ++column)
            all.insert({row, column});
    QCOMPARE(drawn, all);
}

void TestLibGrid::drawingHookPaintsARowRed() {
    Shown shown(columnsAfterFixed());
    QVERIFY(shown.ready());
    shown.grid->setFixedColumns(4);
    // The row whose name is "two" is painted light red, whatever the column,
    // and its cells then get their text the grid's way.
    shown.grid->setDrawColumnCell(
        [](QPainter&, QStyleOptionViewItem& option, const QModelIndex& index,
           const std::function<void(const QStyleOptionViewItem&)>& drawDefault) {
            if (index.siblingAtColumn(1).data().toString() != QStringLiteral("two"))
                return;
            option.backgroundBrush = kLightRed;
            drawDefault(option);
        });
    shown.goTo(0, 4);
    const QImage image = shown.onScreen();
    for (int column = 0; column < 5; ++column) {
        QCOMPARE(image.pixelColor(shown.cellBackground(1, column)), kLightRed);
        QVERIFY(image.pixelColor(shown.cellBackground(0, column)) != kLightRed);
    }
    // Fixed columns keep their colour on the other rows.
    QCOMPARE(image.pixelColor(shown.cellBackground(2, 0)), kFixedBackground);
    // The name is written on the red.
    const QRect nameCell = shown.grid->visualRect(shown.model.index(1, 1))
                               .translated(shown.viewportOrigin())
                               .adjusted(0, 0, -1, -1);
    int writing = 0;
    for (int y = nameCell.top(); y <= nameCell.bottom(); ++y)
        for (int x = nameCell.left(); x <= nameCell.right(); ++x)
            writing += image.pixelColor(x, y).red() < 128 ? 1 : 0;
    QVERIFY2(writing > 5, qPrintable(QString::number(writing)));
}

void TestLibGrid::fixedColumnsAreNotCurrent_data() {
    QTest::addColumn<QString>("action");
    QTest::addColumn<QPoint>("from"); // (column, row)
    QTest::addColumn<QPoint>("to");
    QTest::newRow("fixed afterwards") << "none" << QPoint(1, 0) << QPoint(4, 0);
    QTest::newRow("Left") << "Left" << QPoint(4, 1) << QPoint(4, 1);
    QTest::newRow("Home") << "Home" << QPoint(4, 1) << QPoint(4, 1);
    QTest::newRow("Tab to the next row") << "Tab" << QPoint(4, 0) << QPoint(4, 1);
    QTest::newRow("click: the row follows") << "click" << QPoint(4, 0) << QPoint(4, 2);
    QTest::newRow("double click") << "double click" << QPoint(4, 0) << QPoint(4, 2);
    QTest::newRow("set in code") << "set" << QPoint(4, 0) << QPoint(4, 2);
}

void TestLibGrid::fixedColumnsAreNotCurrent() {
    QFETCH(QString, action);
    QFETCH(QPoint, from);
    QFETCH(QPoint, to);
    Shown shown(columnsAfterFixed());
    QVERIFY(shown.ready());
    shown.goTo(from.y(), from.x());
    shown.grid->setFixedColumns(4);
    QCOMPARE(shown.grid->fixedColumns(), 4);
    QCOMPARE(shown.current().x(), 4);
    const QPoint fixedCell = shown.cellCentre(2, 1);
    if (action == "Left")
        press(Qt::Key_Left);
    else if (action == "Home")
        press(Qt::Key_Home);
    else if (action == "Tab")
        press(Qt::Key_Tab);
    else if (action == "click")
        QTest::mouseClick(shown.grid->viewport(), Qt::LeftButton, {}, fixedCell);
    else if (action == "double click")
        QTest::mouseDClick(shown.grid->viewport(), Qt::LeftButton, {}, fixedCell);
    else if (action == "set")
        shown.grid->setCurrentIndex(shown.model.index(2, 0));
    QCOMPARE(shown.current(), to);
    QCOMPARE(shown.fixture.list.recNo(), qsizetype(to.y()));
    QVERIFY(!shown.grid->isEditing());
    QVERIFY(shown.errors.isEmpty());
}

void TestLibGrid::fixedColumnsAreNotEdited() {
    Shown shown(columnsAfterFixed());
    QVERIFY(shown.ready());
    shown.grid->setFixedColumns(4);
    // Editable in the model, yet fixed.
    QVERIFY(shown.model.flags(shown.model.index(0, 1)) & Qt::ItemIsEditable);
    QTest::ignoreMessage(QtWarningMsg, "edit: editing failed");
    shown.grid->edit(shown.model.index(0, 1));
    QVERIFY(!shown.grid->isEditing());
    // Typing goes into the fifth column.
    shown.goTo(1, 4);
    type(QStringLiteral("二番"));
    QVERIFY(shown.grid->isEditing());
    press(Qt::Key_Return);
    QCOMPARE(shown.fixture.storedNames(), (QStringList{"0:all", "1:one", "2:二番", "3:three"}));
    QTRY_COMPARE(columnTexts(shown.model, 4), (QStringList{"one", "二番", "three"}));
    QVERIFY(shown.errors.isEmpty());
}

void TestLibGrid::keyHandlerHearsTheKeys_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("enter");
    QTest::addColumn<QStringList>("editorTexts"); // what the editor held as each key was heard
    QTest::addColumn<bool>("editing");
    QTest::newRow("a cell without a field") << 3 << "xy" << false << QStringList{"-", "-"} << false;
    QTest::newRow("Enter in the grid") << 3 << "" << true << QStringList{"-"} << false;
    QTest::newRow("into the editor") << 1 << "ab" << false << QStringList{"a", "ab"} << true;
    QTest::newRow("Japanese into the editor")
        << 1 << "二番" << false << QStringList{"二", "二番"} << true;
}

void TestLibGrid::keyHandlerHearsTheKeys() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, enter);
    QFETCH(QStringList, editorTexts);
    QFETCH(bool, editing);
    Shown shown;
    QVERIFY(shown.ready());
    QString heard;
    QStringList seen;
    shown.grid->setKeyPress([&](QChar key) {
        heard += key;
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        seen << (editor && editor != shown.other ? editor->text() : QStringLiteral("-"));
    });
    EventCounter keysPassedOn(&shown.window, QEvent::KeyPress);
    shown.goTo(0, column);
    type(typed);
    if (enter)
        press(Qt::Key_Return);
    QCOMPARE(keysPassedOn.count, 0); // not even Enter, which a dialog would take
    QCOMPARE(heard, typed + (enter ? QStringLiteral("\r") : QString()));
    QCOMPARE(seen, editorTexts);
    QCOMPARE(shown.grid->isEditing(), editing);
    QCOMPARE(shown.current(), QPoint(column, 0)); // no letter jumps to another row
}

void TestLibGrid::keyHandlerHearsInputMethodText() {
    Shown shown;
    QVERIFY(shown.ready());
    QString heard;
    QStringList seen;
    shown.grid->setKeyPress([&](QChar key) {
        heard += key;
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        seen << (editor ? editor->text() : QString());
    });
    shown.goTo(0, 1);
    type(QStringLiteral("第")); // opens the editor
    QVERIFY(shown.grid->isEditing());
    QInputMethodEvent event;
    event.setCommitString(QStringLiteral("二番"));
    QApplication::sendEvent(QApplication::focusWidget(), &event);
    QCOMPARE(heard, QStringLiteral("第二番"));
    QCOMPARE(seen, (QStringList{"第", "第二番", "第二番"}));
}

void TestLibGrid::enterInTheEditorStoresFirst_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("stored");
    QTest::newRow("a name") << 1 << "zz" << true;
    QTest::newRow("the same name") << 1 << "two" << true;
    QTest::newRow("letters for a number") << 0 << "ab" << false;
    QTest::newRow("a taken key") << 0 << "3" << false;
}

void TestLibGrid::enterInTheEditorStoresFirst() {
    QFETCH(int, column);
    QFETCH(QString, typed);
    QFETCH(bool, stored);
    Shown shown;
    QVERIFY(shown.ready());
    const QStringList before = shown.fixture.storedNames();
    QString heard;
    QString valueAtEnter;
    shown.grid->setKeyPress([&](QChar key) {
        heard += key;
        if (key == QChar(13))
            valueAtEnter = shown.fixture.list.field(column).asString();
    });
    shown.goTo(1, column);
    // The grid's editor opens with the first key and replaces the text.
    type(typed);
    QVERIFY(shown.grid->isEditing());
    press(Qt::Key_Return);
    QVERIFY(!shown.grid->isEditing());
    if (stored) {
        QCOMPARE(heard, typed + QStringLiteral("\r"));
        QCOMPARE(valueAtEnter, typed); // the handler reads the stored value
        QVERIFY(shown.errors.isEmpty());
    } else {
        QCOMPARE(heard, typed); // no Enter for a refused value
        QTRY_COMPARE(shown.errors.size(), 1);
        QCOMPARE(shown.fixture.storedNames(), before);
        QCOMPARE(shown.model.index(1, 0).data().toString(), QStringLiteral("2"));
        QCOMPARE(shown.fixture.list.state(), store::DataSetState::Browse);
    }
    QCOMPARE(shown.current(), QPoint(column, 1));
}

QTEST_MAIN(TestLibGrid)
#include "tst_libgrid.moc"
