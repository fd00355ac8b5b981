#include "TableFixture.h"

#include "store/EngineError.h"

#include <QtTest>

using namespace marubo::store;
using marubo::test::TableFixture;
using marubo::test::walk;

using Codes = QList<qint64>;

class TestQuery : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void selectIsNavigatedLikeATable();
    void scriptRunsInOrder();
    void failingScriptChangesNothing();
    void openNeedsOneSelect_data();
    void openNeedsOneSelect();
    void queryIsReadOnly();
    void openTablesSeeTheScript();
    void rowsAffectedCountsChangedRows_data();
    void rowsAffectedCountsChangedRows();
};

void TestQuery::selectIsNavigatedLikeATable() {
    TableFixture fx;
    Query query(fx.session, fx.dir);
    query.setSql(QStringLiteral(" Select * From t Where (grp=1) or (grp=3) Order By code "));
    query.open();
    QCOMPARE(query.recordCount(), qsizetype(4));
    QCOMPARE(walk(query), (Codes{1, 2, 3, 5}));
    QVERIFY(query.eof());
    query.first();
    QVERIFY(query.bof());
    QCOMPARE(query.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("e"));
    QCOMPARE(query.fieldByName(QStringLiteral("amount")).dataType(), FieldType::Money);
    QCOMPARE(query.fieldByName(QStringLiteral("d")).asDate(), QDate(2017, 4, 1));
    query.last();
    QCOMPARE(query.fieldByName(QStringLiteral("code")).asInteger(), 5);
    query.close();
    query.setSql(QStringLiteral("select count(*) as n from T where code > 100"));
    query.open();
    QVERIFY(!query.eof());
    QCOMPARE(query.fieldByName(QStringLiteral("n")).asInteger(), 0);
}

void TestQuery::scriptRunsInOrder() {
    TableFixture fx;
    Query script(fx.session, fx.dir);
    script.setSql(QStringLiteral("/* two steps */\n"
                                 "Delete from T where grp=3;\n"
                                 "-- and one more\n"
                                 "UPDATE T SET name = 'x;y' WHERE code = 1;"));
    script.execSql();
    QCOMPARE(script.rowsAffected(), 3);
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QCOMPARE(walk(table), (Codes{0, 1, 3, 4}));
    QVERIFY(table.findKey({1}));
    QCOMPARE(table.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("x;y"));
}

void TestQuery::failingScriptChangesNothing() {
    TableFixture fx;
    Query script(fx.session, fx.dir);
    script.setSql(QStringLiteral("DELETE FROM T WHERE code = 1; INSERT INTO T (code) VALUES (2);"));
    try {
        script.execSql();
        QFAIL("duplicate key accepted");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::KeyViolation);
        QVERIFY(error.message().contains(QStringLiteral("INSERT INTO T")));
    }
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(6));
}

void TestQuery::openNeedsOneSelect_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<int>("kind");
    QTest::newRow("two statements")
        << "select * from T; select * from V" << int(EngineError::Kind::Syntax);
    QTest::newRow("not a select") << "delete from T" << int(EngineError::Kind::Syntax);
    QTest::newRow("missing table") << "select * from nosuch" << int(EngineError::Kind::NotFound);
    QTest::newRow("missing field") << "select nosuch from T" << int(EngineError::Kind::NotFound);
}

void TestQuery::openNeedsOneSelect() {
    QFETCH(QString, sql);
    QFETCH(int, kind);
    TableFixture fx;
    Query query(fx.session, fx.dir);
    query.setSql(sql);
    try {
        query.open();
        QFAIL("opened");
    } catch (const EngineError& error) {
        QCOMPARE(int(error.kind()), kind);
    }
    QVERIFY(!query.isActive());
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(6));
}

void TestQuery::queryIsReadOnly() {
    TableFixture fx;
    Query query(fx.session, fx.dir);
    query.setSql(QStringLiteral("select * from T"));
    query.open();
    QVERIFY_THROWS_EXCEPTION(EngineError, query.edit());
    QVERIFY_THROWS_EXCEPTION(EngineError, query.append());
    QCOMPARE(query.state(), DataSetState::Browse);
    QVERIFY_THROWS_EXCEPTION(EngineError, query.deleteRecord());
    QVERIFY_THROWS_EXCEPTION(EngineError, query.setSql(QStringLiteral("select 1")));
}

void TestQuery::openTablesSeeTheScript() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    table.last();
    Query script(fx.session, fx.dir);
    script.setSql(QStringLiteral("INSERT INTO T (code, name) VALUES (8, 'eight')"));
    script.execSql();
    table.next();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 8);
    QCOMPARE(table.recordCount(), qsizetype(7));
}

void TestQuery::rowsAffectedCountsChangedRows_data() {
    QTest::addColumn<QString>("sql");
    QTest::addColumn<qint64>("rows");
    QTest::newRow("insert, then create a table")
        << "INSERT INTO T (code) VALUES (20); CREATE TABLE X (\"a\" INTEGER)" << qint64(1);
    QTest::newRow("delete, then create an index")
        << "DELETE FROM T WHERE grp = 3; CREATE INDEX \"n\" ON T (\"name\")" << qint64(2);
    QTest::newRow("update, select, drop")
        << "UPDATE T SET name = 'z' WHERE code < 3; SELECT * FROM T; DROP TABLE V" << qint64(3);
    QTest::newRow("only a new table") << "CREATE TABLE X (\"a\" INTEGER)" << qint64(0);
}

void TestQuery::rowsAffectedCountsChangedRows() {
    QFETCH(QString, sql);
    QFETCH(qint64, rows);
    TableFixture fx;
    Query script(fx.session, fx.dir);
    script.setSql(sql);
    script.execSql();
    QCOMPARE(script.rowsAffected(), rows);
}

QTEST_GUILESS_MAIN(TestQuery)
#include "tst_query.moc"
