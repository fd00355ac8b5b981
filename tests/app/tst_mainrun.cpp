#include "support/Levels.h"
#include "support/RecordedBoxes.h"

#include "app/MainWindow.h"
#include "controls/LibBtBtn.h"
#include "controls/LibXGrid.h"
#include "sample/SampleDataSets.h"
#include "store/DataModule.h"

#include <QLineEdit>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace marubo;
using marubo::test::RecordedBoxes;

namespace {

// The window started on a sample A level, with recorded message boxes and a
// person who answers each selection dialog in turn (true: Run, false: Cancel).
struct WindowRun {
    test::TestFolder folder;
    QString before = QDir::currentPath();
    sample::SampleSummary sample;
    RecordedBoxes boxes;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMain> window;
    QList<bool> answers;
    int dialogs = 0;
    std::function<void()> whileDialogOpen; // looks at the window during the run

    WindowRun() {
        sample = sample::writeSampleDataSets(folder.sub(QStringLiteral("sample")), {});
        QDir::setCurrent(folder.sub(QStringLiteral("start")));
        boxes.answer = true;
        dm = std::make_unique<TDM>();
        window = std::make_unique<TMain>(*dm, &boxes);
        window->show();
        QVERIFY(QTest::qWaitForWindowActive(window.get()));
        for (int i = 0; i < 100 && !window->activated(); ++i)
            QTest::qWait(10);
        window->Edit1->setText(sample.aLevel);
        window->init();
    }
    ~WindowRun() {
        window.reset();
        dm.reset();
        QDir::setCurrent(before);
    }

    // Presses 実　　　行 and answers every dialog the run shows.
    void merge() {
        QTimer answerer;
        answerer.setInterval(20);
        QObject::connect(&answerer, &QTimer::timeout, [this] {
            Tmarubou& dialog = *window->marubou;
            if (!dialog.isVisible() || !dialog.selection.BumonTB.isActive())
                return;
            if (whileDialogOpen)
                whileDialogOpen();
            const bool run = answers.value(dialogs++, true);
            QTest::mouseClick(run ? static_cast<QPushButton*>(dialog.Button2) : dialog.LibBtBtn1,
                              Qt::LeftButton);
        });
        answerer.start();
        QTest::mouseClick(window->Button1, Qt::LeftButton);
        answerer.stop();
    }
};

// Every row of the A level's merged tables, as text.
QStringList aLevel(const QString& folder) {
    QStringList rows = test::rowsOf(
        folder, "denpyou1",
        {"SNo", "Sub_No", "FlgT", "hizuke", "Lcode", "Rcode", "Lkingaku", "Rkingaku", "tekiyou1"},
        "FlgT, SNo, Sub_No");
    rows += test::rowsOf(folder, "Mkamoku",
                         {"B_ID", "code", "科目名", "当初予算", "前年実績", "借方"}, "B_ID, code");
    rows += test::rowsOf(folder, "Mkamoku2", {"B_ID", "SNo", "code", "予算"}, "B_ID, SNo");
    rows += test::rowsOf(folder, "Mhojokamoku", {"B_ID", "kamoku_CD", "hojo_CD", "期首繰越"},
                         "B_ID, kamoku_CD, hojo_CD");
    return rows;
}

} // namespace

class TestMainRun : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void sameAsTheBatchCommand();
    void actionsRefusedDuringARun();
    void cancelSkipsADepartment();
    void emptyList();
    void singleDepartmentFillsTheGauge();
    void changedPathBoxValidatedFirst_data();
    void changedPathBoxValidatedFirst();
    void pendingRowIsMergedToo();
    void refusedValueStopsTheRun();
};

