#include "GridFixture.h"
#include "KeyInput.h"

#include "controls/DataGrid.h"
#include "controls/DataSetModel.h"

#include <QApplication>
#include <QHeaderView>
#include <QtTest>

using namespace marubo;
using controls::DataGrid;
using controls::DataSetModel;
using marubo::test::columnTexts;
using marubo::test::GridFixture;
using marubo::test::press;
using marubo::test::type;
using store::DataSetState;

namespace {

// A shown grid over the fixture's list with its errors recorded.
struct ShownGrid {
    GridFixture fixture;
    DataSetModel model{fixture.list, GridFixture::columns()};
    DataGrid grid;
    QStringList errors;

    ShownGrid() {
        grid.setDataSetModel(&model);
        grid.setErrorHandler([this](const QString& message) { errors << message; });
        grid.resize(500, 300);
        grid.show();
        grid.activateWindow();
    }
    ~ShownGrid() { grid.setDataSetModel(nullptr); }

    bool ready() { return QTest::qWaitForWindowActive(&grid); }
    int currentRow() const { return grid.currentIndex().row(); }
    void goTo(int row, int column) {
        grid.setCurrentIndex(model.index(row, column));
        grid.setFocus();
    }
};

} // namespace

class TestDataGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void columnsAndCurrentRow();
    void editsInPlace();
    void refusedEditIsReported();
    void downOnTheLastRowStartsARow();
    void escapeDropsTheNewRow();
    void commitsAnOpenEditor();
    void commitReportsARefusal();
    void discardsAnOpenEditor();
    void hiddenColumnsStayHidden();
    void typedTextSurvivesChangesOfTheRow_data();
    void typedTextSurvivesChangesOfTheRow();
};

void TestDataGrid::columnsAndCurrentRow() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    QCOMPARE(shown.grid.columnWidth(0), 35);
    QCOMPARE(shown.grid.columnWidth(2), 200);
    QCOMPARE(shown.currentRow(), 0);
    // The grid follows the cursor ...
    shown.fixture.list.last();
    QCOMPARE(shown.currentRow(), 2);
    // ... and the cursor follows the grid.
    shown.goTo(1, 1);
    QCOMPARE(shown.fixture.list.recNo(), qsizetype(1));
    press(Qt::Key_Up);
    QCOMPARE(shown.fixture.list.recNo(), qsizetype(0));
    QCOMPARE(shown.fixture.list.fieldByName(QStringLiteral("name")).asString(),
             QStringLiteral("one"));
}

void TestDataGrid::editsInPlace() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(1, 1);
    type(QStringLiteral("二番"));
    QVERIFY(shown.grid.isEditing());
    press(Qt::Key_Return);
    QCOMPARE(shown.fixture.storedNames(), (QStringList{"0:all", "1:one", "2:二番", "3:three"}));
    QTRY_COMPARE(columnTexts(shown.model, 1), (QStringList{"one", "二番", "three"}));
    QCOMPARE(shown.fixture.list.state(), DataSetState::Browse);
    QVERIFY(shown.errors.isEmpty());
}

void TestDataGrid::refusedEditIsReported() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(2, 0);
    type(QStringLiteral("1")); // code 1 is taken
    press(Qt::Key_Return);
    QTRY_COMPARE(shown.errors.size(), 1);
    QCOMPARE(columnTexts(shown.model, 0), (QStringList{"1", "2", "3"}));
    QCOMPARE(shown.fixture.list.state(), DataSetState::Browse);
    QCOMPARE(shown.currentRow(), 2);
}

void TestDataGrid::downOnTheLastRowStartsARow() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(2, 0);
    press(Qt::Key_Down);
    QCOMPARE(shown.fixture.list.state(), DataSetState::Insert);
    QCOMPARE(shown.model.rowCount(), 4);
    QCOMPARE(shown.currentRow(), 3);
    type(QStringLiteral("9"));
    press(Qt::Key_Tab); // commits the code and moves to the name
    type(QStringLiteral("九"));
    press(Qt::Key_Return);
    QCOMPARE(shown.fixture.list.state(), DataSetState::Insert); // posted when left
    press(Qt::Key_Up);
    QTRY_COMPARE(columnTexts(shown.model, 1), (QStringList{"one", "two", "three", "九"}));
    QCOMPARE(shown.fixture.list.state(), DataSetState::Browse);
    QCOMPARE(shown.fixture.storedNames().last(), QStringLiteral("9:九"));
    QTRY_COMPARE(shown.currentRow(), 3); // on the posted row
    QVERIFY(shown.errors.isEmpty());
}

