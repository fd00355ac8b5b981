#include "support/TestFolder.h"

#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/EngineError.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/SqlScript.h"
#include "store/Sqlite.h"
#include "store/Table.h"
#include "store/WorkScripts.h"

#include <QtTest>

using namespace marubo::store;
using marubo::test::TestFolder;

// The work folder's creation script and the settings script, read back from
// the file they create.
class TestScripts : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();
    void workTable_data();
    void workTable();
    void workFolderAsAWhole();
    void fieldListsOfTheAccountTables_data();
    void fieldListsOfTheAccountTables();
    void runningTwiceChangesNothing();
    void keylessTablesAcceptTwins_data();
    void keylessTablesAcceptTwins();
    void workVouchersDifferingOnlyInFlgT();
    void unusualColumnTypes();
    void headMScript();
    void statementsOfTheSystem();
    void malformedCreateStatements_data();
    void malformedCreateStatements();
    void optionsCannotEndTheirComment();

private:
    void runWorkScript();
    std::unique_ptr<TestFolder> folder_;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Database> work_;
};

void TestScripts::init() {
    folder_ = std::make_unique<TestFolder>();
    session_ = std::make_unique<Session>(QStringLiteral("BBB"));
    work_ = std::make_unique<Database>(*session_, QStringLiteral("WWW"),
                                       folder_->sub(QStringLiteral("WKData")));
}

void TestScripts::cleanup() {
    work_.reset();
    session_.reset();
    folder_.reset();
}

void TestScripts::runWorkScript() {
    Query script(*session_, QStringLiteral("WWW"));
    script.setSql(workFolderScript());
    script.execSql();
}

void TestScripts::workTable_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<int>("fields");
    QTest::addColumn<QStringList>("key");
    QTest::addColumn<QStringList>("indexes"); // "name:field,field"
    auto row = [](const char* table, int fields, QStringList key, QStringList indexes = {}) {
        QTest::newRow(table) << QString::fromUtf8(table) << fields << key << indexes;
    };
    row("BUMON", 23, {"code"});
    row("denpyou1", 17, {"SNo", "Sub_No", "FlgT"}, {"hizuke:hizuke,SNo,Sub_No"});
    row("denpyou1B", 17, {"SNo", "Sub_No", "FlgT"}, {"hizuke:hizuke,SNo,Sub_No"});
    row("DMem", 23, {"GID", "SNo", "Sub_No"}, {"hizuke:hizuke"});
    row("DMemH", 3, {"GID", "ID"});
    row("Fkihonkin", 8, {"code", "Subcode"});
    row("Head", 40, {});
    row("hojokamoku", 12, {"kamoku_CD", "hojo_CD"});
    row("InputMoto", 17, {"SNo", "Sub_No"});
    row("kamoku", 40, {"code"}, {"FlgCBcode:FlgC,FlgB,code", "FlgCBH:FlgC,FlgB,FlgH"});
    row("kamoku2", 37, {"SNo"}, {"FlgCBcode:FlgC,FlgB,SNo", "CCode:FlgC,code", "FlgH:FlgH"});
    row("kessansyo1", 25, {"SNo"});
    row("meisaiS", 14, {"code", "hcode"});
    row("Mkamoku", 41, {"B_ID", "code"}, {"FlgCBcode:B_ID,FlgC,FlgB,code"});
    row("Mkamoku2", 38, {"B_ID", "SNo"}, {"FlgCBcode:B_ID,FlgC,FlgB,SNo", "CCode:B_ID,FlgC,code"});
    row("TEKIYOU", 5, {"code1", "code2", "RenNo"});
    row("utiwake", 10, {});
    row("utiwake2", 21, {});
    row("wdenpyo", 22, {"SNo", "Sub_No"}, {"hizuke:hizuke,SNo,Sub_No"});
    row("WK05", 12, {"kamoku_ID"});
    row("wkdenpyo", 28, {"SNo", "Sub_No"});
    row("WKTBL", 15, {"SNo"});
    row("WKTBL0", 3, {"renNo"});
    row("WKTBL1", 4, {"code1", "renNo"});
    row("Wktbl4", 6, {"tekiyoumei"});
    row("WTBL", 10, {"code"});
    row("WTBL10", 12, {"SNo"});
    row("WTBL2", 16, {});
    row("WTBL2B", 14, {"Code", "SNo"});
    row("WTBL8", 23, {"SNo1", "SNo2", "Sub_No"}, {"hizuke:hizuke"});
    row("WTBL9", 25, {"SNo"});
    row("Mhojokamoku", 13, {"B_ID", "kamoku_CD", "hojo_CD"});
}

