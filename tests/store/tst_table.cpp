#include "TableFixture.h"

#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Sqlite.h"
#include "util/Abort.h"

#include <QtTest>

using namespace marubo;
using namespace marubo::store;
using marubo::test::TableFixture;
using marubo::test::walk;

using Codes = QList<qint64>;

class TestTable : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void order_data();
    void order();
    void filters_data();
    void filters();
    void badFilterKeepsThePreviousOne_data();
    void badFilterKeepsThePreviousOne();
    void endFlags();
    void moveBy();
    void findKey_data();
    void findKey();
    void findKeyMissLeavesRowAndRespectsFilter();
    void nullRules();
    void declaredFields();
    void editCycle();
    void navigationPostsOrCancels();
    void insertedAndEditedRowsTakeTheirPlace();
    void editLeavingTheFilter();
    void refusingHandlers();
    void keyViolationAndEmptyKey();
    void deleteRows();
    void bookmarks();
    void listenersAndDisabledControls();
    void emptyTable();
    void secondCursorSeesChanges();
    void storageFormat();
    void autoIncrement();
    void repointedHandleAndInactiveSession();
    void namesIgnoreCase();
    void privateFolder();
    void valuesOfOtherRows();
    void fieldRange_data();
    void fieldRange();
    void editedKeyKeepsItsRow_data();
    void editedKeyKeepsItsRow();
    void postKeepsChangesMadeElsewhere_data();
    void postKeepsChangesMadeElsewhere();
    void rowDeletedElsewhereDuringEdit_data();
    void rowDeletedElsewhereDuringEdit();
    void wholeAmountsReadAsFloating_data();
    void wholeAmountsReadAsFloating();
};

void TestTable::order_data() {
    QTest::addColumn<QString>("indexName");
    QTest::addColumn<QString>("indexFields");
    QTest::addColumn<Codes>("codes");
    QTest::newRow("primary key") << ""
                                 << "" << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("secondary index") << "grp"
                                     << "" << Codes{0, 4, 3, 1, 5, 2};
    QTest::newRow("index name ignores case") << "GRP"
                                             << "" << Codes{0, 4, 3, 1, 5, 2};
    QTest::newRow("field list") << ""
                                << "name" << Codes{0, 5, 4, 3, 2, 1};
    QTest::newRow("two fields") << ""
                                << "grp;code" << Codes{0, 4, 1, 3, 2, 5};
    QTest::newRow("amount, nulls first") << ""
                                         << "amount" << Codes{0, 3, 4, 5, 1, 2};
}

void TestTable::order() {
    QFETCH(QString, indexName);
    QFETCH(QString, indexFields);
    QFETCH(Codes, codes);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    if (!indexName.isEmpty())
        table.setIndexName(indexName);
    if (!indexFields.isEmpty())
        table.setIndexFieldNames(indexFields);
    table.open();
    QCOMPARE(walk(table), codes);
    // Changing the order of an open table keeps the current row.
    table.first();
    table.next();
    const qint64 current = table.fieldByName(QStringLiteral("code")).asInteger();
    table.setIndexFieldNames(QStringLiteral("code"));
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), current);
    QCOMPARE(table.recNo(), qsizetype(current));
}

void TestTable::filters_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<Codes>("codes");
    QTest::newRow("code>0") << "code>0" << Codes{1, 2, 3, 4, 5};
    QTest::newRow("is not null") << "code>0 and (name is not Null)" << Codes{1, 2, 3, 4};
    QTest::newRow("not equal") << "grp<>0" << Codes{1, 2, 3, 5};
    QTest::newRow("spaced") << "grp = 3" << Codes{2, 5};
    QTest::newRow("or") << "grp=0 or grp=3" << Codes{0, 2, 4, 5};
    QTest::newRow("code>=0") << "code>=0" << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("null amount never compares") << "amount <> 0" << Codes{1, 2, 4};
    QTest::newRow("fraction") << "amount > 100.5" << Codes{2};
    QTest::newRow("dates") << "d >= '2017-04-02'" << Codes{2, 3, 5};
    QTest::newRow("boolean") << "flag = true" << Codes{1, 4};
    QTest::newRow("text") << "name < 'd'" << Codes{3, 4};
    QTest::newRow("not") << "not (grp = 1)" << Codes{0, 2, 4, 5};
    QTest::newRow("nothing") << "code > 99" << Codes{};
    // Empty text is stored as NULL, so comparing with it asks for NULL.
    QTest::newRow("equals empty text") << "name = ''" << Codes{0, 5};
    QTest::newRow("differs from empty text") << "name <> ''" << Codes{1, 2, 3, 4};
    QTest::newRow("empty text first") << "'' = name" << Codes{0, 5};
    QTest::newRow("empty text to a number") << "amount = ''" << Codes{0, 3};
    // Fractions compared with whole-number fields are not rounded.
    QTest::newRow("above a fraction") << "code > 1.5" << Codes{2, 3, 4, 5};
    QTest::newRow("equals a fraction") << "code = 2.5" << Codes{};
    QTest::newRow("differs from a fraction") << "code <> 1.6" << Codes{0, 1, 2, 3, 4, 5};
    QTest::newRow("at least a half") << "grp >= 0.5" << Codes{1, 2, 3, 5};
}

