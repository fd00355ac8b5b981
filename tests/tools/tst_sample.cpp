#include "support/TestFolder.h"

#include "sample/SampleDataSets.h"
#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Sqlite.h"
#include "store/Table.h"

#include <QtTest>

using namespace marubo;
using namespace marubo::store;
using marubo::test::TestFolder;

class TestSample : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void aLevel();
    void bLevels();
    void sameSeedSameRows();
    void refusesToOverwrite();
    void refusedOptions_data();
    void refusedOptions();
    void largerSizes();
};

namespace {

// Every row of every table, as text.
QStringList dump(const QString& folder) {
    SqliteDb db(tablesFilePath(folder), false, 200);
    QStringList lines;
    for (const QString& table : listTableNames(db)) {
        SqliteStatement rows(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table));
        while (rows.step()) {
            QStringList values{table};
            for (int i = 0; i < rows.columnCount(); ++i)
                values << rows.column(i).toString();
            lines << values.join(QLatin1Char('|'));
        }
    }
    return lines;
}

double sumOf(Session& session, const QString& folder, const QString& sql) {
    Query query(session, folder);
    query.setSql(sql);
    query.open();
    return query.field(0).asFloat();
}

} // namespace

void TestSample::aLevel() {
    TestFolder folder;
    const sample::SampleSummary summary = sample::writeSampleDataSets(folder.path(), {});
    Session session;
    Database a(session, QStringLiteral("AAA"), summary.aLevel);
    for (const char* name : {"Head", "BUMON", "Mkamoku", "Mkamoku2", "Mhojokamoku", "denpyou1"})
        QVERIFY2(a.tableExists(QString::fromLatin1(name)), name);
    QCOMPARE(a.tableLayout(QStringLiteral("Mkamoku")).fields.size(), 41);
    QCOMPARE(
        a.tableLayout(QStringLiteral("denpyou1")).indexes.first().fields,
        (QStringList{QStringLiteral("hizuke"), QStringLiteral("SNo"), QStringLiteral("Sub_No")}));

    Table head(session, QStringLiteral("AAA"), QStringLiteral("head"));
    head.open();
    QCOMPARE(head.recordCount(), qsizetype(1));
    QCOMPARE(head.fieldByName(QStringLiteral("PassWord")).asString(), sample::samplePassWord());

    for (const char* empty : {"Mkamoku", "Mkamoku2", "Mhojokamoku", "denpyou1"}) {
        Table table(session, QStringLiteral("AAA"), QString::fromLatin1(empty));
        table.open();
        QCOMPARE(table.recordCount(), qsizetype(0));
    }

    Table bumon(session, QStringLiteral("AAA"), QStringLiteral("BUMON"));
    bumon.setFilter(QStringLiteral("code>0"));
    bumon.setFiltered(true);
    bumon.open();
    QCOMPARE(bumon.recordCount(), qsizetype(1 + summary.bLevels.size()));
    QCOMPARE(bumon.fieldByName(QStringLiteral("Bumonmei")).asString(), QStringLiteral("合　計"));
    QVERIFY(bumon.fieldByName(QStringLiteral("Path")).isNull());
    for (const QString& b : summary.bLevels) {
        bumon.next();
        const QString path = bumon.fieldByName(QStringLiteral("Path")).asString();
        QVERIFY(path.endsWith(QDir::separator()));
        QCOMPARE(QDir(path).absolutePath(), QDir(b).absolutePath());
        QVERIFY(!bumon.fieldByName(QStringLiteral("Bumonmei")).asString().isEmpty());
    }
}

