#include "AppFixtures.h"
#include "controls/KeyInput.h"
#include "support/RecordedBoxes.h"
#include "support/TestFolder.h"

#include "app/MainWindow.h"
#include "app/RememberedPath.h"
#include "controls/LibXGrid.h"
#include "sample/SampleDataSets.h"
#include "store/DataModule.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTextDocument>
#include <QtTest>

using namespace marubo;
using marubo::test::kCannotCreate;
using marubo::test::kNotADataFolder;
using marubo::test::kOldVersion;
using marubo::test::press;
using marubo::test::RecordedBoxes;
using marubo::test::TestFolder;
using marubo::test::type;

namespace {

// Answers the folder dialog with the given folders, then cancels.
struct ChosenFolders : FolderBrowser {
    QStringList answers;
    int asked = 0;
    QString chooseFolder(QWidget*) override {
        ++asked;
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }
};

QString native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

QString withSeparator(const QString& path) {
    return native(path) + QDir::separator();
}

// A start-up directory (the current directory while it lives) and the window
// started in it, with recorded message boxes and a scripted folder dialog.
struct Start {
    TestFolder folder;
    QString before = QDir::currentPath();
    QString startDir = folder.sub(QStringLiteral("start"));
    RecordedBoxes boxes;
    ChosenFolders browser;
    std::unique_ptr<TDM> dm;
    std::unique_ptr<TMain> window;

    Start() { QDir::setCurrent(startDir); }
    ~Start() {
        window.reset();
        dm.reset();
        QDir::setCurrent(before);
    }

    // Shows the window and waits for its start-up work.
    TMain& open() {
        dm = std::make_unique<TDM>();
        window = std::make_unique<TMain>(*dm, &boxes, &browser);
        window->show();
        if (!QTest::qWaitForWindowActive(window.get()))
            qWarning("the main window was not activated");
        for (int i = 0; i < 100 && !window->activated(); ++i)
            QTest::qWait(10);
        QCoreApplication::processEvents();
        return *window;
    }

    // Shows the window with `aLevel` remembered as its A-level path.
    TMain& openOn(const QString& aLevel) {
        test::writeHeadM(startDir, aLevel);
        return open();
    }

    QString aLevel(const QString& name, int rows, bool current = true) {
        return test::makeALevel(folder.sub(name), rows, current);
    }

    // A path for each kind of refused or failing A level.
    QString pathOfKind(const QString& kind) {
        if (kind == u"plain folder")
            return withSeparator(folder.sub(QStringLiteral("plain")));
        if (kind == u"under a file") {
            QFile file(folder.path() + QStringLiteral("/file"));
            file.open(QIODevice::WriteOnly);
            return withSeparator(file.fileName() + QStringLiteral("/A"));
        }
        if (kind == u"old version")
            return aLevel(QStringLiteral("old"), 3, false);
        return withSeparator(folder.path() + QStringLiteral("/missing")); // made, then no Head
    }

    controls::DataGrid& grid() { return *window->LibXGrid1; }
    QAbstractItemModel& list() { return *grid().model(); }
    QStringList column(int column) {
        QStringList texts;
        for (int row = 0; row < list().rowCount(); ++row)
            texts << list().index(row, column).data().toString();
        return texts;
    }
    QString remembered() { return test::readHeadM(startDir); }
    // BUMON of an A level, read apart from the window: "code:name:path" per row.
    static QStringList storedDepartments(const QString& aLevel) {
        store::Session session;
        store::Table bumon(session, aLevel, QStringLiteral("BUMON"));
        bumon.open();
        QStringList rows;
        for (bumon.first(); !bumon.eof(); bumon.next())
            rows << QStringLiteral("%1:%2:%3")
                        .arg(bumon.fieldByName(QStringLiteral("code")).asString(),
                             bumon.fieldByName(QStringLiteral("Bumonmei")).asString(),
                             bumon.fieldByName(QStringLiteral("Path")).asString());
        return rows;
    }
    // Puts the grid's current cell at (row, column) and gives the grid the focus.
    void goTo(int row, int column) {
        grid().setFocus();
        grid().setCurrentIndex(list().index(row, column));
        QCoreApplication::processEvents();
    }
};

} // namespace

