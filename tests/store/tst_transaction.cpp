#include "TableFixture.h"

#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Transaction.h"

#include <QtTest>

using namespace marubo::store;
using marubo::test::TableFixture;
using marubo::test::walk;

using Codes = QList<qint64>;

class TestTransaction : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void rollbackLeavesNothing();
    void commitKeepsEverything();
    void guardRollsBackUnlessCommitted();
    void scriptJoinsTheOpenTransaction();
    void noNesting();
};

namespace {
void appendCodes(Table& table, const Codes& codes) {
    for (qint64 code : codes) {
        table.append();
        table.fieldByName(QStringLiteral("code")).setAsInteger(code);
        table.post();
    }
}
} // namespace

void TestTransaction::rollbackLeavesNothing() {
    TableFixture fx;
    Database handle(fx.session, QStringLiteral("AAA"), fx.dir);
    Table table(fx.session, QStringLiteral("AAA"), QStringLiteral("T"));
    table.open();
    handle.startTransaction();
    QVERIFY(handle.inTransaction());
    appendCodes(table, {10, 11});
    QVERIFY(table.findKey({1}));
    table.deleteRecord();
    QCOMPARE(table.recordCount(), qsizetype(7));
    handle.rollback();
    QVERIFY(!handle.inTransaction());
    // The open table reads its rows again.
    QCOMPARE(walk(table), (Codes{0, 1, 2, 3, 4, 5}));
}

void TestTransaction::commitKeepsEverything() {
    TableFixture fx;
    Database handle(fx.session, QStringLiteral("AAA"), fx.dir);
    {
        Table table(fx.session, QStringLiteral("AAA"), QStringLiteral("T"));
        table.open();
        handle.startTransaction();
        appendCodes(table, {10});
        handle.commit();
    }
    handle.close();
    Session other;
    Table fresh(other, fx.dir, QStringLiteral("T"));
    fresh.open();
    QVERIFY(fresh.findKey({10}));
}

void TestTransaction::guardRollsBackUnlessCommitted() {
    TableFixture fx;
    Database handle(fx.session, QStringLiteral("AAA"), fx.dir);
    Table table(fx.session, QStringLiteral("AAA"), QStringLiteral("T"));
    table.open();
    try {
        Transaction transaction(handle);
        appendCodes(table, {20});
        appendCodes(table, {1}); // key violation
        transaction.commit();
        QFAIL("no key violation");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::KeyViolation);
    }
    table.cancel();
    QVERIFY(!handle.inTransaction());
    QVERIFY(!table.findKey({20}));
    {
        Transaction transaction(handle);
        appendCodes(table, {21});
        transaction.commit();
    }
    QVERIFY(table.findKey({21}));
}

void TestTransaction::scriptJoinsTheOpenTransaction() {
    TableFixture fx;
    Database handle(fx.session, QStringLiteral("AAA"), fx.dir);
    handle.startTransaction();
    Query remove(fx.session, QStringLiteral("AAA"));
    remove.setSql(QStringLiteral("Delete from T where grp=1"));
    remove.execSql();
    QVERIFY(handle.inTransaction());
    handle.rollback();
    Table table(fx.session, QStringLiteral("AAA"), QStringLiteral("T"));
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(6));
}

void TestTransaction::noNesting() {
    TableFixture fx;
    Database handle(fx.session, QStringLiteral("AAA"), fx.dir);
    handle.startTransaction();
    QVERIFY_THROWS_EXCEPTION(EngineError, handle.startTransaction());
    handle.commit();
    QVERIFY_THROWS_EXCEPTION(EngineError, handle.commit());
    Database empty(fx.session, QStringLiteral("EMPTY"), fx.folder.sub(QStringLiteral("empty")));
    QVERIFY_THROWS_EXCEPTION(EngineError, empty.startTransaction());
}

QTEST_GUILESS_MAIN(TestTransaction)
#include "tst_transaction.moc"