void TestTable::filters() {
    QFETCH(QString, filter);
    QFETCH(Codes, codes);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(filter);
    table.setFiltered(true);
    table.open();
    QCOMPARE(table.recordCount(), codes.size());
    QCOMPARE(walk(table), codes);
    // Switching the filter off shows every row again, from the first.
    table.setFiltered(false);
    QCOMPARE(table.recordCount(), qsizetype(6));
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 0);
    table.next();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);
}

void TestTable::badFilterKeepsThePreviousOne_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<int>("kind");
    QTest::newRow("malformed") << "grp =" << int(EngineError::Kind::Syntax);
    QTest::newRow("unknown field") << "nosuch = 1" << int(EngineError::Kind::NotFound);
}

void TestTable::badFilterKeepsThePreviousOne() {
    QFETCH(QString, filter);
    QFETCH(int, kind);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(QStringLiteral("grp=1"));
    table.setFiltered(true);
    table.open();
    try {
        table.setFilter(filter);
        QFAIL("no error");
    } catch (const EngineError& error) {
        QCOMPARE(int(error.kind()), kind);
    }
    QCOMPARE(table.filter(), QStringLiteral("grp=1"));
    QCOMPARE(walk(table), (Codes{1, 3}));
}

void TestTable::endFlags() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(QStringLiteral("grp = 1"));
    table.setFiltered(true);
    table.open();
    QVERIFY(table.bof());
    QVERIFY(!table.eof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);
    table.prior();
    QVERIFY(table.bof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);
    table.next();
    QVERIFY(!table.bof());
    QVERIFY(!table.eof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3);
    table.next();
    QVERIFY(table.eof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3);
    table.last();
    QVERIFY(table.eof());
    table.prior();
    QVERIFY(!table.eof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);

    table.setFilter(QStringLiteral("grp = 7"));
    QVERIFY(table.bof());
    QVERIFY(table.eof());
    QCOMPARE(table.recordCount(), qsizetype(0));
    QVERIFY(table.fieldByName(QStringLiteral("code")).isNull());
    QCOMPARE(table.recNo(), qsizetype(-1));
}

void TestTable::moveBy() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QCOMPARE(table.moveBy(3), qsizetype(3));
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3);
    QCOMPARE(table.moveBy(10), qsizetype(2));
    QVERIFY(table.eof());
    QCOMPARE(table.moveBy(-4), qsizetype(-4));
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);
    QCOMPARE(table.moveBy(-5), qsizetype(-1));
    QVERIFY(table.bof());
}

void TestTable::findKey_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("indexFields");
    QTest::addColumn<QVariantList>("keys");
    QTest::addColumn<QString>("memoOrCode");
    QTest::newRow("primary key") << "T"
                                 << "" << QVariantList{3} << "3";
    QTest::newRow("key as text") << "T"
                                 << "" << QVariantList{QStringLiteral("4")} << "4";
    QTest::newRow("secondary index, both fields")
        << "T"
        << "grp;name" << QVariantList{1, QStringLiteral("e")} << "1";
    QTest::newRow("leading field gives first in order") << "T"
                                                        << "grp;name" << QVariantList{1} << "3";
    QTest::newRow("full voucher key") << "V"
                                      << "" << QVariantList{5, 1, 2} << "five-one-two";
    QTest::newRow("voucher key without FlgT") << "V"
                                              << "" << QVariantList{5, 1} << "five-one-one";
    QTest::newRow("voucher number only") << "V"
                                         << "" << QVariantList{9} << "nine";
    QTest::newRow("null key value") << "T"
                                    << "name" << QVariantList{QVariant()} << "0";
}

