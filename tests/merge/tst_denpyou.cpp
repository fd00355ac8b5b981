#include "WorkHarness.h"

#include "store/EngineError.h"

#include <QtTest>

using namespace marubo;
using marubo::test::Row;
using marubo::test::WorkHarness;

using Ratios = QList<qint64>;
using Codes = QList<int>;

// The voucher collection of one B level into the work folder.
class TestDenpyou : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void nothingSelected();
    void ownAndCommonLines();
    void sharedLines_data();
    void sharedLines();
    void wholeDataSetSelected();
    void sameLineTwiceForOneSubDepartment();
};

void TestDenpyou::nothingSelected() {
    WorkHarness h;
    h.subDepartments(3, {});
    test::putRows(h.b, "denpyou1", {WorkHarness::line(1, 1, 1, "5110", "1120", 100, 100)});
    h.calc->makeDenpyou();
    QVERIFY(h.workLines().isEmpty());
    QCOMPARE(h.dm->BumonNo, 0);
}

void TestDenpyou::ownAndCommonLines() {
    WorkHarness h;
    h.subDepartments(3, {1, 2});
    test::putRows(h.b, "denpyou1",
                  {WorkHarness::line(1, 1, 1, "5110", "1120", 100, 100),
                   WorkHarness::line(2, 1, 3, "5110", "1120", 50, 50),     // not selected
                   WorkHarness::line(3, 1, 0, "5110", "1120", 1000, 1000), // common, no allocation
                   WorkHarness::line(4, 1, 1, "5110", "1120", 0, 0),       // own line of nothing
                   WorkHarness::line(5, 1, 0, "5110", "1120", 0, 0)});     // common line of nothing
    int pumped = 0;
    h.calc->processEvents = [&pumped] { ++pumped; };
    h.calc->makeDenpyou();
    QCOMPARE(h.workLines(), (QStringList{"1|1|1|100|100|1", "3|1|0|2000|2000|1",
                                         "3|1|1|1000|1000|1", "3|1|2|1000|1000|1", "4|1|1|0|0|1"}));
    QCOMPARE(pumped, 2);
    QCOMPARE(h.dm->BumonNo, 2);
    QCOMPARE(h.dm->BumonCD, QStringLiteral("2"));
}

void TestDenpyou::sharedLines_data() {
    QTest::addColumn<Ratios>("debitRatios");  // empty: no allocation row for the debit account
    QTest::addColumn<Ratios>("creditRatios"); // empty: none for the credit account
    QTest::addColumn<double>("debit");
    QTest::addColumn<double>("credit");
    QTest::addColumn<Codes>("selected");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("333/333/334 on 10")
        << Ratios{333, 333, 334} << Ratios{} << 10.0 << 10.0 << Codes{1, 2, 3}
        << QStringList{"1|1|0|10|10|1", "1|1|1|3|3|0", "1|1|2|3|3|0", "1|1|3|4|4|0"};
    QTest::newRow("by the credit account")
        << Ratios{} << Ratios{600, 400} << 1000.0 << 1000.0 << Codes{1, 2}
        << QStringList{"1|1|0|1000|1000|1", "1|1|1|600|600|0", "1|1|2|400|400|0"};
    QTest::newRow("debit and credit both")
        << Ratios{500, 500} << Ratios{500, 500} << 1000.0 << 1000.0 << Codes{1, 2}
        << QStringList{"1|1|0|500|500|1", "1|1|1|250|250|0", "1|1|2|250|250|0"};
    QTest::newRow("amounts made equal")
        << Ratios{500, 500} << Ratios{} << 1000.0 << 800.0 << Codes{1, 2}
        << QStringList{"1|1|0|1000|1000|1", "1|1|1|500|500|0", "1|1|2|500|500|0"};
    QTest::newRow("all ratios zero")
        << Ratios{0, 0} << Ratios{} << 1000.0 << 1000.0 << Codes{1, 2} << QStringList{};
    QTest::newRow("only some selected")
        << Ratios{200, 300, 500} << Ratios{} << 1000.0 << 1000.0 << Codes{2}
        << QStringList{"1|1|0|300|300|1", "1|1|2|300|300|0"};
    QTest::newRow("no ratio column")
        << Ratios{300, 700} << Ratios{} << 1000.0 << 1000.0 << Codes{1, 3}
        << QStringList{"1|1|0|300|300|1", "1|1|1|300|300|0"};
    QTest::newRow("fraction 500/500 on 10.5")
        << Ratios{500, 500} << Ratios{} << 10.5 << 10.5 << Codes{1, 2}
        << QStringList{"1|1|0|10.5|10.5|1", "1|1|1|5.5|5.5|0", "1|1|2|5|5|0"};
}

void TestDenpyou::sharedLines() {
    QFETCH(Ratios, debitRatios);
    QFETCH(Ratios, creditRatios);
    QFETCH(double, debit);
    QFETCH(double, credit);
    QFETCH(Codes, selected);
    QFETCH(QStringList, lines);
    WorkHarness h;
    h.subDepartments(3, selected);
    QList<Row> allocations;
    if (!debitRatios.isEmpty())
        allocations << WorkHarness::allocation("5230", debitRatios);
    if (!creditRatios.isEmpty())
        allocations << WorkHarness::allocation("4110", creditRatios);
    test::putRows(h.b, "anbunwari", allocations);
    test::putRows(h.b, "denpyou1", {WorkHarness::line(1, 1, 0, "5230", "4110", debit, credit)});
    h.calc->makeDenpyou();
    QCOMPARE(h.workLines(), lines);
}

void TestDenpyou::wholeDataSetSelected() {
    WorkHarness h;
    h.subDepartments(2, {0}, true);
    test::putRows(h.b, "denpyou1",
                  {WorkHarness::line(1, 1, 1, "5110", "1120", 100, 100),
                   WorkHarness::line(2, 1, 2, "5110", "1120", 200, 200),
                   WorkHarness::line(3, 1, 0, "5110", "1120", 300, 300)});
    h.calc->makeDenpyou();
    // Every line is written, tagged 0; nothing of it would reach the A level.
    QCOMPARE(test::rowsOf(h.work, "denpyou1", {"SNo", "FlgT"}, "SNo"),
             (QStringList{"1|0", "2|0", "3|0"}));
}

void TestDenpyou::sameLineTwiceForOneSubDepartment() {
    WorkHarness h;
    h.subDepartments(2, {1});
    test::putRows(h.b, "denpyou1",
                  {WorkHarness::line(7, 2, 0, "5110", "1120", 100, 100),
                   WorkHarness::line(7, 2, 1, "5110", "1120", 200, 200)});
    try {
        h.calc->makeDenpyou();
        QFAIL("collected the same line twice");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Kind::KeyViolation);
        QVERIFY2(error.message().contains(h.b.chopped(1)), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("伝票番号 7 の 2 行目")),
                 qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("部門 1")), qPrintable(error.message()));
    }
    // Nothing is left half-done in the data module's tables.
    QVERIFY(!h.dm->Wden1TB.isActive());
    QVERIFY(!h.dm->den1TB.isActive());
}

QTEST_GUILESS_MAIN(TestDenpyou)
#include "tst_denpyou.moc"