void TestScripts::workTable() {
    QFETCH(QString, table);
    QFETCH(int, fields);
    QFETCH(QStringList, key);
    QFETCH(QStringList, indexes);
    runWorkScript();
    const TableLayout layout = work_->tableLayout(table);
    QCOMPARE(layout.name, table);
    QCOMPARE(layout.fields.size(), fields);
    QCOMPARE(layout.primaryKey, key);
    QStringList actual;
    for (const IndexDef& index : layout.indexes)
        actual << index.name + QLatin1Char(':') + index.fields.join(QLatin1Char(','));
    QCOMPARE(actual, indexes);
    const QString options =
        table == u"BUMON" ? QString()
                          : QStringLiteral("COMPRESS NONE LOCALE CODE 0 USER MAJOR VERSION 1");
    QCOMPARE(layout.options, options);
}

void TestScripts::workFolderAsAWhole() {
    QVERIFY(work_->tableNames().isEmpty());
    runWorkScript();
    const QStringList names = work_->tableNames();
    QCOMPARE(names.size(), 32);
    QCOMPARE(names.first(), QStringLiteral("BUMON"));
    QCOMPARE(names.last(), QStringLiteral("Mhojokamoku"));
    SqliteDb raw(tablesFilePath(work_->directory()), false, 200);
    SqliteStatement indexes(raw,
                            QStringLiteral("SELECT count(*) FROM sqlite_schema WHERE type='index' "
                                           "AND name NOT LIKE 'sqlite_autoindex%'"));
    QVERIFY(indexes.step());
    QCOMPARE(indexes.columnInt64(0), 13);
    int withoutOptions = 0;
    for (const QString& name : names)
        if (work_->tableLayout(name).options.isEmpty())
            ++withoutOptions;
    QCOMPARE(withoutOptions, 1);
}

void TestScripts::fieldListsOfTheAccountTables_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QStringList>("fields");
    const QStringList body = {
        "科目名",     "FlgA",       "FlgB",     "FlgC",       "FlgD",         "FlgE",     "FlgF",
        "FlgG",       "FlgH",       "FlgI",     "FlgJ",       "FlgK",         "FlgL",     "FlgAN",
        "当初予算",   "補正額１",   "補正額２", "補正額３",   "補正額４",     "補正額５", "予算",
        "前年度予算", "予算増減額", "期首繰越", "前残高",     "借方",         "貸方",     "残高",
        "残高合計",   "差異",       "比",       "次年度予算", "予算増減額２", "注記",     "注記２"};
    const QStringList voucher = {"SNo",    "Sub_No",   "hizuke",   "Lcode",    "Rcode",    "LHcode",
                                 "RHcode", "Lkingaku", "Rkingaku", "tekiyou1", "tekiyou2", "LflgS",
                                 "RflgS",  "FlgT",     "FlgU",     "FlgV",     "FlgW"};
    const QStringList subBody = {"補助科目名", "予算", "期首繰越", "前残高", "借方",
                                 "貸方",       "残高", "残高合計", "差異",   "比"};
    const QStringList kamoku =
        QStringList{"code"} + body + QStringList{"前年実績", "差異２", "実績比", "SNo"};
    const QStringList kamoku2 = QStringList{"SNo"} + body + QStringList{"code"};
    QTest::newRow("kamoku") << "kamoku" << kamoku;
    QTest::newRow("kamoku2") << "kamoku2" << kamoku2;
    QTest::newRow("Mkamoku") << "Mkamoku" << QStringList{"B_ID"} + kamoku;
    QTest::newRow("Mkamoku2") << "Mkamoku2" << QStringList{"B_ID"} + kamoku2;
    QTest::newRow("hojokamoku") << "hojokamoku" << QStringList{"kamoku_CD", "hojo_CD"} + subBody;
    QTest::newRow("Mhojokamoku") << "Mhojokamoku"
                                 << QStringList{"B_ID", "kamoku_CD", "hojo_CD"} + subBody;
    QTest::newRow("denpyou1") << "denpyou1" << voucher;
}

void TestScripts::fieldListsOfTheAccountTables() {
    QFETCH(QString, table);
    QFETCH(QStringList, fields);
    runWorkScript();
    const TableLayout layout = work_->tableLayout(table);
    QStringList actual;
    for (const FieldDef& field : layout.fields)
        actual << field.name;
    QCOMPARE(actual, fields);
}