void TestTable::findKey() {
    QFETCH(QString, table);
    QFETCH(QString, indexFields);
    QFETCH(QVariantList, keys);
    QFETCH(QString, memoOrCode);
    TableFixture fx;
    Table data(fx.session, fx.dir, table);
    if (!indexFields.isEmpty())
        data.setIndexFieldNames(indexFields);
    data.open();
    QVERIFY(data.findKey(keys));
    const QString field = table == u"V" ? QStringLiteral("memo") : QStringLiteral("code");
    QCOMPARE(data.fieldByName(field).asString(), memoOrCode);
    QVERIFY(!data.eof());
    // Navigation goes on from the row found.
    const qsizetype position = data.recNo();
    data.next();
    QCOMPARE(data.recNo(), qMin(position + 1, data.recordCount() - 1));
}

void TestTable::findKeyMissLeavesRowAndRespectsFilter() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(QStringLiteral("code>0"));
    table.setFiltered(true);
    table.open();
    table.next();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 2);
    QVERIFY(!table.findKey({42}));
    QVERIFY(!table.findKey({0})); // outside the filter
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 2);
    try {
        table.findKey({1, 2});
        QFAIL("more keys than index fields");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::State);
    }
}

void TestTable::nullRules() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QVERIFY(table.findKey({3}));
    QVERIFY(table.fieldByName(QStringLiteral("amount")).isNull());
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asFloat(), 0.0);
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asString(), QString());
    QVERIFY(!table.fieldByName(QStringLiteral("flag")).asBoolean());
    QCOMPARE(table.fieldByName(QStringLiteral("d")).asDate(), QDate(2017, 4, 3));
    QCOMPARE(table.fieldByName(QStringLiteral("d")).asString(), QStringLiteral("2017/04/03"));

    table.edit();
    table.fieldByName(QStringLiteral("name")).setAsString(QString());
    table.fieldByName(QStringLiteral("grp")).setAsString(QString());
    table.fieldByName(QStringLiteral("amount")).setAsString(QStringLiteral("12.5"));
    table.post();
    QVERIFY(table.fieldByName(QStringLiteral("name")).isNull());
    QVERIFY(table.fieldByName(QStringLiteral("grp")).isNull());
    QCOMPARE(table.fieldByName(QStringLiteral("grp")).asInteger(), 0);
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asInteger(), 12); // half to even
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asFloat(), 12.5);
}

void TestTable::declaredFields() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFieldNames({QStringLiteral("amount"), QStringLiteral("CODE")});
    table.open();
    QCOMPARE(table.fieldCount(), qsizetype(2));
    QCOMPARE(table.field(0).fieldName(), QStringLiteral("amount"));
    QCOMPARE(table.field(1).fieldName(), QStringLiteral("code"));
    QVERIFY(table.findField(QStringLiteral("name")) == nullptr);
    QVERIFY_THROWS_EXCEPTION(EngineError, table.fieldByName(QStringLiteral("name")));
    // Appending through declared fields leaves the others NULL.
    table.append();
    table.field(0).setAsFloat(7);
    table.field(1).setAsInteger(6);
    table.post();
    table.close();

    Table all(fx.session, fx.dir, QStringLiteral("T"));
    all.open();
    QCOMPARE(all.fieldCount(), qsizetype(6));
    QVERIFY(all.findKey({6}));
    QVERIFY(all.fieldByName(QStringLiteral("name")).isNull());
    QCOMPARE(all.fieldByName(QStringLiteral("amount")).asFloat(), 7.0);

    Table missing(fx.session, fx.dir, QStringLiteral("T"));
    missing.setFieldNames({QStringLiteral("code"), QStringLiteral("FlgM")});
    try {
        missing.open();
        QFAIL("opened without FlgM");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(QStringLiteral("FlgM")));
        QVERIFY(error.message().contains(QStringLiteral("「T」")));
    }
    QVERIFY(!missing.isActive());
}

void TestTable::editCycle() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QCOMPARE(table.state(), DataSetState::Browse);
    QVERIFY_THROWS_EXCEPTION(
        EngineError, table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("x")));

    table.post(); // nothing to post
    QCOMPARE(table.state(), DataSetState::Browse);

    table.next();
    table.edit();
    QCOMPARE(table.state(), DataSetState::Edit);
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("changed"));
    QVERIFY(table.isModified());
    table.cancel();
    QCOMPARE(table.state(), DataSetState::Browse);
    QCOMPARE(table.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("e"));

    table.append();
    QCOMPARE(table.state(), DataSetState::Insert);
    QVERIFY(table.fieldByName(QStringLiteral("code")).isNull());
    table.fieldByName(QStringLiteral("code")).setAsInteger(10);
    table.cancel();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1); // back where it was
    QCOMPARE(table.recordCount(), qsizetype(6));

    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(11);
    table.deleteRecord(); // during an insert: the new row is dropped
    QCOMPARE(table.state(), DataSetState::Browse);
    QCOMPARE(table.recordCount(), qsizetype(6));

    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(12);
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("new"));
    table.post();
    QCOMPARE(table.state(), DataSetState::Browse);
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 12);
    QCOMPARE(table.recordCount(), qsizetype(7));
    QCOMPARE(table.recNo(), qsizetype(6));

    // Edit on an empty table starts an insert.
    table.emptyTable();
    table.edit();
    QCOMPARE(table.state(), DataSetState::Insert);
    table.fieldByName(QStringLiteral("code")).setAsInteger(1);
    table.post();
    QCOMPARE(table.recordCount(), qsizetype(1));
}