class TestMainWindow : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowParts();
    void firstStartInAnEmptyDirectory();
    void rememberedPath_data();
    void rememberedPath();
    void startsOnARememberedSample();
    void validationMessages_data();
    void validationMessages();
    void typingValidatesOnlyTheCompletedPath();
    void departmentList_data();
    void departmentList();
    void twentyRowGuard_data();
    void twentyRowGuard();
    void browsing_data();
    void browsing();
    void closingWithAPendingEdit_data();
    void closingWithAPendingEdit();
    void enterClicksTheFocusedButton_data();
    void enterClicksTheFocusedButton();
    void versionUpButton_data();
    void versionUpButton();
};

void TestMainWindow::windowParts() {
    Start start;
    TMain& window = start.open();
    QCOMPARE(window.windowTitle(), QStringLiteral("階層集計"));
    QCOMPARE(window.size(), QSize(1070, 673));
    QCOMPARE(window.Label2->text(),
             QStringLiteral("階層集計のための併合処理  （下位階層から上位階層へ）"));
    QCOMPARE(window.Label8->text(), QStringLiteral("2017/03/01"));
    // The instruction reads as one line with the word データ in red.
    QTextDocument instruction;
    instruction.setHtml(window.Label1->text());
    QCOMPARE(
        instruction.toPlainText(),
        QStringLiteral("上位階層のデータフォルダを指定します。  （例）　C:\\○○Ledgora\\2017\\"));
    QVERIFY(window.Label1->text().contains(QStringLiteral("color:#ff0000\">データ<")));
    QCOMPARE(window.Label4->text(), QStringLiteral("併合したい部門のデータパス名を指定します。"));
    QCOMPARE(window.Label3->text(), QStringLiteral("　例）C:\\○○Ledgora¥2017¥"));
    QCOMPARE(window.Label5->text(),
             QStringLiteral("必ずバックアップを\n取ってから行ってください。"));
    QCOMPARE(window.Label5->palette().color(QPalette::WindowText), QColor(255, 0, 0));
    QCOMPARE(window.Button1->text(), QStringLiteral("実　　　行"));
    QCOMPARE(window.Button2->text(), QStringLiteral("参照"));
    QCOMPARE(window.Button3->text(), QStringLiteral("参照"));
    QCOMPARE(window.BitBtn1->text(), QStringLiteral("閉じる(&C)"));
    QVERIFY(!window.BitBtn1->icon().isNull());
    QCOMPARE(window.BtnUP->text(), QStringLiteral("バージョンアップ"));
    QCOMPARE(window.Gauge1->value(), 0);
    QCOMPARE(window.Panel2->palette().color(QPalette::Window), QColor(197, 193, 163));
    QCOMPARE(window.LibXGrid1->geometry(), QRect(0, 185, 817, 673 - 185));
    const QStringList titles{QStringLiteral("code"), QStringLiteral("部門名"),
                             QStringLiteral("データパス名")};
    const QList<int> widths{35, 199, 537};
    for (int column = 0; column < 3; ++column) {
        QCOMPARE(start.list().headerData(column, Qt::Horizontal).toString(), titles[column]);
        QCOMPARE(window.LibXGrid1->columnWidth(column), widths[column]);
    }
    // Every label shows its whole text inside its panel or the window.
    for (QLabel* label : window.findChildren<QLabel*>()) {
        QVERIFY2(label->width() >= label->sizeHint().width(), qPrintable(label->text()));
        QVERIFY2(label->parentWidget()->rect().contains(label->geometry()),
                 qPrintable(label->text()));
    }
    QVERIFY(start.boxes.messages.isEmpty());
    window.BitBtn1->click();
    QVERIFY(!window.isVisible());
}

void TestMainWindow::firstStartInAnEmptyDirectory() {
    Start start;
    TMain& window = start.open();
    QVERIFY(window.activated());
    QCOMPARE(window.Edit1->text(), QString());
    QCOMPARE(start.remembered(), QStringLiteral("(no row)")); // HeadM made, nothing written
    QCOMPARE(start.dm->Database3.tableNames().size(), 32);    // the work folder's tables
    QCOMPARE(start.dm->ProgName, QStringLiteral("Marubo"));
    QVERIFY(!window.state.Bumon.isActive());
    QCOMPARE(start.list().rowCount(), 0);
    QVERIFY(start.boxes.messages.isEmpty());
    QVERIFY(start.boxes.errors.isEmpty());
}

