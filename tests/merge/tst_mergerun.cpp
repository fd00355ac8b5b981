#include "support/Levels.h"

#include "app/MainState.h"
#include "merge/MergeRun.h"
#include "select/BumonSelection.h"
#include "store/EngineError.h"

#include <QtTest>

using namespace marubo;
using marubo::test::Row;

namespace {

const QString kPassWord = QStringLiteral("pw1");

// The main window's part of a merge, answered by the test: the start-up
// directory, the A level opened by init, and a scripted person.
struct RunHarness : MainPrompts, MergeUi {
    test::TestFolder folder;
    QString before = QDir::currentPath();
    std::unique_ptr<TDM> dm;
    std::unique_ptr<MainState> state;
    std::unique_ptr<TCalc> calc;
    std::unique_ptr<BumonSelection> selection;
    std::unique_ptr<MergeRun> run;

    QStringList messages;
    bool answerYes = true;
    QList<bool> selectionAnswers; // per dialog shown; missing: run
    int dialogs = 0;
    QList<qsizetype> positions;

    RunHarness() {
        QDir::setCurrent(folder.sub(QStringLiteral("start")));
        dm = std::make_unique<TDM>();
        state = std::make_unique<MainState>(*dm, *this);
        state->FormCreate();
    }
    ~RunHarness() {
        run.reset();
        selection.reset();
        calc.reset();
        state.reset();
        dm.reset();
        QDir::setCurrent(before);
    }

    void open(const QString& aLevel) {
        state->rememberedPath();
        state->init(aLevel);
        state->prepareWorkFolder();
        calc = std::make_unique<TCalc>(*dm);
        selection = std::make_unique<BumonSelection>(*dm);
        run = std::make_unique<MergeRun>(*dm, *calc, state->Bumon, *this);
    }

    MergeRun::Outcome merge() {
        messages.clear();
        dialogs = 0;
        positions.clear();
        return run->run();
    }

    void showMessage(const QString& text) override { messages << text; }
    bool confirm(const QString& text) override {
        messages << QStringLiteral("?") + text;
        return answerYes;
    }
    bool selectSubDepartments() override {
        selection->activate();
        selection->close();
        return selectionAnswers.value(dialogs++, true);
    }
    void progress(qsizetype position, qsizetype maximum) override {
        positions << position << maximum;
    }
    void processEvents() override {}
};

// A B level whose sub-departments 1..count are input ones marked for the
// aggregation, under the data set as a whole (code 0).
QString bLevel(test::TestFolder& folder, const QString& name, int count, const QList<Row>& lines,
               const QString& passWord = kPassWord) {
    const QString b = test::makeBLevel(folder, name, passWord);
    QList<Row> rows{{{"code", 0}, {"Bumonmei", "全体"}, {"F4", 0}}};
    for (int code = 1; code <= count; ++code)
        rows << Row{{"code", code},
                    {"Bumonmei", QStringLiteral("課%1").arg(code)},
                    {"F1", 1},
                    {"F4", 1},
                    {"F12", 1}};
    test::putRows(b, "Bumon", rows);
    test::putRows(b, "denpyou1", lines);
    return b;
}

Row line(int number, int lineNo, int department, double amount,
         const QDate& date = QDate(2017, 4, 1)) {
    return {{"SNo", number},      {"Sub_No", lineNo},   {"hizuke", date},     {"Lcode", "5110"},
            {"Rcode", "1120"},    {"Lkingaku", amount}, {"Rkingaku", amount}, {"tekiyou1", "給料"},
            {"FlgT", department}, {"FlgW", 1}};
}

QStringList aLines(const QString& a) {
    return test::rowsOf(a, "denpyou1", {"SNo", "Sub_No", "FlgT", "Lkingaku", "Rkingaku", "hizuke"},
                        "FlgT, SNo, Sub_No");
}

// Every row the A level holds for department `department` (all when 0).
QStringList everything(const QString& a, int department = 0) {
    const QString tagged =
        department == 0 ? QString() : QStringLiteral("FlgT = %1").arg(department);
    const QString numbered =
        department == 0 ? QString() : QStringLiteral("B_ID = %1").arg(department);
    QStringList all =
        test::rowsOf(a, "denpyou1", {"SNo", "Sub_No", "FlgT", "Lkingaku", "Rkingaku", "hizuke"},
                     "FlgT, SNo, Sub_No", tagged);
    all += test::rowsOf(a, "Mkamoku", {"B_ID", "code", "当初予算", "借方", "前年実績"},
                        "B_ID, code", numbered);
    all += test::rowsOf(a, "Mkamoku2", {"B_ID", "SNo", "当初予算"}, "B_ID, SNo", numbered);
    all += test::rowsOf(a, "Mhojokamoku", {"B_ID", "kamoku_CD", "hojo_CD", "期首繰越"},
                        "B_ID, kamoku_CD, hojo_CD", numbered);
    return all;
}

} // namespace

class TestMergeRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void foldsLinesOfOneVoucherLine();
    void voucherNumbersNeverCollide_data();
    void voucherNumbersNeverCollide();
    void foldedAmountsAreRounded_data();
    void foldedAmountsAreRounded();
    void whatNeverReachesTheALevel();
    void accountsAreTaggedAndCleared();
    void twoRunsGiveWhatOneGives();
    void skippedDepartmentsKeepTheirRows();
    void anotherProductStopsTheRun();
    void oldWorkLayoutStopsTheRun();
    void failedDepartmentKeepsItsRows();
    void emptyListAndNoAnswer();
};

void TestMergeRun::foldsLinesOfOneVoucherLine() {
    RunHarness h;
    const QString b =
        bLevel(h.folder, "B", 2,
               {line(5, 1, 0, 100), line(5, 2, 1, 30), line(9, 1, 1, 40, QDate(2017, 4, 2))});
    const QString a =
        test::makeALevel(h.folder, "A", kPassWord, {{"合　計", ""}, {"第二", ""}, {"第三", b}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(aLines(a), (QStringList{"30001|1|3|200|200|2017/04/01", "30001|2|3|30|30|2017/04/01",
                                     "30002|1|3|40|40|2017/04/02"}));
    QCOMPARE(h.run->total(), 3);
    QCOMPARE(h.messages, (QStringList{"?B階層のデータをA階層のデータフォルダに集計します",
                                      "集計処理が完了しました。集計レコード数【3】"}));
    QCOMPARE(h.positions, (QList<qsizetype>{0, 2, 1, 2, 2, 2}));
    QCOMPARE(h.state->Bumon.recNo(), qsizetype(0));
}

void TestMergeRun::voucherNumbersNeverCollide_data() {
    QTest::addColumn<QList<Row>>("lines");
    QTest::addColumn<QStringList>("expected");
    const QDate first(2017, 4, 1), second(2017, 4, 2);
    // One number for a run of lines with one SNo, as long as no line number
    // comes back in it.
    QTest::newRow("one voucher over two days")
        << QList<Row>{line(5, 1, 1, 10, first), line(5, 2, 1, 20, second)}
        << QStringList{"30001|1|3|10|10|2017/04/01", "30001|2|3|20|20|2017/04/02"};
    // Sub-department 2's voucher 5 of the next day follows sub-department 1's
    // voucher 5: its line 1 takes a new number instead of clashing.
    QTest::newRow("a line number comes back on another day")
        << QList<Row>{line(5, 1, 1, 10, first), line(5, 2, 1, 20, first), line(5, 1, 2, 30, second)}
        << QStringList{"30001|1|3|10|10|2017/04/01", "30001|2|3|20|20|2017/04/01",
                       "30002|1|3|30|30|2017/04/02"};
}

void TestMergeRun::voucherNumbersNeverCollide() {
    QFETCH(QList<Row>, lines);
    QFETCH(QStringList, expected);
    RunHarness h;
    const QString b = bLevel(h.folder, "B", 2, lines);
    const QString a =
        test::makeALevel(h.folder, "A", kPassWord, {{"合　計", ""}, {"第二", ""}, {"第三", b}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(aLines(a), expected);
    QCOMPARE(h.run->total(), qint64(expected.size()));
}

void TestMergeRun::foldedAmountsAreRounded_data() {
    QTest::addColumn<double>("amount");
    QTest::addColumn<QString>("folded");
    QTest::newRow("1.5 becomes 2") << 1.5 << "4";
    QTest::newRow("2.5 becomes 2") << 2.5 << "4";
    QTest::newRow("beyond 32 bits") << 3000000000.0 << "6000000000";
}

void TestMergeRun::foldedAmountsAreRounded() {
    QFETCH(double, amount);
    QFETCH(QString, folded);
    RunHarness h;
    const QString b = bLevel(h.folder, "B", 2, {line(5, 1, 0, amount)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"第一", b}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(test::rowsOf(a, "denpyou1", {"SNo", "Lkingaku", "Rkingaku"}, "SNo"),
             QStringList{"10001|" + folded + "|" + folded});
}

void TestMergeRun::whatNeverReachesTheALevel() {
    RunHarness h;
    // A common line leaves a control row tagged 0 in the work folder; voucher
    // numbers from 1000000 on are never carried.
    const QString b = bLevel(h.folder, "B", 1,
                             {line(1, 1, 0, 10), line(1000000, 1, 1, 20), line(999999, 1, 1, 30)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"第一", b}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(test::rowsOf(h.state->workFolder(), "denpyou1", {"SNo", "FlgT"}, "SNo, FlgT"),
             (QStringList{"1|0", "1|1", "999999|1", "1000000|1"}));
    QCOMPARE(aLines(a), (QStringList{"10001|1|1|10|10|2017/04/01", "10002|1|1|30|30|2017/04/01"}));
    QCOMPARE(h.messages.last(), QStringLiteral("集計処理が完了しました。集計レコード数【2】"));
}

void TestMergeRun::accountsAreTaggedAndCleared() {
    RunHarness h;
    const QString b = bLevel(h.folder, "B", 2, {});
    Row amounts{{"当初予算", 100}, {"借方", 5}, {"貸方", 6},
                {"残高", 7},       {"比", 0.5}, {"前年実績", 3}};
    auto account = [&amounts](int department, const QString& code) {
        return Row{{"B_ID", department}, {"code", code}, {"SNo", 7}, {"科目名", code}} + amounts;
    };
    test::putRows(b, "Mkamoku", {account(0, "1110"), account(1, "1110"), account(2, "1110")});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"第一", ""}, {"第二", b}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(test::rowsOf(a, "Mkamoku",
                          {"B_ID", "code", "科目名", "当初予算", "前残高", "借方", "貸方", "残高",
                           "残高合計", "差異", "比", "前年実績", "SNo"},
                          "B_ID, code"),
             QStringList{"2|1110|1110|200||||||||6|"});
}

void TestMergeRun::twoRunsGiveWhatOneGives() {
    RunHarness h;
    const QString b1 =
        bLevel(h.folder, "B1", 3, {line(1, 1, 0, 999), line(2, 1, 2, 50), line(2, 2, 3, 70)});
    const QString b2 = bLevel(h.folder, "B2", 2, {line(1, 1, 1, 11), line(1, 2, 0, 13)});
    test::putRows(
        b1, "Mkamoku",
        {{{"B_ID", 0}, {"code", "1110"}}, {{"B_ID", 1}, {"code", "1110"}, {"当初予算", 4}}});
    test::putRows(b2, "Mhojokamoku",
                  {{{"B_ID", 1}, {"kamoku_CD", "1120"}, {"hojo_CD", "001"}, {"期首繰越", 8}}});
    test::putRows(b2, "hojokamoku", {{{"kamoku_CD", "1120"}, {"hojo_CD", "001"}}});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"第一", b1}, {"第二", b2}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    const QStringList once = everything(a);
    QVERIFY(once.size() > 5);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(everything(a), once);
}

void TestMergeRun::skippedDepartmentsKeepTheirRows() {
    RunHarness h;
    const QString b1 = bLevel(h.folder, "B1", 1, {line(1, 1, 1, 10)});
    const QString b2 = bLevel(h.folder, "B2", 1, {line(1, 1, 1, 20)});
    const QString b3 = bLevel(h.folder, "B3", 1, {line(1, 1, 1, 30)});
    const QString b4 = bLevel(h.folder, "B4", 1, {line(1, 1, 1, 40)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord,
                                       {{"一", b1}, {"二", b2}, {"三", b3}, {"四", b4}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    const QStringList first = aLines(a);
    QCOMPARE(first.size(), 4);

    // New data everywhere; then department 1 loses its path, department 2
    // points at a missing folder, and department 3's selection is cancelled.
    for (const QString& b : {b1, b2, b3, b4})
        test::putRows(b, "denpyou1", {line(2, 1, 1, 5)});
    h.state->Bumon.first();
    h.state->setCurrentDepartmentPath(QString());
    h.state->Bumon.next();
    const QString missing = h.folder.path() + QStringLiteral("/missing");
    h.state->setCurrentDepartmentPath(missing);
    h.selectionAnswers = {false, true};
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    QCOMPARE(h.dialogs, 2);
    QCOMPARE(h.messages,
             (QStringList{"?B階層のデータをA階層のデータフォルダに集計します",
                          "このパス名は間違っています。【" + missing + QDir::separator() + "】",
                          "集計処理が完了しました。集計レコード数【2】"}));
    const QStringList second = aLines(a);
    QCOMPARE(second.mid(0, 3), first.mid(0, 3)); // departments 1 to 3 as they were
    QCOMPARE(second.size(), 5);                  // department 4 merged anew
    QCOMPARE(second.last(), QStringLiteral("40002|1|4|5|5|2017/04/01"));
}

void TestMergeRun::anotherProductStopsTheRun() {
    RunHarness h;
    const QString b1 = bLevel(h.folder, "B1", 1, {line(1, 1, 1, 10)});
    const QString b2 = bLevel(h.folder, "B2", 1, {line(1, 1, 1, 20)}, QStringLiteral("other"));
    const QString b3 = bLevel(h.folder, "B3", 1, {line(1, 1, 1, 30)});
    const QString a =
        test::makeALevel(h.folder, "A", kPassWord, {{"一", b1}, {"二課", b2}, {"三", b3}});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Stopped);
    QCOMPARE(h.messages.last(),
             QStringLiteral("二課　　この部門は他の会計ソフトのデータなので閉業処理ができません。\r"
                            "併合処理を中断します。"));
    QCOMPARE(h.dialogs, 1);
    QCOMPARE(aLines(a), QStringList{"10001|1|1|10|10|2017/04/01"});
    QCOMPARE(h.state->Bumon.recNo(), qsizetype(1));
}

void TestMergeRun::oldWorkLayoutStopsTheRun() {
    RunHarness h;
    const QString b = bLevel(h.folder, "B", 1, {line(1, 1, 1, 10)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"一", b}});
    test::putRows(a, "denpyou1", {{{"SNo", 10001}, {"Sub_No", 1}, {"FlgT", 1}, {"Lkingaku", 77}}});
    // A work folder from an older version: kamoku without 前年実績.
    test::TestFolder::sql(h.state->workFolder(),
                          {"CREATE TABLE kamoku (code VARCHAR(5), PRIMARY KEY (code))"});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Stopped);
    QCOMPARE(h.messages.last(),
             QStringLiteral("B階層の会計ソフトのバージョンが古いために併合処理が出来ません。"));
    QCOMPARE(test::rowsOf(a, "denpyou1", {"SNo", "Lkingaku"}, "SNo"), QStringList{"10001|77"});
}

void TestMergeRun::failedDepartmentKeepsItsRows() {
    RunHarness h;
    const QString b1 = bLevel(h.folder, "B1", 1, {line(1, 1, 1, 10)});
    const QString b2 = bLevel(h.folder, "B2", 1, {line(1, 1, 1, 20), line(2, 1, 1, 21)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"一", b1}, {"二", b2}});
    test::putRows(
        b2, "Mkamoku",
        {{{"B_ID", 0}, {"code", "1110"}}, {{"B_ID", 1}, {"code", "1110"}, {"当初予算", 4}}});
    // The A level refuses one amount, so a failure comes in the middle of
    // department 2's appends (after its accounts and first line).
    test::TestFolder::sql(
        a, {"DROP TABLE denpyou1",
            "CREATE TABLE denpyou1 (SNo INTEGER, Sub_No INTEGER, hizuke DATE, Lcode VARCHAR(5), "
            "Rcode VARCHAR(5), LHcode VARCHAR(3), RHcode VARCHAR(3), Lkingaku MONEY, "
            "Rkingaku MONEY, tekiyou1 VARCHAR(40), tekiyou2 VARCHAR(40), LflgS SMALLINT, "
            "RflgS SMALLINT, FlgT SMALLINT, FlgU SMALLINT, FlgV SMALLINT, FlgW SMALLINT, "
            "CHECK (Lkingaku <> 666), PRIMARY KEY (SNo, Sub_No, FlgT))",
            "CREATE INDEX denpyou1__hizuke ON denpyou1 (hizuke, SNo, Sub_No)"});
    h.open(a);
    QCOMPARE(h.merge(), MergeRun::Outcome::Completed);
    const QStringList before = everything(a, 2);
    QCOMPARE(before.size(), 3); // two lines and one account

    test::putRows(b1, "denpyou1", {line(3, 1, 1, 12)});
    test::putRows(b2, "denpyou1", {line(3, 1, 1, 666), line(4, 1, 1, 22)});
    test::putRows(b2, "Mkamoku", {{{"B_ID", 0}, {"code", "5110"}}});
    QVERIFY_THROWS_EXCEPTION(store::EngineError, h.merge());
    QVERIFY(everything(a, 1).contains("10002|1|1|12|12|2017/04/01")); // department 1 merged anew
    QCOMPARE(everything(a, 2), before);
}

void TestMergeRun::emptyListAndNoAnswer() {
    RunHarness h;
    const QString b = bLevel(h.folder, "B", 1, {line(1, 1, 1, 10)});
    const QString a = test::makeALevel(h.folder, "A", kPassWord, {{"一", b}});
    h.open(a);
    h.answerYes = false;
    QCOMPARE(h.merge(), MergeRun::Outcome::Declined);
    QVERIFY(aLines(a).isEmpty());
    QCOMPARE(h.dialogs, 0);

    test::TestFolder::sql(a, {"DELETE FROM BUMON WHERE code > 0"});
    h.state->Bumon.close();
    h.state->Bumon.open();
    h.answerYes = true;
    QCOMPARE(h.merge(), MergeRun::Outcome::Stopped);
    QCOMPARE(h.messages, QStringList{"集計する部門がありません。部門の一覧を確認してください。"});
}

QTEST_GUILESS_MAIN(TestMergeRun)
#include "tst_mergerun.moc"