void TestMainRun::sameAsTheBatchCommand() {
    WindowRun run;
    run.merge();
    QCOMPARE(run.dialogs, 3);
    QCOMPARE(run.boxes.questions, QStringList{"B階層のデータをA階層のデータフォルダに集計します"});
    QCOMPARE(run.boxes.icons, QList<MessageBoxes::Icon>{MessageBoxes::Icon::Warning});
    QVERIFY(run.boxes.errors.isEmpty());
    QCOMPARE(run.boxes.messages.size(), 1);
    QVERIFY(run.boxes.messages.first().startsWith(
        QStringLiteral("集計処理が完了しました。集計レコード数【")));
    QCOMPARE(run.window->Gauge1->value(), run.window->Gauge1->maximum());

    // The same sample merged by the batch command.
    test::TestFolder other;
    const auto twin = sample::writeSampleDataSets(other.sub(QStringLiteral("sample")), {});
    QProcess command;
    command.start(QStringLiteral(MARUBO_MERGE_PATH),
                  {QStringLiteral("--workdir"), other.sub(QStringLiteral("start")), twin.aLevel});
    QVERIFY(command.waitForFinished(60000));
    QCOMPARE(command.exitCode(), 0);
    QCOMPARE(QString::fromUtf8(command.readAllStandardOutput()).trimmed(),
             run.boxes.messages.first());
    const QStringList windowRows = aLevel(run.sample.aLevel);
    QVERIFY(windowRows.size() > 100);
    QCOMPARE(windowRows, aLevel(twin.aLevel));
}

void TestMainRun::actionsRefusedDuringARun() {
    WindowRun run;
    QStringList seen;
    run.whileDialogOpen = [&run, &seen] {
        TMain& window = *run.window;
        if (!seen.isEmpty())
            return;
        for (QWidget* control : std::initializer_list<QWidget*>{
                 window.Edit1, window.Button2, window.Button3, window.LibXGrid1, window.Button1,
                 window.BitBtn1, window.BtnUP})
            seen << (control->isEnabled() ? QStringLiteral("enabled") : QStringLiteral("refused"));
        seen << (window.close() ? QStringLiteral("closed") : QStringLiteral("stays open"));
        seen << (window.grab().isNull() ? QStringLiteral("no paint") : QStringLiteral("paints"));
    };
    run.merge();
    QCOMPARE(seen, (QStringList{"refused", "refused", "refused", "refused", "refused", "refused",
                                "refused", "stays open", "paints"}));
    QVERIFY(run.window->isVisible());
    QVERIFY(run.window->Button1->isEnabled()); // usable again after the run
}

void TestMainRun::cancelSkipsADepartment() {
    WindowRun run;
    run.answers = {true, false, true};
    run.merge();
    QCOMPARE(run.dialogs, 3);
    // Department 3 (the second B level) has nothing in the A level; 2 and 4 have.
    QCOMPARE(test::rowsOf(run.sample.aLevel, "denpyou1", {"FlgT"}, "FlgT", "FlgT = 3"),
             QStringList{});
    QVERIFY(!test::rowsOf(run.sample.aLevel, "denpyou1", {"FlgT"}, "FlgT", "FlgT = 2").isEmpty());
    QVERIFY(!test::rowsOf(run.sample.aLevel, "Mkamoku", {"B_ID"}, "B_ID", "B_ID = 4").isEmpty());
    QCOMPARE(test::rowsOf(run.sample.aLevel, "Mkamoku", {"B_ID"}, "B_ID", "B_ID = 3"),
             QStringList{});
}

void TestMainRun::emptyList() {
    WindowRun run;
    run.window->state.Bumon.close();
    test::TestFolder::sql(run.sample.aLevel, {"DELETE FROM BUMON"});
    run.window->state.Bumon.open();
    run.merge();
    QCOMPARE(run.boxes.messages,
             QStringList{"集計する部門がありません。部門の一覧を確認してください。"});
    QVERIFY(run.boxes.questions.isEmpty());
}

void TestMainRun::singleDepartmentFillsTheGauge() {
    WindowRun run;
    run.window->state.Bumon.close();
    test::TestFolder::sql(run.sample.aLevel, {"DELETE FROM BUMON WHERE code <> 2"});
    run.window->state.Bumon.open();
    run.merge();
    QCOMPARE(run.dialogs, 1);
    QCOMPARE(run.boxes.messages.size(), 1);
    // Not the busy indicator that a range of 0 to 0 would give.
    QVERIFY(run.window->Gauge1->maximum() > 0);
    QCOMPARE(run.window->Gauge1->value(), run.window->Gauge1->maximum());
}