void TestTable::navigationPostsOrCancels() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    table.edit();
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("posted"));
    table.next(); // a changed row is posted
    QCOMPARE(table.state(), DataSetState::Browse);
    table.first();
    QCOMPARE(table.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("posted"));

    table.append(); // an untouched new row is dropped
    table.last();
    QCOMPARE(table.recordCount(), qsizetype(6));
    QCOMPARE(table.state(), DataSetState::Browse);

    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(50);
    table.close(); // closing drops a pending insert
    table.open();
    QVERIFY(!table.findKey({50}));
}

void TestTable::insertedAndEditedRowsTakeTheirPlace() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setIndexName(QStringLiteral("grp"));
    table.open();
    QCOMPARE(walk(table), (Codes{0, 4, 3, 1, 5, 2}));
    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(7);
    table.fieldByName(QStringLiteral("grp")).setAsInteger(1);
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("d"));
    table.post();
    QCOMPARE(table.recNo(), qsizetype(3));
    table.next();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 1);
    QCOMPARE(walk(table), (Codes{0, 4, 3, 7, 1, 5, 2}));

    QVERIFY(table.findKey({3, QStringLiteral("d")}));
    table.edit();
    table.fieldByName(QStringLiteral("grp")).setAsInteger(0);
    table.post();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 2);
    QCOMPARE(table.recNo(), qsizetype(2));
    QCOMPARE(walk(table), (Codes{0, 4, 2, 3, 7, 1, 5}));
}

void TestTable::editLeavingTheFilter() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(QStringLiteral("grp = 1"));
    table.setFiltered(true);
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(2));
    table.edit();
    table.fieldByName(QStringLiteral("grp")).setAsInteger(2);
    table.post();
    QCOMPARE(table.recordCount(), qsizetype(1));
    table.first();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3);
}

void TestTable::refusingHandlers() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    int insertCalls = 0;
    table.setBeforeInsert([&](DataSet&) {
        ++insertCalls;
        throw Abort();
    });
    table.setBeforeDelete([](DataSet&) { throw Abort(); });
    table.open();
    QVERIFY_THROWS_EXCEPTION(Abort, table.append());
    QCOMPARE(insertCalls, 1);
    QCOMPARE(table.state(), DataSetState::Browse);
    QVERIFY_THROWS_EXCEPTION(Abort, table.deleteRecord());
    QCOMPARE(table.recordCount(), qsizetype(6));
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 0);
    // An edit on an empty table becomes an insert, which the handler refuses too.
    table.setFilter(QStringLiteral("code > 100"));
    table.setFiltered(true);
    QVERIFY_THROWS_EXCEPTION(Abort, table.edit());
    QCOMPARE(table.state(), DataSetState::Browse);
}

void TestTable::keyViolationAndEmptyKey() {
    TableFixture fx;
    Table vouchers(fx.session, fx.dir, QStringLiteral("V"));
    vouchers.open();
    vouchers.append();
    vouchers.fieldByName(QStringLiteral("SNo")).setAsInteger(5);
    vouchers.fieldByName(QStringLiteral("Sub_No")).setAsInteger(2);
    vouchers.fieldByName(QStringLiteral("FlgT")).setAsInteger(1);
    try {
        vouchers.post();
        QFAIL("duplicate key posted");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::KeyViolation);
        QVERIFY2(error.message().contains(QStringLiteral("「V」")), qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("SNo=5, Sub_No=2, FlgT=1")),
                 qPrintable(error.message()));
    }
    QCOMPARE(vouchers.state(), DataSetState::Insert);
    vouchers.fieldByName(QStringLiteral("FlgT")).setAsInteger(3);
    vouchers.post();
    QCOMPARE(vouchers.recordCount(), qsizetype(5));

    vouchers.append();
    vouchers.fieldByName(QStringLiteral("SNo")).setAsInteger(7);
    vouchers.fieldByName(QStringLiteral("Sub_No")).setAsInteger(1);
    try {
        vouchers.post();
        QFAIL("empty key field posted");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::KeyViolation);
        QVERIFY(error.message().contains(QStringLiteral("FlgT")));
    }
    vouchers.cancel();
    QCOMPARE(vouchers.recordCount(), qsizetype(5));
}