void TestSample::bLevels() {
    TestFolder folder;
    sample::SampleOptions options;
    options.subDepartments = 7;
    const sample::SampleSummary summary = sample::writeSampleDataSets(folder.path(), options);
    QCOMPARE(summary.bLevels.size(), 3);
    Session session;
    for (const QString& b : summary.bLevels) {
        Table head(session, b, QStringLiteral("Head"));
        head.open();
        QCOMPARE(head.fieldByName(QStringLiteral("PassWord")).asString(), sample::samplePassWord());

        // A hierarchy of summary and input sub-departments with some marked.
        Query kinds(session, b);
        kinds.setSql(
            QStringLiteral("select count(*) as n, sum(F1 is null and F4 = 1) as summaries, "
                           "sum(F1 = 1) as inputs, sum(F12 = 1) as marked from Bumon"));
        kinds.open();
        QCOMPARE(kinds.fieldByName(QStringLiteral("n")).asInteger(), 8);
        QVERIFY(kinds.fieldByName(QStringLiteral("summaries")).asInteger() >= 2);
        const qint64 inputs = kinds.fieldByName(QStringLiteral("inputs")).asInteger();
        QVERIFY(inputs >= 4);
        QVERIFY(kinds.fieldByName(QStringLiteral("marked")).asInteger() >= 1);

        // The data set's own account list and one row per input sub-department.
        Table accounts(session, b, QStringLiteral("Mkamoku"));
        accounts.setFieldNames({QStringLiteral("B_ID"), QStringLiteral("code"),
                                QStringLiteral("FlgM"), QStringLiteral("FlgN"),
                                QStringLiteral("FlgP")});
        accounts.setFilter(QStringLiteral("B_ID=0"));
        accounts.setFiltered(true);
        accounts.open();
        QCOMPARE(accounts.recordCount(), qsizetype(25));
        accounts.setFiltered(false);
        QCOMPARE(accounts.recordCount(), qsizetype(25 * (inputs + 1)));
        // The data set's own amounts are the sums of its sub-departments'.
        QCOMPARE(
            sumOf(session, b, QStringLiteral("select sum(当初予算) from Mkamoku where B_ID = 0")),
            sumOf(session, b, QStringLiteral("select sum(当初予算) from Mkamoku where B_ID <> 0")));
        QCOMPARE(sumOf(session, b,
                       QStringLiteral("select sum(期首繰越) from Mhojokamoku where B_ID = 0")),
                 sumOf(session, b,
                       QStringLiteral("select sum(期首繰越) from Mhojokamoku where B_ID <> 0")));

        Query lines(session, b);
        lines.setSql(
            QStringLiteral("select count(*) as n, sum(FlgT = 0) as common, "
                           "count(distinct SNo * 100 + Sub_No) as distinctKeys from denpyou1"));
        lines.open();
        const qint64 count = lines.fieldByName(QStringLiteral("n")).asInteger();
        QVERIFY(count >= 40);
        QVERIFY(lines.fieldByName(QStringLiteral("common")).asInteger() > 0);
        QVERIFY(lines.fieldByName(QStringLiteral("common")).asInteger() < count);
        QCOMPARE(lines.fieldByName(QStringLiteral("distinctKeys")).asInteger(), count);

        // Allocation rows: a text key first, ratio of sub-department n in field 6 + n.
        Table allocation(session, b, QStringLiteral("anbunwari"));
        allocation.open();
        QCOMPARE(allocation.fieldCount(), qsizetype(6 + 7));
        QCOMPARE(allocation.field(0).dataType(), FieldType::String);
        QCOMPARE(allocation.recordCount(), qsizetype(3));
        for (allocation.first(); !allocation.eof(); allocation.next()) {
            qint64 total = 0;
            for (qsizetype n = 1; n <= 7; ++n)
                total += allocation.field(5 + n).asInteger();
            QCOMPARE(total, 1000);
        }
    }
}

void TestSample::sameSeedSameRows() {
    TestFolder first, second, third;
    sample::SampleOptions options;
    options.seed = 42;
    const auto a = sample::writeSampleDataSets(first.path(), options);
    const auto b = sample::writeSampleDataSets(second.path(), options);
    options.seed = 43;
    const auto c = sample::writeSampleDataSets(third.path(), options);
    QCOMPARE(dump(a.bLevels[1]), dump(b.bLevels[1]));
    QVERIFY(dump(a.bLevels[1]) != dump(c.bLevels[1]));
    QCOMPARE(a.voucherLines, b.voucherLines);
}

void TestSample::refusesToOverwrite() {
    TestFolder folder;
    sample::writeSampleDataSets(folder.path(), {});
    const QStringList before = dump(folder.path() + QStringLiteral("/B02"));
    sample::SampleOptions options;
    options.seed = 9;
    QVERIFY_THROWS_EXCEPTION(sample::SampleError,
                             sample::writeSampleDataSets(folder.path(), options));
    QCOMPARE(dump(folder.path() + QStringLiteral("/B02")), before);
    options.replace = true;
    sample::writeSampleDataSets(folder.path(), options);
    QVERIFY(dump(folder.path() + QStringLiteral("/B02")) != before);
}

void TestSample::refusedOptions_data() {
    QTest::addColumn<int>("departments");
    QTest::addColumn<int>("subDepartments");
    QTest::addColumn<int>("accounts");
    QTest::addColumn<int>("vouchers");
    QTest::newRow("no departments") << 0 << 6 << 25 << 40;
    QTest::newRow("too many sub-departments") << 3 << 101 << 25 << 40;
    QTest::newRow("no accounts") << 3 << 6 << 0 << 40;
    QTest::newRow("negative vouchers") << 3 << 6 << 25 << -1;
}

void TestSample::refusedOptions() {
    QFETCH(int, departments);
    QFETCH(int, subDepartments);
    QFETCH(int, accounts);
    QFETCH(int, vouchers);
    TestFolder folder;
    sample::SampleOptions options;
    options.departments = departments;
    options.subDepartments = subDepartments;
    options.accounts = accounts;
    options.vouchers = vouchers;
    QVERIFY_THROWS_EXCEPTION(sample::SampleError,
                             sample::writeSampleDataSets(folder.path(), options));
    QVERIFY(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).isEmpty());
}

void TestSample::largerSizes() {
    TestFolder folder;
    sample::SampleOptions options;
    options.departments = 12;
    options.subDepartments = 1;
    options.accounts = 30;
    options.vouchers = 300;
    const auto summary = sample::writeSampleDataSets(folder.path(), options);
    QCOMPARE(summary.bLevels.size(), 12);
    QVERIFY(summary.bLevels.last().endsWith(QStringLiteral("B12")));
    QVERIFY(summary.voucherLines >= 12 * 300);
    Session session;
    Table accounts(session, summary.bLevels.first(), QStringLiteral("Mkamoku"));
    accounts.setFilter(QStringLiteral("B_ID=0"));
    accounts.setFiltered(true);
    accounts.open();
    QCOMPARE(accounts.recordCount(), qsizetype(30));
    accounts.last();
    QCOMPARE(accounts.fieldByName(QStringLiteral("科目名")).asString(),
             QStringLiteral("その他費用5"));
}

QTEST_GUILESS_MAIN(TestSample)
#include "tst_sample.moc"
