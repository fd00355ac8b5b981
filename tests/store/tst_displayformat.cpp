#include "TableFixture.h"

#include "store/DisplayFormat.h"

#include <QtTest>

using namespace marubo::store;

class TestDisplayFormat : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void numbers_data();
    void numbers();
    void dates_data();
    void dates();
    void fieldsShowTheirFormat();
};

void TestDisplayFormat::numbers_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("thousands") << 1234567.0 << "#,##0"
                               << "1,234,567";
    QTest::newRow("small with thousands") << 12.0 << "#,##0"
                                          << "12";
    QTest::newRow("zero with #,##0") << 0.0 << "#,##0"
                                     << "0";
    QTest::newRow("two decimals") << 1234.5 << "0.00"
                                  << "1234.50";
    QTest::newRow("rounded half away") << 2.345 << "0.00"
                                       << "2.35";
    QTest::newRow("optional decimals") << 1.5 << "0.##"
                                       << "1.5";
    QTest::newRow("no decimals shown") << 3.0 << "0.##"
                                       << "3";
    QTest::newRow("leading zeros") << 7.0 << "000"
                                   << "007";
    QTest::newRow("negative") << -1234.0 << "#,##0"
                              << "-1,234";
    QTest::newRow("negative section") << -1234.0 << "#,##0;(#,##0)"
                                      << "(1,234)";
    QTest::newRow("zero section") << 0.0 << "#,##0;(#,##0);-"
                                  << "-";
    QTest::newRow("literal text") << 5000.0 << "\"¥\"#,##0\"円\""
                                  << "¥5,000円";
    QTest::newRow("negative rounding to zero") << -0.004 << "0.00"
                                               << "0.00";
}

void TestDisplayFormat::numbers() {
    QFETCH(double, value);
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(formatNumber(value, format), text);
}

void TestDisplayFormat::dates_data() {
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("text");
    QTest::newRow("slashes") << "yyyy/mm/dd"
                             << "2017/04/05";
    QTest::newRow("short") << "yy/m/d"
                           << "17/4/5";
    QTest::newRow("japanese") << "yyyy年m月d日"
                              << "2017年4月5日";
    QTest::newRow("quoted") << "'平成'yy"
                            << "平成17";
}

void TestDisplayFormat::dates() {
    QFETCH(QString, format);
    QFETCH(QString, text);
    QCOMPARE(formatDate(QDate(2017, 4, 5), format), text);
}

void TestDisplayFormat::fieldsShowTheirFormat() {
    marubo::test::TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setDisplayFormat(QStringLiteral("amount"), QStringLiteral("#,##0.0"));
    table.open();
    table.setDisplayFormat(QStringLiteral("d"), QStringLiteral("yyyy年m月d日"));
    QVERIFY(table.findKey({2}));
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).displayText(), QStringLiteral("250.5"));
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asString(), QStringLiteral("250.5"));
    QCOMPARE(table.fieldByName(QStringLiteral("d")).displayText(), QStringLiteral("2017年4月2日"));
    QCOMPARE(table.fieldByName(QStringLiteral("name")).displayText(), QStringLiteral("d"));
    QVERIFY(table.findKey({3}));
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).displayText(), QString());
    table.close();
    table.open(); // kept across a reopen
    QVERIFY(table.findKey({1}));
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).displayText(), QStringLiteral("100.0"));
}

QTEST_GUILESS_MAIN(TestDisplayFormat)
#include "tst_displayformat.moc"
