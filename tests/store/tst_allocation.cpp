#include "store/Allocation.h"

#include <QtTest>

using namespace marubo;

using Amounts = QList<qint64>; // whole units per column

class TestAllocation : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void shares_data();
    void shares();
    void subDepartmentWithoutColumnGetsZero();
    void fixedPoint_data();
    void fixedPoint();
};

void TestAllocation::shares_data() {
    QTest::addColumn<Amounts>("ratios");
    QTest::addColumn<double>("base");
    QTest::addColumn<QList<double>>("expected"); // share of column 1, 2, ...
    QTest::newRow("333/333/334 on 10") << Amounts{333, 333, 334} << 10.0 << QList<double>{3, 3, 4};
    QTest::newRow("333/333/334 on -10")
        << Amounts{333, 333, 334} << -10.0 << QList<double>{-3, -3, -4};
    QTest::newRow("400/400/200 on 7") << Amounts{400, 400, 200} << 7.0 << QList<double>{4, 2, 1};
    QTest::newRow("500/500 on 10.5") << Amounts{500, 500} << 10.5 << QList<double>{5.5, 5};
    QTest::newRow("200/300 on 1000") << Amounts{200, 300} << 1000.0 << QList<double>{200, 800};
    QTest::newRow("all zero") << Amounts{0, 0, 0} << 1000.0 << QList<double>{0, 0, 0};
    QTest::newRow("negative ratio never receives")
        << Amounts{-100, 0} << 50.0 << QList<double>{-5, 0};
    QTest::newRow("600/400 on 1000") << Amounts{600, 400} << 1000.0 << QList<double>{600, 400};
    QTest::newRow("large amount") << Amounts{333, 667} << 9876543210987.0
                                  << QList<double>{3288888889258.0, 6587654321729.0};
}

void TestAllocation::shares() {
    QFETCH(Amounts, ratios);
    QFETCH(double, base);
    QFETCH(QList<double>, expected);
    std::vector<qint64> table{7, 7, 7, 7, 7, 7}; // left over from an earlier allocation
    const qint64 fixedBase = toTenThousandths(base);
    qint64 sum = 0;
    for (qsizetype u = 1; u <= expected.size(); ++u) {
        const qint64 share = shareOut(table, fixedBase, ratios, u);
        QCOMPARE(fromTenThousandths(share), expected[u - 1]);
        sum += share;
    }
    const bool anyPositive =
        std::any_of(ratios.begin(), ratios.end(), [](qint64 r) { return r > 0; });
    if (anyPositive)
        QCOMPARE(sum, fixedBase);
}

void TestAllocation::subDepartmentWithoutColumnGetsZero() {
    std::vector<qint64> table;
    shareOut(table, toTenThousandths(1000), {100, 200, 300, 400}, 4);
    QCOMPARE(table.size(), size_t(5));
    // A later allocation with fewer columns leaves nothing over for column 4.
    QCOMPARE(shareOut(table, toTenThousandths(1000), {500, 500}, 4), 0);
    QCOMPARE(shareOut(table, toTenThousandths(1000), {500, 500}, 120), 0);
    QCOMPARE(table.size(), size_t(121));
}

void TestAllocation::fixedPoint_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<qint64>("fixed");
    QTest::newRow("whole") << 1000.0 << qint64(10000000);
    QTest::newRow("fraction") << 10.5 << qint64(105000);
    QTest::newRow("half of the last place to even") << 0.00005 << qint64(0);
    QTest::newRow("negative") << -0.25 << qint64(-2500);
}

void TestAllocation::fixedPoint() {
    QFETCH(double, amount);
    QFETCH(qint64, fixed);
    QCOMPARE(toTenThousandths(amount), fixed);
}

QTEST_APPLESS_MAIN(TestAllocation)
#include "tst_allocation.moc"