void TestTable::deleteRows() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QVERIFY(table.findKey({2}));
    table.deleteRecord();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3);
    table.last();
    table.deleteRecord();
    QVERIFY(table.eof());
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 4);
    QCOMPARE(walk(table), (Codes{0, 1, 3, 4}));
    for (table.first(); !table.eof();)
        table.deleteRecord();
    QCOMPARE(table.recordCount(), qsizetype(0));
    QVERIFY(table.bof());
    QVERIFY_THROWS_EXCEPTION(EngineError, table.deleteRecord());
}

void TestTable::bookmarks() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    table.moveBy(2);
    const Bookmark mark = table.bookmark();
    table.last();
    table.gotoBookmark(mark);
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 2);
    table.deleteRecord();
    QVERIFY_THROWS_EXCEPTION(EngineError, table.gotoBookmark(mark));
}

namespace {
struct Recorder : DataSetListener {
    QList<DataSetEvent> events;
    void dataSetEvent(DataSet&, DataSetEvent event) override { events << event; }
};
} // namespace

void TestTable::listenersAndDisabledControls() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    Recorder recorder;
    table.addListener(&recorder);
    table.open();
    QCOMPARE(recorder.events, QList<DataSetEvent>{DataSetEvent::Opened});
    recorder.events.clear();
    table.disableControls();
    for (table.first(); !table.eof(); table.next()) {
        table.edit();
        table.fieldByName(QStringLiteral("flag")).setAsBoolean(true);
        table.post();
    }
    QVERIFY(recorder.events.isEmpty());
    table.enableControls();
    QCOMPARE(recorder.events, QList<DataSetEvent>{DataSetEvent::DataChanged});
    recorder.events.clear();
    table.next();
    table.prior();
    QCOMPARE(recorder.events, (QList<DataSetEvent>{DataSetEvent::Scrolled}));
    table.removeListener(&recorder);
    table.close();
    QCOMPARE(recorder.events.size(), 1);
}

void TestTable::emptyTable() {
    TableFixture fx;
    Table closed(fx.session, fx.dir, QStringLiteral("V"));
    closed.emptyTable(); // works on a closed table as well
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFilter(QStringLiteral("code > 3"));
    table.setFiltered(true);
    table.open();
    table.emptyTable(); // every row, not only the filtered ones
    table.setFiltered(false);
    QCOMPARE(table.recordCount(), qsizetype(0));
    QVERIFY(table.eof());
    closed.open();
    QCOMPARE(closed.recordCount(), qsizetype(0));
}

void TestTable::secondCursorSeesChanges() {
    TableFixture fx;
    Table reader(fx.session, fx.dir, QStringLiteral("T"));
    Table writer(fx.session, fx.dir, QStringLiteral("t"));
    reader.open();
    writer.open();
    QCOMPARE(reader.recordCount(), qsizetype(6));
    reader.last();
    writer.append();
    writer.fieldByName(QStringLiteral("code")).setAsInteger(9);
    writer.post();
    QVERIFY(writer.findKey({1}));
    writer.edit();
    writer.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("E"));
    writer.post();
    QCOMPARE(reader.recordCount(), qsizetype(7));
    reader.next();
    QCOMPARE(reader.fieldByName(QStringLiteral("code")).asInteger(), 9);
    QVERIFY(reader.findKey({1}));
    QCOMPARE(reader.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("E"));
    // A row deleted through the other cursor: the reader lands on its neighbour.
    writer.deleteRecord();
    QCOMPARE(reader.fieldByName(QStringLiteral("code")).asInteger(), 2);
}

void TestTable::storageFormat() {
    TableFixture fx;
    {
        Table table(fx.session, fx.dir, QStringLiteral("T"));
        table.open();
        table.append();
        table.fieldByName(QStringLiteral("code")).setAsInteger(20);
        table.fieldByName(QStringLiteral("name")).setAsString(QString());
        table.fieldByName(QStringLiteral("d")).setAsDate(QDate(2018, 3, 31));
        table.fieldByName(QStringLiteral("flag")).setAsBoolean(true);
        table.fieldByName(QStringLiteral("amount")).setAsFloat(12.75);
        table.post();
    }
    SqliteDb raw(tablesFilePath(fx.dir), false, 200);
    SqliteStatement row(
        raw, QStringLiteral("SELECT name, d, flag, amount, typeof(name) FROM T WHERE code = 20"));
    QVERIFY(row.step());
    QVERIFY(row.column(0).isNull());
    QCOMPARE(row.column(1).toString(), QStringLiteral("2018-03-31"));
    QCOMPARE(row.column(2).toLongLong(), 1);
    QCOMPARE(row.column(3).toDouble(), 12.75);
    QCOMPARE(row.column(4).toString(), QStringLiteral("null"));
    SqliteStatement mode(raw, QStringLiteral("PRAGMA journal_mode"));
    QVERIFY(mode.step());
    QCOMPARE(mode.column(0).toString(), QStringLiteral("delete"));
}