void TestMainRun::changedPathBoxValidatedFirst_data() {
    QTest::addColumn<bool>("sameFolder");
    QTest::newRow("the same folder, written anew") << true;
    QTest::newRow("a folder that is no data folder") << false;
}

// A path typed into the box and left for 実行 is validated before the run
// starts, never in the middle of it.
void TestMainRun::changedPathBoxValidatedFirst() {
    QFETCH(bool, sameFolder);
    WindowRun run;
    QString text = run.sample.aLevel;
    if (!sameFolder)
        text = run.folder.sub(QStringLiteral("empty"));
    else if (text.endsWith(QDir::separator()))
        text.chop(1);
    else
        text += QDir::separator();
    QList<int> codes;
    QStringList folders;
    run.whileDialogOpen = [&run, &codes, &folders] {
        codes << run.window->state.Bumon.fieldByName(QStringLiteral("code")).asInteger();
        folders << QDir::cleanPath(run.dm->Database2.directory());
    };
    run.window->Edit1->setFocus();
    QTRY_VERIFY(run.window->Edit1->hasFocus());
    run.window->Edit1->setText(text);
    run.merge();
    QCoreApplication::processEvents();

    if (sameFolder) {
        QCOMPARE(codes, (QList<int>{2, 3, 4}));
        QStringList expected;
        for (const QString& folder : run.sample.bLevels)
            expected << QDir::cleanPath(folder);
        QCOMPARE(folders, expected);
        QCOMPARE(run.boxes.messages.size(), 1);
        QVERIFY(run.boxes.messages.first().startsWith(QStringLiteral("集計処理が完了しました。")));
    } else {
        QCOMPARE(run.dialogs, 0);
        QVERIFY(run.boxes.questions.isEmpty());
        QCOMPARE(run.boxes.messages, QStringList{"指定した保存先は、この会計のデータディレクトリで"
                                                 "はありませんのでご確認ください。"});
    }
}

void TestMainRun::pendingRowIsMergedToo() {
    WindowRun run;
    store::Table& list = run.window->state.Bumon;
    list.last();
    list.append();
    list.fieldByName(QStringLiteral("code")).setAsInteger(9);
    list.fieldByName(QStringLiteral("Bumonmei")).setAsString(QStringLiteral("追加部門"));
    list.fieldByName(QStringLiteral("Path")).setAsString(run.sample.bLevels.first());
    run.merge();
    QCOMPARE(run.dialogs, 4);
    QCOMPARE(test::rowsOf(run.sample.aLevel, "BUMON", {"code"}, "code", "code = 9"),
             QStringList{"9"});
    // The fifth row of the list is department 5.
    QVERIFY(!test::rowsOf(run.sample.aLevel, "denpyou1", {"FlgT"}, "FlgT", "FlgT = 5").isEmpty());
}

void TestMainRun::refusedValueStopsTheRun() {
    WindowRun run;
    controls::TLibXGrid& grid = *run.window->LibXGrid1;
    const QModelIndex cell = grid.model()->index(1, 0);
    grid.setFocus();
    grid.setCurrentIndex(cell);
    grid.edit(cell);
    auto* editor = qobject_cast<QLineEdit*>(grid.indexWidget(cell));
    QVERIFY(editor);
    editor->setText(QStringLiteral("abc"));
    run.merge();
    QTRY_COMPARE(run.boxes.errors.size(), 1);
    QVERIFY(run.boxes.questions.isEmpty());
    QCOMPARE(run.dialogs, 0);
    QVERIFY(test::rowsOf(run.sample.aLevel, "denpyou1", {"FlgT"}, "FlgT").isEmpty());
}

QTEST_MAIN(TestMainRun)
#include "tst_mainrun.moc"