void TestMainWindow::rememberedPath_data() {
    QTest::addColumn<bool>("separator");
    QTest::newRow("with its separator") << true;
    QTest::newRow("without its separator") << false;
}

void TestMainWindow::rememberedPath() {
    QFETCH(bool, separator);
    Start start;
    const QString a = start.aLevel(QStringLiteral("A"), 3);
    test::writeHeadM(start.startDir, separator ? a : a.chopped(1));
    TMain& window = start.open();
    QCOMPARE(window.Edit1->text(), a);
    QCOMPARE(start.remembered(), a);
    QVERIFY(window.state.BumonReady);
    QCOMPARE(start.column(1), (QStringList{"部門1", "部門2"}));
    QCOMPARE(start.dm->APassWord, QStringLiteral("pw1"));
    QVERIFY(start.boxes.messages.isEmpty());
    QVERIFY(start.boxes.errors.isEmpty());
}

void TestMainWindow::startsOnARememberedSample() {
    // As run.sh prepares its run folder: a sample inside the start-up directory
    // remembered by its relative path.
    Start start;
    const sample::SampleSummary summary =
        sample::writeSampleDataSets(start.startDir + QStringLiteral("/sample"), {});
    rememberPathIn(start.startDir, pathSeenFrom(start.startDir, summary.aLevel));
    TMain& window = start.open();
    QCOMPARE(window.Edit1->text(), native(QStringLiteral("sample/A/")));
    QCOMPARE(start.column(0), (QStringList{"1", "2", "3", "4"}));
    QCOMPARE(start.list().index(0, 1).data().toString(), QStringLiteral("合　計"));
    QCOMPARE(start.list().index(1, 2).data().toString(), summary.bLevels[0] + QDir::separator());
    QVERIFY(start.boxes.messages.isEmpty());
    QVERIFY(start.boxes.errors.isEmpty());
}

void TestMainWindow::validationMessages_data() {
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("engineError");
    QTest::addColumn<bool>("listOpen");
    for (const char* way : {"start-up", "Enter", "leaving the box", "browse"}) {
        const QString how = QString::fromLatin1(way);
        QTest::addRow("%s, plain folder", way)
            << how << "plain folder" << kNotADataFolder << false << false;
        QTest::addRow("%s, under a file", way)
            << how << "under a file" << kCannotCreate << false << false;
        QTest::addRow("%s, old version", way)
            << how << "old version" << kOldVersion << false << true;
        QTest::addRow("%s, missing folder", way)
            << how << "missing folder" << QString() << true << false;
    }
}

void TestMainWindow::validationMessages() {
    QFETCH(QString, way);
    QFETCH(QString, kind);
    QFETCH(QString, message);
    QFETCH(bool, engineError);
    QFETCH(bool, listOpen);
    Start start;
    const QString path = start.pathOfKind(kind);
    if (way == u"start-up")
        test::writeHeadM(start.startDir, path);
    TMain& window = start.open();
    if (way == u"Enter") {
        window.Edit1->setFocus();
        window.Edit1->setText(path);
        press(Qt::Key_Return);
    } else if (way == u"leaving the box") {
        window.Edit1->setFocus();
        window.Edit1->setText(path);
        window.LibXGrid1->setFocus();
        QCoreApplication::processEvents();
    } else if (way == u"browse") {
        start.browser.answers = {path};
        window.Button2->click();
    }
    QCOMPARE(window.Edit1->text(), path);
    QCOMPARE(start.remembered(), path); // remembered even when refused
    if (engineError) {
        QVERIFY(start.boxes.messages.isEmpty());
        QCOMPARE(start.boxes.errors.size(), 1);
        QVERIFY2(start.boxes.errors.first().contains(QStringLiteral("Head")),
                 qPrintable(start.boxes.errors.first()));
        QVERIFY(QFileInfo(path).isDir());
    } else {
        QCOMPARE(start.boxes.messages, QStringList{message}); // once
        QVERIFY(start.boxes.errors.isEmpty());
    }
    QCOMPARE(window.state.Bumon.isActive(), listOpen);

    // Leaving the box with the same text validates nothing again.
    window.Edit1->setFocus();
    window.LibXGrid1->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(start.boxes.messages.size() + start.boxes.errors.size(), 1);
}

