#include "WorkHarness.h"

#include "sample/PackageLayouts.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Session.h"

#include <QtTest>

using namespace marubo;
using marubo::test::Row;
using marubo::test::WorkHarness;

// The account totals of one B level in the work folder.
class TestSetTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingSelected();
    void sumsOverTheSelectedSubDepartments();
    void secondAccountsAndSubAccounts();
    void bLevelTableFields_data();
    void bLevelTableFields();
};

namespace {

Row account(int department, const QString& code, const QString& name, const Row& amounts = {}) {
    Row row{{"B_ID", department},
            {"code", code},
            {"科目名", name},
            {"FlgA", 4},
            {"FlgF", 9},
            {"FlgH", 2},
            {"注記", department == 0 ? QVariant(QStringLiteral("按分対象")) : QVariant()}};
    return row + amounts;
}

const QStringList kKamokuFields{"code", "科目名",   "FlgA", "FlgF", "FlgH",
                                "注記", "当初予算", "予算", "比",   "前年実績"};

} // namespace

void TestSetTable::nothingSelected() {
    WorkHarness h;
    h.subDepartments(2, {});
    test::putRows(h.b, "Mkamoku",
                  {account(0, "1110", "現金"), account(1, "1110", "現金", {{"当初予算", 100}})});
    h.calc->SetTable();
    QCOMPARE(test::rowsOf(h.work, "kamoku", kKamokuFields, "code"),
             QStringList{"1110|現金|4||2|按分対象||||"});
}

void TestSetTable::sumsOverTheSelectedSubDepartments() {
    WorkHarness h;
    h.subDepartments(4, {1, 2, 4}); // 4 is selected but has no rows
    test::putRows(h.b, "Mkamoku",
                  {account(0, "1110", "現金"), account(0, "5230", "水道光熱費"),
                   account(1, "1110", "現金", {{"当初予算", 100}, {"比", 0.5}}),
                   account(2, "1110", "現金", {{"当初予算", 250}, {"比", 0.25}, {"前年実績", 10}}),
                   account(3, "1110", "現金", {{"当初予算", 999}}), // not selected
                   account(2, "9999", "不明", {{"当初予算", 7}})}); // not in the data set's list
    h.calc->SetTable();
    // NULL counts as 0 once a row is added; an account nobody has keeps NULL.
    QCOMPARE(test::rowsOf(h.work, "kamoku", kKamokuFields, "code"),
             (QStringList{"1110|現金|4||2|按分対象|350|0|0.75|10",
                          "5230|水道光熱費|4||2|按分対象||||"}));
}

void TestSetTable::secondAccountsAndSubAccounts() {
    WorkHarness h;
    h.subDepartments(2, {1, 2});
    auto second = [](int department, int number, const QString& code, double budget) {
        return Row{{"B_ID", department},
                   {"SNo", number},
                   {"code", code},
                   {"科目名", code},
                   {"当初予算", budget}};
    };
    test::putRows(h.b, "Mkamoku2",
                  {second(0, 1, "1110", 0), second(0, 2, "1120", 0), second(1, 2, "1120", 40),
                   second(2, 2, "1120", 60)});
    test::putRows(h.b, "hojokamoku",
                  {{{"kamoku_CD", "1120"}, {"hojo_CD", "001"}, {"補助科目名", "本店"}, {"予算", 5}},
                   {{"kamoku_CD", "1120"}, {"hojo_CD", "002"}, {"補助科目名", "支店"}}});
    auto sub = [](int department, const QString& code, double carried) {
        return Row{{"B_ID", department},
                   {"kamoku_CD", "1120"},
                   {"hojo_CD", code},
                   {"期首繰越", carried},
                   {"予算", 99}};
    };
    test::putRows(h.b, "Mhojokamoku",
                  {sub(0, "001", 999), sub(1, "001", 30), sub(2, "001", 12), sub(2, "003", 1)});
    h.calc->SetTable();
    QCOMPARE(test::rowsOf(h.work, "kamoku2", {"SNo", "code", "当初予算"}, "SNo"),
             (QStringList{"1|1110|", "2|1120|100"}));
    QCOMPARE(test::rowsOf(h.work, "hojokamoku",
                          {"kamoku_CD", "hojo_CD", "補助科目名", "期首繰越", "予算"},
                          "kamoku_CD, hojo_CD"),
             (QStringList{"1120|001|本店|42|", "1120|002|支店||"}));
}

void TestSetTable::bLevelTableFields_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("kept"); // the fields the table keeps; empty: all but `removed`
    QTest::addColumn<QString>("removed");
    QTest::addColumn<QString>("missing"); // the field the error names; empty: no error
    QTest::newRow("Mkamoku without FlgM") << "Mkamoku" << QStringList{} << "FlgM"
                                          << "FlgM";
    QTest::newRow("hojokamoku with its key and name only")
        << "hojokamoku" << QStringList{"kamoku_CD", "hojo_CD", "補助科目名"} << ""
        << "";
}

// A B level's tables need the fields that are read, and no more.
void TestSetTable::bLevelTableFields() {
    QFETCH(QString, table);
    QFETCH(QStringList, kept);
    QFETCH(QString, removed);
    QFETCH(QString, missing);
    test::TestFolder folder;
    const QString b = folder.sub("B");
    {
        store::Session session;
        store::Database database(session, "X", b);
        database.connection(true);
        for (store::TableLayout layout : sample::bLevelLayouts(2)) {
            if (layout.name == table) {
                if (!kept.isEmpty())
                    layout.fields.removeIf(
                        [&](const store::FieldDef& field) { return !kept.contains(field.name); });
                else
                    layout.fields.removeAt(layout.fieldIndex(removed));
            }
            database.createTable(layout);
        }
    }
    test::putRows(b, "hojokamoku",
                  {{{"kamoku_CD", "1120"}, {"hojo_CD", "001"}, {"補助科目名", "本店"}}});
    TDM dm;
    dm.Database2.setDirectory(b);
    const QString work = folder.sub("WKData");
    dm.Database3.setDirectory(work);
    dm.MakeTableW.execSql();
    TCalc calc(dm);
    try {
        calc.SetTable();
        QVERIFY2(missing.isEmpty(), "opened a table without a field that is read");
        QCOMPARE(
            test::rowsOf(work, "hojokamoku", {"kamoku_CD", "hojo_CD", "補助科目名"}, "kamoku_CD"),
            QStringList{"1120|001|本店"});
    } catch (const store::EngineError& error) {
        QVERIFY2(!missing.isEmpty(), qPrintable(error.message()));
        QCOMPARE(error.kind(), store::EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(missing));
    }
}

QTEST_GUILESS_MAIN(TestSetTable)
#include "tst_settable.moc"