void TestTable::autoIncrement() {
    TableFixture fx;
    Query script(fx.session, fx.dir);
    script.setSql(QStringLiteral(
        "CREATE TABLE \"A\" (\"SNo\" AUTOINC, \"Memo\" VARCHAR(20), PRIMARY KEY (\"SNo\"))"));
    script.execSql();
    Table table(fx.session, fx.dir, QStringLiteral("A"));
    table.open();
    for (int i = 0; i < 3; ++i) {
        table.append();
        table.fieldByName(QStringLiteral("Memo")).setAsString(QString::number(i));
        table.post();
    }
    table.append();
    table.fieldByName(QStringLiteral("SNo")).setAsInteger(10);
    table.post();
    table.append();
    table.post();
    QCOMPARE(walk(table, QStringLiteral("SNo")), (Codes{1, 2, 3, 10, 11}));
}

void TestTable::repointedHandleAndInactiveSession() {
    TableFixture fx;
    const QString other = fx.folder.sub(QStringLiteral("other"));
    test::TestFolder::sql(other,
                          {QStringLiteral("CREATE TABLE T (code INTEGER, PRIMARY KEY(code))"),
                           QStringLiteral("INSERT INTO T VALUES (77)")});
    Database handle(fx.session, QStringLiteral("AAA2"), fx.dir);
    Table table(fx.session, QStringLiteral("aaa2"), QStringLiteral("T"));
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(6));
    QVERIFY(table.database() == &handle);
    QVERIFY_THROWS_EXCEPTION(EngineError, handle.setDirectory(other));
    handle.close();
    QVERIFY(!table.isActive());
    handle.setDirectory(other);
    table.open();
    QCOMPARE(walk(table), Codes{77});
    fx.session.setActive(false);
    QVERIFY(!table.isActive());
    QVERIFY(!handle.isConnected());
    table.open(); // the next open activates the session again
    QVERIFY(fx.session.isActive());
    QCOMPARE(table.recordCount(), qsizetype(1));
}

void TestTable::namesIgnoreCase() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("t"));
    QVERIFY(table.exists());
    Table missing(fx.session, fx.dir, QStringLiteral("head"));
    QVERIFY(!missing.exists());
    Table nowhere(fx.session, fx.folder.path() + QStringLiteral("/none"), QStringLiteral("T"));
    QVERIFY(!nowhere.exists());
    table.open();
    QCOMPARE(table.layout().name, QStringLiteral("T"));
    QCOMPARE(table.fieldByName(QStringLiteral("NAME")).fieldName(), QStringLiteral("name"));
}

void TestTable::privateFolder() {
    TableFixture fx;
    const QString scratch = fx.folder.sub(QStringLiteral("$$"));
    fx.session.setActive(false);
    fx.session.setPrivateDir(scratch);
    QCOMPARE(fx.session.privateDir(), scratch);
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open(); // activates the session
    QVERIFY(fx.session.isActive());
    QVERIFY_THROWS_EXCEPTION(EngineError, fx.session.setPrivateDir(fx.folder.path()));
    // A sort without an index may spill to the private folder; the result is the same.
    Query sorted(fx.session, fx.dir);
    sorted.setSql(QStringLiteral("select code from T order by amount desc, name"));
    sorted.open();
    QCOMPARE(sorted.recordCount(), qsizetype(6));
    QCOMPARE(sorted.fieldByName(QStringLiteral("code")).asInteger(), 2);

    // A folder that cannot be used is passed over without an error.
    Session other;
    other.setPrivateDir(fx.folder.path() + QStringLiteral("/missing"));
    Table elsewhere(other, fx.dir, QStringLiteral("T"));
    elsewhere.open();
    QCOMPARE(elsewhere.recordCount(), qsizetype(6));
}

