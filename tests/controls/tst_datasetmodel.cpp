#include "GridFixture.h"

#include "controls/DataSetModel.h"
#include "store/EngineError.h"
#include "util/Abort.h"

#include <QAbstractItemModelTester>
#include <QBrush>
#include <QFont>
#include <QSignalSpy>
#include <QtTest>

using namespace marubo;
using controls::DataSetModel;
using marubo::test::columnTexts;
using marubo::test::GridFixture;
using store::DataSetState;

class TestDataSetModel : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void showsTheVisibleRows();
    void editsPostAtOnce_data();
    void editsPostAtOnce();
    void refusedEditKeepsTheRow_data();
    void refusedEditKeepsTheRow();
    void newRowIsShownAtTheEnd();
    void leavingTheNewRow_data();
    void leavingTheNewRow();
    void refusedInsertAddsNoRow();
    void followsTheDataSet();
    void columnLooks();
};

void TestDataSetModel::showsTheVisibleRows() {
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QAbstractItemModelTester tester(&model);
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(columnTexts(model, 0), (QStringList{"1", "2", "3"})); // code 0 lies outside the filter
    QCOMPARE(columnTexts(model, 1), (QStringList{"one", "two", "three"}));
    QCOMPARE(columnTexts(model, 2), (QStringList{"p1", "p2", ""}));
    QCOMPARE(columnTexts(model, 3), (QStringList{"", "", ""}));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("名前"));
    QCOMPARE(model.index(0, 0).data(Qt::TextAlignmentRole).value<Qt::Alignment>(),
             Qt::AlignRight | Qt::AlignVCenter);
    QVERIFY(model.flags(model.index(0, 1)) & Qt::ItemIsEditable);
    QVERIFY(!(model.flags(model.index(0, 3)) & Qt::ItemIsEditable));
    // Reading other rows leaves the cursor alone; the indicator marks its row.
    QCOMPARE(fixture.list.recNo(), qsizetype(0));
    QCOMPARE(model.cursorRow(), 0);
    QCOMPARE(model.headerData(0, Qt::Vertical).toString(), QStringLiteral("▶"));
    QCOMPARE(model.headerData(1, Qt::Vertical).toString(), QString());
}

void TestDataSetModel::editsPostAtOnce_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("stored");
    QTest::addColumn<QStringList>("shownCodes");
    QTest::newRow("name") << 1 << 1 << "二" << QStringList{"0:all", "1:one", "2:二", "3:three"}
                          << QStringList{"1", "2", "3"};
    QTest::newRow("key moves the row")
        << 0 << 0 << "7" << QStringList{"0:all", "2:two", "3:three", "7:one"}
        << QStringList{"2", "3", "7"};
    QTest::newRow("key leaves the filter")
        << 1 << 0 << "-2" << QStringList{"-2:two", "0:all", "1:one", "3:three"}
        << QStringList{"1", "3"};
}

void TestDataSetModel::editsPostAtOnce() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QStringList, stored);
    QFETCH(QStringList, shownCodes);
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QAbstractItemModelTester tester(&model);
    QSignalSpy errors(&model, &DataSetModel::errorOccurred);
    QVERIFY(model.setData(model.index(row, column), text));
    QCOMPARE(fixture.list.state(), DataSetState::Browse);
    QCOMPARE(fixture.storedNames(), stored);
    // The model takes the change in from the event loop, after the view's edit.
    QTRY_COMPARE(columnTexts(model, 0), shownCodes);
    QVERIFY(errors.isEmpty());
}

void TestDataSetModel::refusedEditKeepsTheRow_data() {
    QTest::addColumn<int>("column");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("messagePart");
    QTest::newRow("key taken") << 0 << "3"
                               << "L";
    QTest::newRow("not a number") << 0 << "abc"
                                  << "code";
    QTest::newRow("empty key") << 0 << ""
                               << "code";
}

void TestDataSetModel::refusedEditKeepsTheRow() {
    QFETCH(int, column);
    QFETCH(QString, text);
    QFETCH(QString, messagePart);
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QSignalSpy errors(&model, &DataSetModel::errorOccurred);
    const QStringList before = fixture.storedNames();
    QVERIFY(!model.setData(model.index(1, column), text));
    QCOMPARE(errors.size(), 1);
    QVERIFY2(errors.first().first().toString().contains(messagePart),
             qPrintable(errors.first().first().toString()));
    QCOMPARE(fixture.list.state(), DataSetState::Browse);
    QCOMPARE(fixture.storedNames(), before);
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("two"));
}

void TestDataSetModel::newRowIsShownAtTheEnd() {
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QAbstractItemModelTester tester(&model);
    fixture.list.last();
    QCOMPARE(model.cursorRow(), 2);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    model.appendRow();
    QCOMPARE(inserted.size(), 1);
    QCOMPARE(model.rowCount(), 4);
    QCOMPARE(model.insertRow(), 3);
    QCOMPARE(model.cursorRow(), 3);
    QCOMPARE(model.headerData(3, Qt::Vertical).toString(), QStringLiteral("*"));
    // The row the insert started from keeps showing its own values.
    QCOMPARE(columnTexts(model, 1), (QStringList{"one", "two", "three", ""}));

    // The new row collects its values without being posted.
    QVERIFY(model.setData(model.index(3, 1), QStringLiteral("四")));
    QVERIFY(model.setData(model.index(3, 0), QStringLiteral("4")));
    QCOMPARE(fixture.list.state(), DataSetState::Insert);
    QTRY_COMPARE(columnTexts(model, 1), (QStringList{"one", "two", "three", "四"}));
    QCOMPARE(fixture.storedNames().size(), 4);
}