void TestDataGrid::escapeDropsTheNewRow() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(2, 1);
    press(Qt::Key_Down);
    type(QStringLiteral("x"));
    press(Qt::Key_Return);
    press(Qt::Key_Escape);
    QCOMPARE(shown.fixture.list.state(), DataSetState::Browse);
    QTRY_COMPARE(shown.model.rowCount(), 3);
    QTRY_COMPARE(shown.currentRow(), 2);
    QCOMPARE(shown.fixture.storedNames().size(), 4);
}

void TestDataGrid::commitsAnOpenEditor() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(0, 2);
    type(QStringLiteral("folder/"));
    QVERIFY(shown.grid.isEditing());
    QVERIFY(shown.grid.commitPendingEdit());
    QVERIFY(!shown.grid.isEditing());
    QCOMPARE(shown.model.index(0, 2).data().toString(), QStringLiteral("folder/"));
    QVERIFY(shown.grid.commitPendingEdit()); // nothing open: nothing happens
    QVERIFY(shown.errors.isEmpty());
}

void TestDataGrid::commitReportsARefusal() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(1, 0);
    type(QStringLiteral("x")); // not a number
    QVERIFY(shown.grid.isEditing());
    QVERIFY(!shown.grid.commitPendingEdit());
    QVERIFY(!shown.grid.isEditing());
    QTRY_COMPARE(shown.errors.size(), 1);
    QCOMPARE(columnTexts(shown.model, 0), (QStringList{"1", "2", "3"}));
    QCOMPARE(shown.fixture.list.state(), DataSetState::Browse);
}

void TestDataGrid::discardsAnOpenEditor() {
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(0, 1);
    type(QStringLiteral("捨てる"));
    QVERIFY(shown.grid.isEditing());
    shown.grid.discardPendingEdit();
    QVERIFY(!shown.grid.isEditing());
    shown.grid.clearFocus();
    QCoreApplication::processEvents();
    QCOMPARE(shown.fixture.storedNames(), (QStringList{"0:all", "1:one", "2:two", "3:three"}));
    QCOMPARE(shown.model.index(0, 1).data().toString(), QStringLiteral("one"));
    shown.grid.discardPendingEdit(); // nothing open: nothing happens
    QVERIFY(shown.errors.isEmpty());
}

void TestDataGrid::hiddenColumnsStayHidden() {
    GridFixture fixture;
    QList<controls::GridColumn> columns = GridFixture::columns();
    columns[2].visible = false;
    DataSetModel model(fixture.list, columns);
    DataGrid grid;
    grid.setDataSetModel(&model);
    QVERIFY(grid.isColumnHidden(2));
    QVERIFY(!grid.isColumnHidden(1));
    QCOMPARE(grid.columnWidth(2), 0);
    // Reopening the data set resets the model; the column stays hidden.
    fixture.list.close();
    fixture.list.open();
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(grid.isColumnHidden(2));
    QCOMPARE(grid.columnWidth(1), 120);
    grid.setDataSetModel(nullptr);
}

void TestDataGrid::typedTextSurvivesChangesOfTheRow_data() {
    QTest::addColumn<QString>("changedField");
    QTest::addColumn<QString>("editorText");
    QTest::newRow("another field of the row") << "path"
                                              << "新しい";
    QTest::newRow("the edited field itself") << "name"
                                             << "changed";
}

void TestDataGrid::typedTextSurvivesChangesOfTheRow() {
    QFETCH(QString, changedField);
    QFETCH(QString, editorText);
    ShownGrid shown;
    QVERIFY(shown.ready());
    shown.goTo(0, 1);
    type(QStringLiteral("新しい"));
    QVERIFY(shown.grid.isEditing());
    // Code writes into the row while its name is being typed.
    shown.fixture.list.edit();
    shown.fixture.list.fieldByName(changedField).setAsString(QStringLiteral("changed"));
    shown.fixture.list.post();
    QCoreApplication::processEvents();
    QVERIFY(shown.grid.isEditing());
    QCOMPARE(QApplication::focusWidget()->property("text").toString(), editorText);
}

QTEST_MAIN(TestDataGrid)
#include "tst_datagrid.moc"