void TestTable::valuesOfOtherRows() {
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setIndexName(QStringLiteral("grp"));
    table.open();
    table.moveBy(2); // code 3
    const Codes order{0, 4, 3, 1, 5, 2};
    for (qsizetype position = order.size() - 1; position >= 0; --position)
        QCOMPARE(table.valueAt(position, 0).toLongLong(), order[position]);
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 3); // the cursor stayed
    QVERIFY(!table.valueAt(6, 0).isValid());
    table.edit();
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("edited"));
    QCOMPARE(table.valueAt(2, 1).toString(), QStringLiteral("edited"));
    table.post();   // "edited" sorts after "e" in index grp
    table.append(); // a row being inserted is not among the visible rows
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("new"));
    QCOMPARE(table.valueAt(table.recNo(), 1).toString(), QStringLiteral("edited"));
    table.cancel();
    QCOMPARE(table.valueAt(2, 1).toString(), QStringLiteral("e"));
    QCOMPARE(table.valueAt(3, 1).toString(), QStringLiteral("edited"));
    QCOMPARE(table.recNo(), qsizetype(3));
    Query query(fx.session, fx.dir);
    query.setSql(QStringLiteral("select name from T order by code"));
    query.open();
    QCOMPARE(query.valueAt(2, 0).toString(), QStringLiteral("d"));
}

void TestTable::fieldRange_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("0") << "0" << true;
    QTest::newRow("1") << "1" << true;
    QTest::newRow("empty") << "" << true;
    QTest::newRow("2") << "2" << false;
    QTest::newRow("-1") << "-1" << false;
}

void TestTable::fieldRange() {
    QFETCH(QString, text);
    QFETCH(bool, accepted);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.setFieldRange(QStringLiteral("GRP"), 0, 1); // kept from before opening
    table.open();
    table.edit();
    if (accepted) {
        table.fieldByName(QStringLiteral("grp")).setAsString(text);
        table.post();
        QCOMPARE(table.fieldByName(QStringLiteral("grp")).asString(), text);
        return;
    }
    try {
        table.fieldByName(QStringLiteral("grp")).setAsString(text);
        QFAIL("accepted a value out of range");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Conversion);
        QVERIFY2(error.message().contains(QStringLiteral("0 から 1 まで")),
                 qPrintable(error.message()));
    }
    table.post();
    QCOMPARE(table.fieldByName(QStringLiteral("grp")).asInteger(), 0); // kept its value
}

namespace {

// Table K keyed on one whole-number field of type `keyType`: 1 a, 2 b, 3 c.
void createKeyedTable(TableFixture& fx, const QString& keyType) {
    Query script(fx.session, fx.dir);
    script.setSql(QStringLiteral("CREATE TABLE \"K\" (\"code\" %1, \"name\" VARCHAR(10), "
                                 "PRIMARY KEY (\"code\"));"
                                 "INSERT INTO K VALUES (1, 'a');"
                                 "INSERT INTO K VALUES (2, 'b');"
                                 "INSERT INTO K VALUES (3, 'c');")
                      .arg(keyType));
    script.execSql();
}

// The rows of a table as "code:name", in key order, read straight from the file.
QStringList storedRows(const QString& dir, const QString& table) {
    SqliteDb raw(tablesFilePath(dir), false, 200);
    SqliteStatement rows(raw, QStringLiteral("SELECT code, name FROM %1 ORDER BY code").arg(table));
    QStringList result;
    while (rows.step())
        result << rows.column(0).toString() + QLatin1Char(':') + rows.column(1).toString();
    return result;
}

} // namespace

void TestTable::editedKeyKeepsItsRow_data() {
    QTest::addColumn<QString>("keyType");
    QTest::addColumn<QString>("order");
    // An INTEGER key is SQLite's row id: changing it moves the row.
    QTest::newRow("integer key, key order") << "INTEGER"
                                            << "";
    QTest::newRow("integer key, name order") << "INTEGER"
                                             << "name";
    QTest::newRow("smallint key, key order") << "SMALLINT"
                                             << "";
    QTest::newRow("smallint key, name order") << "SMALLINT"
                                              << "name";
}

void TestTable::editedKeyKeepsItsRow() {
    QFETCH(QString, keyType);
    QFETCH(QString, order);
    TableFixture fx;
    createKeyedTable(fx, keyType);
    Table table(fx.session, fx.dir, QStringLiteral("K"));
    table.setIndexFieldNames(order);
    table.open();
    QCOMPARE(table.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("a"));
    table.edit();
    table.fieldByName(QStringLiteral("code")).setAsInteger(10);
    table.post();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 10);
    QCOMPARE(table.fieldByName(QStringLiteral("name")).asString(), QStringLiteral("a"));
    table.edit();
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("X"));
    table.post();
    QCOMPARE(table.fieldByName(QStringLiteral("code")).asInteger(), 10);
    QCOMPARE(storedRows(fx.dir, QStringLiteral("K")),
             (QStringList{QStringLiteral("2:b"), QStringLiteral("3:c"), QStringLiteral("10:X")}));
    QCOMPARE(table.recordCount(), qsizetype(3));
    QCOMPARE(walk(table), order.isEmpty() ? (Codes{2, 3, 10}) : (Codes{10, 2, 3}));
}