void TestMainWindow::typingValidatesOnlyTheCompletedPath() {
    Start start;
    TMain& window = start.open();
    window.Edit1->setFocus();
    const QString parent = native(start.folder.path() + QStringLiteral("/new"));
    const QString path = parent + QDir::separator() + QStringLiteral("部門A") + QDir::separator();
    type(path);
    QCOMPARE(window.Edit1->text(), path);
    QVERIFY(!QFileInfo::exists(parent)); // no folder for any prefix
    QCOMPARE(start.remembered(), QStringLiteral("(no row)"));
    QVERIFY(start.boxes.errors.isEmpty());

    press(Qt::Key_Return);
    QVERIFY(QFileInfo(path).isDir()); // made once, for the completed path
    QCOMPARE(QDir(parent).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("部門A")});
    QCOMPARE(start.boxes.errors.size(), 1); // the new folder has no Head
    QCOMPARE(start.remembered(), path);

    // Leaving the box unchanged validates nothing; a changed text is validated.
    window.LibXGrid1->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(start.boxes.errors.size(), 1);
    const QString a = start.aLevel(QStringLiteral("A"), 2);
    window.Edit1->setFocus();
    window.Edit1->selectAll();
    type(a);
    window.LibXGrid1->setFocus();
    QCoreApplication::processEvents();
    QCOMPARE(start.remembered(), a);
    QVERIFY(window.state.BumonReady);
    QCOMPARE(start.column(0), QStringList{"1"});
    QCOMPARE(start.boxes.errors.size(), 1);
    QVERIFY(start.boxes.messages.isEmpty());
}

void TestMainWindow::departmentList_data() {
    QTest::addColumn<int>("rows"); // BUMON rows before, codes 0, 1, ...
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<int>("storedRows");
    QTest::addColumn<int>("errorBoxes");
    QStringList twenty;
    for (int code = 1; code <= 20; ++code)
        twenty << QString::number(code);
    QTest::newRow("empty: filled, code 0 hidden") << 0 << twenty << "合　計" << 21 << 0;
    QTest::newRow("three departments") << 4 << QStringList{"1", "2", "3"} << "部門1" << 4 << 0;
    // Filling appends code 0 again: the engine refuses the duplicate key, and
    // no new row is left pending in the list.
    QTest::newRow("code 0 only: the fill is refused") << 1 << QStringList{} << "" << 1 << 1;
}

void TestMainWindow::departmentList() {
    QFETCH(int, rows);
    QFETCH(QStringList, codes);
    QFETCH(QString, firstName);
    QFETCH(int, storedRows);
    QFETCH(int, errorBoxes);
    Start start;
    const QString a = start.aLevel(QStringLiteral("A"), rows);
    TMain& window = start.openOn(a);
    QCOMPARE(start.boxes.errors.size(), errorBoxes);
    QCOMPARE(start.column(0), codes);
    const QStringList stored = Start::storedDepartments(a);
    QCOMPARE(stored.size(), storedRows);
    if (codes.isEmpty()) {
        QCOMPARE(window.state.Bumon.state(), store::DataSetState::Browse);
        return;
    }
    QCOMPARE(start.list().index(0, 1).data().toString(), firstName);
    QCOMPARE(start.grid().currentIndex().row(), 0);
    QCOMPARE(window.state.Bumon.recNo(), qsizetype(0));
    if (rows == 0) {
        QCOMPARE(stored.first(), QStringLiteral("0::")); // unnamed, outside the filter
        QCOMPARE(stored[1], QStringLiteral("1:合　計:"));
        store::Session session;
        store::Table bumon(session, a, QStringLiteral("BUMON"));
        bumon.open();
        bumon.next();
        QCOMPARE(bumon.fieldByName(QStringLiteral("F1")).asInteger(), 1);
    }
}