void TestScripts::runningTwiceChangesNothing() {
    runWorkScript();
    Query fill(*session_, QStringLiteral("WWW"));
    fill.setSql(QStringLiteral("INSERT INTO kamoku (code, 科目名) VALUES ('1110', '現金');"
                               "INSERT INTO Head (PassWord) VALUES ('x');"));
    fill.execSql();
    SqliteDb raw(tablesFilePath(work_->directory()), false, 200);
    auto schema = [&raw] {
        SqliteStatement all(
            raw, QStringLiteral("SELECT type, name, sql FROM sqlite_schema ORDER BY rowid"));
        QStringList rows;
        while (all.step())
            rows << all.column(0).toString() + all.column(1).toString() + all.column(2).toString();
        return rows;
    };
    const QStringList before = schema();
    runWorkScript();
    QCOMPARE(schema(), before);
    Table kamoku(*session_, QStringLiteral("WWW"), QStringLiteral("kamoku"));
    kamoku.open();
    QCOMPARE(kamoku.recordCount(), qsizetype(1));
    QCOMPARE(kamoku.fieldByName(QStringLiteral("科目名")).asString(), QStringLiteral("現金"));
}

void TestScripts::keylessTablesAcceptTwins_data() {
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("field");
    QTest::newRow("Head") << "Head"
                          << "PassWord";
    QTest::newRow("utiwake") << "utiwake"
                             << "code";
    QTest::newRow("utiwake2") << "utiwake2"
                              << "code";
    QTest::newRow("WTBL2") << "WTBL2"
                           << "SNo";
}

void TestScripts::keylessTablesAcceptTwins() {
    QFETCH(QString, table);
    QFETCH(QString, field);
    runWorkScript();
    Table data(*session_, QStringLiteral("WWW"), table);
    data.open();
    for (int i = 0; i < 2; ++i) {
        data.append();
        data.fieldByName(field).setAsString(QStringLiteral("1"));
        data.post();
    }
    QCOMPARE(data.recordCount(), qsizetype(2));
}

void TestScripts::workVouchersDifferingOnlyInFlgT() {
    runWorkScript();
    Table vouchers(*session_, QStringLiteral("WWW"), QStringLiteral("denpyou1"));
    vouchers.setIndexName(QStringLiteral("hizuke"));
    vouchers.open();
    for (int flag : {2, 1}) {
        vouchers.append();
        vouchers.fieldByName(QStringLiteral("SNo")).setAsInteger(5);
        vouchers.fieldByName(QStringLiteral("Sub_No")).setAsInteger(1);
        vouchers.fieldByName(QStringLiteral("FlgT")).setAsInteger(flag);
        vouchers.fieldByName(QStringLiteral("hizuke")).setAsDate(QDate(2017, 4, 1));
        vouchers.post();
    }
    QCOMPARE(vouchers.recordCount(), qsizetype(2));
}

void TestScripts::unusualColumnTypes() {
    runWorkScript();
    QCOMPARE(work_->tableLayout(QStringLiteral("wkdenpyo")).fields[1].type, FieldType::Float);
    QCOMPARE(work_->tableLayout(QStringLiteral("WTBL10")).fields[0].type, FieldType::AutoInc);
    const TableLayout head = work_->tableLayout(QStringLiteral("Head"));
    QCOMPARE(head.fields.last().name, QStringLiteral("chk5"));
    QCOMPARE(head.fields.last().declaredType, QStringLiteral("BOOLEAN"));
    QCOMPARE(work_->tableLayout(QStringLiteral("wkdenpyo")).fields[3].declaredType,
             QStringLiteral("CHAR(5)"));

    Table lines(*session_, QStringLiteral("WWW"), QStringLiteral("wkdenpyo"));
    lines.open();
    lines.append();
    lines.fieldByName(QStringLiteral("SNo")).setAsInteger(1);
    lines.fieldByName(QStringLiteral("Sub_No")).setAsFloat(1.5);
    lines.post();
    QCOMPARE(lines.fieldByName(QStringLiteral("Sub_No")).asFloat(), 1.5);

    Table numbered(*session_, QStringLiteral("WWW"), QStringLiteral("WTBL10"));
    numbered.open();
    for (int i = 0; i < 2; ++i) {
        numbered.append();
        numbered.fieldByName(QStringLiteral("Memo")).setAsString(QStringLiteral("x"));
        numbered.post();
    }
    numbered.first();
    QCOMPARE(numbered.fieldByName(QStringLiteral("SNo")).asInteger(), 1);
    numbered.next();
    QCOMPARE(numbered.fieldByName(QStringLiteral("SNo")).asInteger(), 2);
}