void TestTable::postKeepsChangesMadeElsewhere_data() {
    QTest::addColumn<bool>("beforeEdit");
    QTest::newRow("changed before the edit began") << true;
    QTest::newRow("changed during the edit") << false;
}

void TestTable::postKeepsChangesMadeElsewhere() {
    QFETCH(bool, beforeEdit);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    table.next();
    QCOMPARE(table.fieldByName(QStringLiteral("amount")).asFloat(), 100.0); // row 1 is read
    SqliteDb other(tablesFilePath(fx.dir), false, 200);
    const QString change = QStringLiteral("UPDATE T SET amount = 777, grp = 2 WHERE code = 1");
    if (beforeEdit)
        other.exec(change);
    table.edit();
    if (beforeEdit) // the edit starts from what the file holds now
        QCOMPARE(table.fieldByName(QStringLiteral("amount")).asFloat(), 777.0);
    else
        other.exec(change);
    table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("mine"));
    table.post();
    SqliteStatement row(other, QStringLiteral("SELECT name, amount, grp FROM T WHERE code = 1"));
    QVERIFY(row.step());
    QCOMPARE(row.column(0).toString(), QStringLiteral("mine"));
    QCOMPARE(row.column(1).toDouble(), 777.0);
    QCOMPARE(row.column(2).toLongLong(), 2);
}

void TestTable::rowDeletedElsewhereDuringEdit_data() {
    QTest::addColumn<bool>("changeAField");
    QTest::newRow("a field changed") << true;
    QTest::newRow("nothing changed") << false;
}

void TestTable::rowDeletedElsewhereDuringEdit() {
    QFETCH(bool, changeAField);
    TableFixture fx;
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    table.next();
    table.edit();
    SqliteDb other(tablesFilePath(fx.dir), false, 200);
    other.exec(QStringLiteral("DELETE FROM T WHERE code = 1"));
    if (changeAField)
        table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("gone"));
    try {
        table.post();
        QFAIL("posted to a deleted row");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::NotFound);
        QVERIFY2(error.message().contains(QStringLiteral("ほかで削除されました")),
                 qPrintable(error.message()));
    }
    QCOMPARE(table.state(), DataSetState::Edit);
    table.cancel();
    SqliteStatement count(other, QStringLiteral("SELECT count(*) FROM T"));
    QVERIFY(count.step());
    QCOMPARE(count.columnInt64(0), 5);
}

void TestTable::wholeAmountsReadAsFloating_data() {
    QTest::addColumn<QString>("stored");
    // A MONEY column has numeric affinity: SQLite keeps a whole amount as an integer.
    QTest::newRow("through the engine") << "";
    QTest::newRow("written as an integer") << "100";
    QTest::newRow("written as a floating value") << "100.0";
}

void TestTable::wholeAmountsReadAsFloating() {
    QFETCH(QString, stored);
    TableFixture fx;
    if (stored.isEmpty()) {
        Table writer(fx.session, fx.dir, QStringLiteral("T"));
        writer.open();
        QVERIFY(writer.findKey({3}));
        writer.edit();
        writer.fieldByName(QStringLiteral("amount")).setAsFloat(100.0);
        writer.post();
    } else {
        SqliteDb raw(tablesFilePath(fx.dir), false, 200);
        raw.exec(QStringLiteral("UPDATE T SET amount = %1 WHERE code = 3").arg(stored));
    }
    Table table(fx.session, fx.dir, QStringLiteral("T"));
    table.open();
    QVERIFY(table.findKey({3}));
    const Field& amount = table.fieldByName(QStringLiteral("amount"));
    QCOMPARE(amount.value().typeId(), int(QMetaType::Double));
    QCOMPARE(amount.value().toDouble(), 100.0);
    QCOMPARE(amount.asFloat(), 100.0);
    QCOMPARE(amount.asString(), QStringLiteral("100"));
    table.first(); // rows read ahead take the same way
    QCOMPARE(table.valueAt(3, amount.index()).typeId(), int(QMetaType::Double));
    QCOMPARE(table.valueAt(3, amount.index()).toDouble(), 100.0);
    Query query(fx.session, fx.dir);
    query.setSql(QStringLiteral("select amount from T where code = 3"));
    query.open();
    QCOMPARE(query.field(0).value().typeId(), int(QMetaType::Double));
    QCOMPARE(query.field(0).asFloat(), 100.0);
}

QTEST_GUILESS_MAIN(TestTable)
#include "tst_table.moc"