void TestMainWindow::twentyRowGuard_data() {
    QTest::addColumn<int>("departments");
    QTest::addColumn<int>("added"); // rows the grid lets the user add
    QTest::newRow("18 departments") << 18 << 2;
    QTest::newRow("19 departments") << 19 << 1;
    QTest::newRow("20 departments") << 20 << 0;
    QTest::newRow("23 departments") << 23 << 0;
}

void TestMainWindow::twentyRowGuard() {
    QFETCH(int, departments);
    QFETCH(int, added);
    Start start;
    const QString a = start.aLevel(QStringLiteral("A"), departments + 1);
    TMain& window = start.openOn(a);
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int shown = start.list().rowCount();
        start.goTo(shown - 1, 0);
        press(Qt::Key_Down);
        if (attempt >= added) {
            // Refused silently: no new row, no box.
            QCOMPARE(start.list().rowCount(), shown);
            QCOMPARE(window.state.Bumon.state(), store::DataSetState::Browse);
            continue;
        }
        QCOMPARE(start.list().rowCount(), shown + 1);
        QCOMPARE(start.grid().currentIndex().row(), shown);
        type(QString::number(100 + attempt));
        press(Qt::Key_Return);
        press(Qt::Key_Up); // leaving the new row posts it
        QTRY_COMPARE(window.state.Bumon.recordCount(), qsizetype(shown + 1));
    }
    QCOMPARE(window.state.Bumon.recordCount(), qsizetype(qMax(departments, 20)));
    QCOMPARE(Start::storedDepartments(a).size(), departments + 1 + added);
    QVERIFY(start.boxes.errors.isEmpty());
    QVERIFY(start.boxes.messages.isEmpty());
}

void TestMainWindow::browsing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("where"); // inside or outside the start-up directory, or cancel
    for (const char* button : {"Button2", "Button3"})
        for (const char* where : {"inside", "outside", "cancel"})
            QTest::addRow("%s, %s", button, where)
                << QString::fromLatin1(button) << QString::fromLatin1(where);
}

void TestMainWindow::browsing() {
    QFETCH(QString, button);
    QFETCH(QString, where);
    Start start;
    const QString first = start.aLevel(QStringLiteral("first"), 3);
    TMain& window = start.openOn(first);
    QString chosen;
    QString expected;
    if (where == u"inside") {
        chosen = native(start.startDir + QStringLiteral("/data/A"));
        expected = native(QStringLiteral("data/A/"));
    } else if (where == u"outside") {
        chosen = native(start.folder.path() + QStringLiteral("/other"));
        expected = chosen + QDir::separator();
    }
    if (!chosen.isEmpty()) {
        QDir().mkpath(chosen);
        start.aLevel(QDir(start.folder.path()).relativeFilePath(chosen), 2);
        start.browser.answers = {chosen};
    }
    start.goTo(1, 2);

    if (button == u"Button2") {
        window.Button2->click();
        QCOMPARE(start.browser.asked, 1);
        if (chosen.isEmpty()) {
            QCOMPARE(window.Edit1->text(), first); // nothing changes
            QCOMPARE(start.remembered(), first);
        } else {
            QCOMPARE(window.Edit1->text(), expected);
            QCOMPARE(start.remembered(), expected);
            QCOMPARE(start.dm->Database1.directory(), expected);
            QCOMPARE(start.column(1), QStringList{"部門1"}); // the chosen A level's list
        }
    } else {
        window.Button3->click();
        QCOMPARE(start.browser.asked, 1);
        const QString path = chosen.isEmpty() ? QString() : expected;
        QCOMPARE(Start::storedDepartments(first)[2], QStringLiteral("2:部門2:") + path);
        QTRY_COMPARE(start.list().index(1, 2).data().toString(), path);
        // No validation: the A level and the remembered path stay.
        QCOMPARE(window.Edit1->text(), first);
        QCOMPARE(start.remembered(), first);
    }
    QVERIFY(start.boxes.messages.isEmpty());
    QVERIFY(start.boxes.errors.isEmpty());
}