void TestDataSetModel::leavingTheNewRow_data() {
    QTest::addColumn<QString>("code"); // empty: the new row is left untouched
    QTest::addColumn<QStringList>("shownNames");
    QTest::addColumn<int>("cursor");
    QTest::addColumn<bool>("refused");
    const QStringList before{"one", "two", "three"};
    const QStringList after{"one", "two", "three", "新"};
    QTest::newRow("untouched: dropped, cursor moves") << "" << before << 0 << false;
    QTest::newRow("changed: posted, cursor stays on it") << "25" << after << 3 << false;
    QTest::newRow("changed with a taken key: stays new") << "2" << after << 3 << true;
}

void TestDataSetModel::leavingTheNewRow() {
    QFETCH(QString, code);
    QFETCH(QStringList, shownNames);
    QFETCH(int, cursor);
    QFETCH(bool, refused);
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QAbstractItemModelTester tester(&model);
    model.appendRow();
    if (!code.isEmpty()) {
        QVERIFY(model.setData(model.index(3, 0), code));
        QVERIFY(model.setData(model.index(3, 1), QStringLiteral("新")));
    }
    if (refused) {
        QVERIFY_THROWS_EXCEPTION(store::EngineError, model.moveCursorTo(0));
        QCOMPARE(fixture.list.state(), DataSetState::Insert);
    } else {
        model.moveCursorTo(0);
        QCOMPARE(fixture.list.state(), DataSetState::Browse);
    }
    QTRY_COMPARE(columnTexts(model, 1), shownNames);
    QCOMPARE(model.cursorRow(), cursor);
}

void TestDataSetModel::refusedInsertAddsNoRow() {
    GridFixture fixture;
    fixture.list.setBeforeInsert([](store::DataSet& list) {
        if (list.recordCount() >= 3)
            throw Abort();
    });
    DataSetModel model(fixture.list, GridFixture::columns());
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QVERIFY_THROWS_EXCEPTION(Abort, model.appendRow());
    QCOMPARE(model.rowCount(), 3);
    QVERIFY(inserted.isEmpty());
    QCOMPARE(model.insertRow(), -1);
}

void TestDataSetModel::followsTheDataSet() {
    GridFixture fixture;
    DataSetModel model(fixture.list, GridFixture::columns());
    QAbstractItemModelTester tester(&model);
    QSignalSpy cursor(&model, &DataSetModel::cursorRowChanged);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    fixture.list.next();
    QCOMPARE(cursor.size(), 1);
    QCOMPARE(cursor.last().first().toInt(), 1);

    // A change made by other code shows at once.
    fixture.list.edit();
    fixture.list.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("zwei"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("zwei")); // while editing
    fixture.list.post();
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("zwei"));

    // Work done behind disabled controls is taken in once.
    resets.clear();
    fixture.list.disableControls();
    for (int code = 10; code < 13; ++code) {
        fixture.list.append();
        fixture.list.fieldByName(QStringLiteral("code")).setAsInteger(code);
        fixture.list.post();
    }
    QCOMPARE(resets.size(), 0);
    fixture.list.enableControls();
    QCOMPARE(resets.size(), 1);
    QCOMPARE(model.rowCount(), 6);

    fixture.list.close();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.cursorRow(), -1);
    QCOMPARE(model.index(0, 0).data(), QVariant());
    fixture.list.open();
    QCOMPARE(model.rowCount(), 6);
    QCOMPARE(model.cursorRow(), 0);

    // A move made through the model is reported after it returns.
    cursor.clear();
    model.moveCursorTo(4);
    QCOMPARE(fixture.list.recNo(), qsizetype(4));
    QTRY_COMPARE(cursor.size(), 1);
    QCOMPARE(model.cursorRow(), 4);
}

void TestDataSetModel::columnLooks() {
    GridFixture fixture;
    QList<controls::GridColumn> columns = GridFixture::columns();
    columns[0].background = QColor(225, 253, 251);
    columns[1].titleBold = true;
    columns[2].visible = false;
    DataSetModel model(fixture.list, columns);
    QCOMPARE(model.index(1, 0).data(Qt::BackgroundRole).value<QBrush>().color(),
             QColor(225, 253, 251));
    QVERIFY(!model.index(1, 1).data(Qt::BackgroundRole).isValid()); // the grid's own
    QVERIFY(model.headerData(1, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    QVERIFY(!model.headerData(0, Qt::Horizontal, Qt::FontRole).isValid());
    // A hidden column stays in the model and takes no width.
    QCOMPARE(model.columnCount(), 4);
    QCOMPARE(columnTexts(model, 2), (QStringList{"p1", "p2", ""}));
    QCOMPARE(model.columns()[2].shownWidth(), 0);
    QCOMPARE(model.columns()[1].shownWidth(), 120);
}

QTEST_GUILESS_MAIN(TestDataSetModel)
#include "tst_datasetmodel.moc"