void TestScripts::headMScript() {
    // The settings table lives in the start-up directory, reached without a handle.
    const QString start = folder_->sub(QStringLiteral("start"));
    Session defaultSession;
    for (int run = 0; run < 2; ++run) {
        Query make(defaultSession, start);
        make.setSql(marubo::store::headMScript());
        make.execSql();
    }
    Table headM(defaultSession, start, QStringLiteral("headM"));
    headM.open();
    QCOMPARE(headM.recordCount(), qsizetype(0));
    QCOMPARE(headM.fieldNames(),
             (QStringList{QStringLiteral("PathName1"), QStringLiteral("PathName2")}));
    QCOMPARE(headM.layout().fields[0].declaredType, QStringLiteral("CHARACTER(100)"));
    QVERIFY(headM.layout().primaryKey.isEmpty());
    QVERIFY(headM.layout().options.isEmpty());
    QVERIFY(headM.layout().indexes.isEmpty());
    headM.edit(); // no row yet: this inserts the one row
    headM.fieldByName(QStringLiteral("PathName1")).setAsString(QStringLiteral("/data/A/"));
    headM.post();
    QCOMPARE(headM.recordCount(), qsizetype(1));
}

void TestScripts::statementsOfTheSystem() {
    runWorkScript();
    Query fill(*session_, QStringLiteral("WWW"));
    fill.setSql(QStringLiteral(
        "INSERT INTO Mkamoku (B_ID, code) VALUES (3, '1'), (3, '2'), (4, '1');"
        "INSERT INTO BUMON (code, F1, F11) VALUES (3, 1, 1), (1, 1, 1), (2, NULL, 1),"
        " (4, 1, NULL), (0, 1, 1);"));
    fill.execSql();
    Query remove(*session_, QStringLiteral("WWW"));
    remove.setSql(QStringLiteral("Delete from Mkamoku where B_ID=3"));
    remove.execSql();
    QCOMPARE(remove.rowsAffected(), 2);
    Query selected(*session_, QStringLiteral("WWW"));
    selected.setSql(QStringLiteral(" Select * From bumon Where (F1=1) and (F11=1) Order By code "));
    selected.open();
    QList<qint64> codes;
    for (; !selected.eof(); selected.next())
        codes << selected.fieldByName(QStringLiteral("code")).asInteger();
    QCOMPARE(codes, (QList<qint64>{0, 1, 3}));
    QCOMPARE(selected.fieldCount(), qsizetype(23));
    Table rest(*session_, QStringLiteral("WWW"), QStringLiteral("Mkamoku"));
    rest.open();
    QCOMPARE(rest.recordCount(), qsizetype(1));
}

void TestScripts::malformedCreateStatements_data() {
    QTest::addColumn<QString>("sql");
    QTest::newRow("column clause") << "CREATE TABLE X (\"a\" INTEGER DESCRIPTION 'x')";
    QTest::newRow("key on missing field") << "CREATE TABLE X (\"a\" INTEGER, PRIMARY KEY (\"b\"))";
    QTest::newRow("no type") << "CREATE TABLE X (\"a\")";
    QTest::newRow("twice the same field") << "CREATE TABLE X (\"a\" INTEGER, \"A\" SMALLINT)";
    QTest::newRow("unclosed") << "CREATE TABLE X (\"a\" INTEGER";
    // The options are kept inside a comment of the stored statement.
    QTest::newRow("options ending the comment")
        << "CREATE TABLE X (\"a\" INTEGER, PRIMARY KEY (\"a\") DESCRIPTION 'x */ y')";
    QTest::newRow("trailing options ending the comment")
        << "CREATE TABLE X (\"a\" INTEGER) USER \"*/\"";
}

void TestScripts::malformedCreateStatements() {
    QFETCH(QString, sql);
    try {
        translateStatement(sql);
        QFAIL("translated");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Syntax);
    }
}

void TestScripts::optionsCannotEndTheirComment() {
    TableLayout layout;
    layout.name = QStringLiteral("X");
    layout.fields << fieldDefFromDeclaration(QStringLiteral("a"), QStringLiteral("INTEGER"));
    layout.options = QStringLiteral("USER MAJOR VERSION 1 */ DROP TABLE X; /*");
    try {
        work_->createTable(layout);
        QFAIL("created");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Syntax);
        QVERIFY2(error.message().contains(QStringLiteral("「X」")), qPrintable(error.message()));
    }
    QVERIFY(!work_->tableExists(QStringLiteral("X")));
}

QTEST_GUILESS_MAIN(TestScripts)
#include "tst_scripts.moc"