void TestMainWindow::closingWithAPendingEdit_data() {
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QStringList>("stored");
    QTest::newRow("open editor") << "open editor" << QStringList{"0:部門0:", "1:本部:", "2:部門2:"};
    QTest::newRow("new row") << "new row"
                             << QStringList{"0:部門0:", "1:部門1:", "2:部門2:", "7:支店:"};
    QTest::newRow("new row without a code")
        << "new row without a code" << QStringList{"0:部門0:", "1:部門1:", "2:部門2:"};
    QTest::newRow("refused value")
        << "refused value" << QStringList{"0:部門0:", "1:部門1:", "2:部門2:"};
}

void TestMainWindow::closingWithAPendingEdit() {
    QFETCH(QString, pending);
    QFETCH(QStringList, stored);
    Start start;
    const QString a = start.aLevel(QStringLiteral("A"), 3);
    TMain& window = start.openOn(a);
    if (pending == u"open editor") {
        start.goTo(0, 1);
        type(QStringLiteral("本部"));
        QVERIFY(start.grid().isEditing());
    } else if (pending == u"refused value") {
        start.goTo(1, 0);
        type(QStringLiteral("abc")); // not a number
        QVERIFY(start.grid().isEditing());
    } else {
        start.goTo(1, 0);
        press(Qt::Key_Down);
        if (pending == u"new row") {
            type(QStringLiteral("7"));
            press(Qt::Key_Tab);
        } else {
            press(Qt::Key_Right);
        }
        type(QStringLiteral("支店")); // left open in its editor
    }
    window.BitBtn1->click();
    QVERIFY(!window.isVisible());
    QVERIFY(!window.state.Bumon.isActive());
    QCOMPARE(Start::storedDepartments(a), stored);
    QTest::qWait(50); // no error box turns up after the window has gone
    QVERIFY(start.boxes.errors.isEmpty());
}

void TestMainWindow::enterClicksTheFocusedButton_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("key");
    QTest::newRow("閉じる, Return") << "BitBtn1" << int(Qt::Key_Return);
    QTest::newRow("閉じる, keypad Enter") << "BitBtn1" << int(Qt::Key_Enter);
    QTest::newRow("実行, Return") << "Button1" << int(Qt::Key_Return);
}

void TestMainWindow::enterClicksTheFocusedButton() {
    QFETCH(QString, button);
    QFETCH(int, key);
    Start start;
    TMain& window = start.openOn(start.aLevel(QStringLiteral("A"), 3));
    QPushButton* pressed = button == u"Button1" ? window.Button1 : window.BitBtn1;
    pressed->setFocus();
    QTRY_VERIFY(pressed->hasFocus());
    QTest::keyClick(pressed, Qt::Key(key));
    if (pressed == window.BitBtn1) {
        QVERIFY(!window.isVisible());
    } else {
        // The run asks first; the recorded answer is no.
        QCOMPARE(start.boxes.questions,
                 QStringList{QStringLiteral("B階層のデータをA階層のデータフォルダに集計します")});
        QVERIFY(window.isVisible());
    }
}

void TestMainWindow::versionUpButton_data() {
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("no") << false << QStringList{};
    QTest::newRow("yes, download refused")
        << true << QStringList{QStringLiteral("バージョンアップが正常に出来ませんでした。")};
}

void TestMainWindow::versionUpButton() {
    QFETCH(bool, answer);
    QFETCH(QStringList, messages);
    Start start;
    TMain& window = start.open();
    window.versionUpSettings.programFolder = start.folder.sub(QStringLiteral("program"));
    // Not https and not this machine: refused before any request.
    window.versionUpSettings.updaterAddress = QStringLiteral("http://download.invalid/dload.exe");
    start.boxes.answer = answer;
    QTest::mouseClick(window.BtnUP, Qt::LeftButton);
    QCOMPARE(start.boxes.questions,
             QStringList{QStringLiteral("バージョンアップを実行しますか。\r\nただし、ソフトの更新中"
                                        "は実行できない場合があります。")});
    QCOMPARE(start.boxes.messages, messages);
    QVERIFY(window.isVisible());
    QVERIFY(QDir(window.versionUpSettings.programFolder).isEmpty());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
