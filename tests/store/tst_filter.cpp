#include "store/EngineError.h"
#include "store/FilterExpression.h"

#include <QtTest>

using namespace marubo::store;

// The filter parser on its own: the SQL it writes and the values it binds.
class TestFilter : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void translates_data();
    void translates();
    void malformed_data();
    void malformed();
    void unknownField();
    void namesItUses();
};

namespace {

const QList<FieldDef> kFields = {
    fieldDefFromDeclaration(QStringLiteral("code"), QStringLiteral("INTEGER")),
    fieldDefFromDeclaration(QStringLiteral("S1"), QStringLiteral("VARCHAR(10)")),
    fieldDefFromDeclaration(QStringLiteral("FlgT"), QStringLiteral("SMALLINT")),
    fieldDefFromDeclaration(QStringLiteral("B_ID"), QStringLiteral("SMALLINT")),
    fieldDefFromDeclaration(QStringLiteral("hizuke"), QStringLiteral("DATE")),
    fieldDefFromDeclaration(QStringLiteral("前年実績"), QStringLiteral("MONEY")),
};

const FieldDef* resolve(const QString& name) {
    const qsizetype index = indexOfField(kFields, name);
    return index < 0 ? nullptr : &kFields[index];
}

} // namespace

void TestFilter::translates_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QVariantList>("binds");
    QTest::newRow("code>0") << "code>0"
                            << "(\"code\" > ?)" << QVariantList{qint64(0)};
    QTest::newRow("is not null") << "code>0 and (S1 is not Null)"
                                 << "((\"code\" > ?) AND (\"S1\" IS NOT NULL))"
                                 << QVariantList{qint64(0)};
    QTest::newRow("not equal") << "FlgT<>0"
                               << "(\"FlgT\" <> ?)" << QVariantList{qint64(0)};
    QTest::newRow("spaces") << "B_ID = 5"
                            << "(\"B_ID\" = ?)" << QVariantList{qint64(5)};
    QTest::newRow("or") << "FlgT=0 or FlgT=3"
                        << "((\"FlgT\" = ?) OR (\"FlgT\" = ?))"
                        << QVariantList{qint64(0), qint64(3)};
    QTest::newRow("greater or equal") << "code>=0"
                                      << "(\"code\" >= ?)" << QVariantList{qint64(0)};
    QTest::newRow("case of names")
        << "CODE>0 AND s1 IS NULL"
        << "((\"code\" > ?) AND (\"S1\" IS NULL))" << QVariantList{qint64(0)};
    QTest::newRow("and binds tighter than or")
        << "code=1 or code=2 and FlgT=3"
        << "((\"code\" = ?) OR ((\"code\" = ?) AND (\"FlgT\" = ?)))"
        << QVariantList{qint64(1), qint64(2), qint64(3)};
    QTest::newRow("not") << "not (code < 5)"
                         << "(NOT (\"code\" < ?))" << QVariantList{qint64(5)};
    QTest::newRow("text literal to number") << "code = '7'"
                                            << "(\"code\" = ?)" << QVariantList{qint64(7)};
    QTest::newRow("number to text") << "S1 = 10"
                                    << "(\"S1\" = ?)" << QVariantList{QStringLiteral("10")};
    QTest::newRow("quote in text") << "S1 = 'it''s'"
                                   << "(\"S1\" = ?)" << QVariantList{QStringLiteral("it's")};
    QTest::newRow("date as iso text")
        << "hizuke >= '2017/4/1'"
        << "(\"hizuke\" >= ?)" << QVariantList{QStringLiteral("2017-04-01")};
    QTest::newRow("japanese field") << "前年実績 <> 0"
                                    << "(\"前年実績\" <> ?)" << QVariantList{0.0};
    QTest::newRow("negative") << "code > -3"
                              << "(\"code\" > ?)" << QVariantList{qint64(-3)};
    QTest::newRow("equals null") << "S1 = NULL"
                                 << "(\"S1\" IS NULL)" << QVariantList{};
    QTest::newRow("quoted names") << "\"code\" = 1 and [FlgT] != 2"
                                  << "((\"code\" = ?) AND (\"FlgT\" <> ?))"
                                  << QVariantList{qint64(1), qint64(2)};
    QTest::newRow("field to field") << "code = FlgT"
                                    << "(\"code\" = \"FlgT\")" << QVariantList{};
    QTest::newRow("equals empty text") << "S1 = ''"
                                       << "(\"S1\" IS NULL)" << QVariantList{};
    QTest::newRow("differs from empty text") << "S1 <> ''"
                                             << "(\"S1\" IS NOT NULL)" << QVariantList{};
    QTest::newRow("empty text on the left") << "'' = S1"
                                            << "(\"S1\" IS NULL)" << QVariantList{};
    QTest::newRow("empty text to a date") << "hizuke = ''"
                                          << "(\"hizuke\" IS NULL)" << QVariantList{};
    QTest::newRow("empty text to a number") << "code <> ''"
                                            << "(\"code\" IS NOT NULL)" << QVariantList{};
    QTest::newRow("text longer than the field")
        << "S1 = 'ABCDEFGHIJKL'"
        << "(\"S1\" = ?)" << QVariantList{QStringLiteral("ABCDEFGHIJKL")};
    QTest::newRow("number longer than the field")
        << "S1 = 123456789012"
        << "(\"S1\" = ?)" << QVariantList{QStringLiteral("123456789012")};
    QTest::newRow("fraction to a whole number") << "code > 1.5"
                                                << "(\"code\" > ?)" << QVariantList{1.5};
    QTest::newRow("half to a whole number") << "FlgT = 2.5"
                                            << "(\"FlgT\" = ?)" << QVariantList{2.5};
    QTest::newRow("whole fraction to a whole number")
        << "code = 2.0"
        << "(\"code\" = ?)" << QVariantList{qint64(2)};
    QTest::newRow("empty") << "  "
                           << "" << QVariantList{};
}

