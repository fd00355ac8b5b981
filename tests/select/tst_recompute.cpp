#include "support/Levels.h"

#include "select/BumonSelection.h"
#include "util/Abort.h"

#include <QtTest>

using namespace marubo;
using marubo::test::Row;

namespace {

struct Harness {
    test::TestFolder folder;
    TDM dm;
    QString b = test::makeBLevel(folder, QStringLiteral("B"), QStringLiteral("pw"));
    BumonSelection selection{dm};
    Harness() { dm.Database2.setDirectory(b); }

    QStringList rows() const {
        return test::rowsOf(b, "Bumon", {"code", "F5", "F6", "F7", "F11", "S1", "S2", "S3"},
                            "code");
    }
};

Row summary(int code, int level) {
    return {{"code", code}, {"Bumonmei", "集計"}, {"F4", level}};
}
Row input(int code, int level, const QVariant& marked) {
    return {{"code", code}, {"Bumonmei", "入力"}, {"F1", 1}, {"F4", level}, {"F12", marked}};
}

} // namespace

// The recompute of the sub-department selection, without the dialog.
class TestRecompute : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hierarchy_data();
    void hierarchy();
    void keyRuleUntilTheNextRecompute();
    void emptyTable();
    void rowsCannotBeAddedOrRemoved();
};

void TestRecompute::hierarchy_data() {
    QTest::addColumn<QList<Row>>("bumon");
    QTest::addColumn<QString>("passWord");
    QTest::addColumn<QStringList>("expected"); // code|F5|F6|F7|F11|S1|S2|S3
    const QList<Row> abc{summary(1, 1), input(2, 2, 1), input(3, 2, QVariant())};
    QTest::newRow("forward walk") << abc << "pw"
                                  << QStringList{"1||||1|10||", "2|1|||1|1||", "3|1||||1||"};
    QTest::newRow("backward walk")
        << abc << "rotQ3W8" << QStringList{"1||||1|10||", "2||||1|1||", "3|||||1||"};
    QTest::newRow("other backward code")
        << abc << "rotL5B2" << QStringList{"1||||1|10||", "2||||1|1||", "3|||||1||"};
    QTest::newRow("level 1 after the first ends the final pass")
        << QList<Row>{summary(1, 1), input(2, 2, 1), summary(3, 1), input(4, 2, 1)} << "pw"
        << QStringList{"1||||1|10||", "2|1|||1|1||", "3|||||10||", "4|3||||1||"};
    QTest::newRow("three levels") << QList<Row>{summary(1, 1), summary(2, 2),  input(3, 3, 1),
                                                summary(4, 2), input(5, 3, 1), input(6, 2, 1)}
                                  << "pw"
                                  << QStringList{"1||||1|10||", "2||||||20|",    "3|1|2||1|1|1|",
                                                 "4||||||20|",  "5|1|4||1|1|1|", "6|1|||1|1||"};
    QTest::newRow("whole data set first")
        << QList<Row>{{{"code", 0}, {"Bumonmei", "全体"}, {"F4", 0}},
                      input(1, 1, 1),
                      input(2, 1, QVariant())}
        << "pw" << QStringList{"0||||1|||", "1||||1|||", "2|||||||"};
}

void TestRecompute::hierarchy() {
    QFETCH(QList<Row>, bumon);
    QFETCH(QString, passWord);
    QFETCH(QStringList, expected);
    Harness h;
    test::putRows(h.b, "Bumon", bumon);
    h.dm.APassWord = passWord;
    h.selection.activate();
    QCOMPARE(h.rows(), expected);
    // The recompute is the same whenever it runs again.
    h.selection.SetSelection();
    QCOMPARE(h.rows(), expected);
    QVERIFY(!h.selection.BumonTB.filtered());
}

void TestRecompute::keyRuleUntilTheNextRecompute() {
    Harness h;
    test::putRows(h.b, "Bumon", {summary(1, 1), input(2, 2, QVariant())});
    h.selection.activate();
    store::Table& table = h.selection.BumonTB;
    QVERIFY(table.findKey({2}));
    // Typing 0 into 集計対象=1 marks the row taken, until the next recompute.
    table.edit();
    table.fieldByName("F12").setAsInteger(0);
    table.post();
    h.selection.keyRule();
    QCOMPARE(table.fieldByName("F11").asInteger(), 1);
    h.selection.SetSelection();
    QVERIFY(table.fieldByName("F11").isNull());
    QCOMPARE(table.fieldByName("code").asInteger(), 2); // the current row is kept
    // Removing the mark clears it at once.
    table.edit();
    table.fieldByName("F12").setAsString(QString());
    table.post();
    h.selection.keyRule();
    QVERIFY(table.fieldByName("F11").isNull());
}

void TestRecompute::emptyTable() {
    Harness h;
    h.selection.activate();
    QCOMPARE(h.selection.BumonTB.recordCount(), qsizetype(0));
    h.selection.keyRule();
    QCOMPARE(h.selection.BumonTB.recordCount(), qsizetype(0));
}

void TestRecompute::rowsCannotBeAddedOrRemoved() {
    Harness h;
    test::putRows(h.b, "Bumon", {input(1, 1, 1)});
    h.selection.activate();
    QVERIFY_THROWS_EXCEPTION(Abort, h.selection.BumonTB.append());
    QVERIFY_THROWS_EXCEPTION(Abort, h.selection.BumonTB.deleteRecord());
    QCOMPARE(h.selection.BumonTB.recordCount(), qsizetype(1));
}

QTEST_GUILESS_MAIN(TestRecompute)
#include "tst_recompute.moc"