void TestFilter::translates() {
    QFETCH(QString, filter);
    QFETCH(QString, sql);
    QFETCH(QVariantList, binds);
    QVariantList actual;
    QCOMPARE(FilterExpression::parse(filter).toSql(resolve, actual, QStringLiteral("T")), sql);
    QCOMPARE(actual, binds);
}

void TestFilter::malformed_data() {
    QTest::addColumn<QString>("filter");
    QTest::newRow("no right side") << "code>";
    QTest::newRow("no operator") << "code 0";
    QTest::newRow("open parenthesis") << "(code>0";
    QTest::newRow("dangling and") << "code>0 and";
    QTest::newRow("unterminated text") << "S1 = 'abc";
    QTest::newRow("is without null") << "S1 is not";
    QTest::newRow("bare field") << "code";
    QTest::newRow("extra close") << "code>0)";
    QTest::newRow("stray character") << "code > 0 ;";
    QTest::newRow("sql injection") << "code>0; DROP TABLE T";
}

void TestFilter::malformed() {
    QFETCH(QString, filter);
    try {
        FilterExpression::parse(filter);
        QFAIL("no error");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Syntax);
        QVERIFY2(error.message().contains(QStringLiteral("フィルタ")), qPrintable(error.message()));
    }
}

void TestFilter::unknownField() {
    const FilterExpression expression = FilterExpression::parse(QStringLiteral("nosuch > 1"));
    QVariantList binds;
    try {
        expression.toSql(resolve, binds, QStringLiteral("BUMON"));
        QFAIL("no error");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(QStringLiteral("nosuch")));
        QVERIFY(error.message().contains(QStringLiteral("BUMON")));
    }
}

void TestFilter::namesItUses() {
    const FilterExpression expression =
        FilterExpression::parse(QStringLiteral("code>0 and (S2 is not Null) or CODE < 9"));
    QCOMPARE(expression.fieldNames(), (QStringList{QStringLiteral("code"), QStringLiteral("S2")}));
}

QTEST_APPLESS_MAIN(TestFilter)
#include "tst_filter.moc"
