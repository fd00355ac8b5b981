#include "AppFixtures.h"
#include "support/TestFolder.h"

#include "app/MainState.h"
#include "store/EngineError.h"
#include "util/Abort.h"

#include <QtTest>

using namespace marubo;
using marubo::test::TestFolder;
using namespace marubo::test; // fixtures and messages

namespace {

struct RecordedPrompts : MainPrompts {
    QStringList messages;
    void showMessage(const QString& text) override { messages << text; }
};

// A start-up directory with a fresh data module and window state in it.
struct Shell {
    TestFolder folder;
    QString before = QDir::currentPath();
    std::unique_ptr<TDM> dm;
    RecordedPrompts prompts;
    std::unique_ptr<MainState> state;

    Shell() {
        QDir::setCurrent(folder.sub(QStringLiteral("start")));
        dm = std::make_unique<TDM>();
        state = std::make_unique<MainState>(*dm, prompts);
        state->FormCreate();
    }
    ~Shell() {
        state.reset();
        dm.reset();
        QDir::setCurrent(before);
    }

    // An A level with the package's tables; `rows` BUMON rows with codes 0, 1, ...
    QString aLevel(const QString& name, int rows, bool current = true) {
        return test::makeALevel(folder.sub(name), rows, current);
    }

    static QString withSeparator(const QString& dir) {
        return QDir::toNativeSeparators(dir) + QDir::separator();
    }

    QString remembered() { return test::readHeadM(state->StartDir); }
};

} // namespace

class TestMainState : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void firstStartInAnEmptyDirectory();
    void rememberedPathGetsItsSeparator();
    void refusedPaths_data();
    void refusedPaths();
    void missingFolderIsCreatedForTheCompletedPath();
    void fillsAnEmptyList();
    void oldVersionOnlyWarns();
    void twentyRowGuard_data();
    void twentyRowGuard();
    void refusedPathKeepsTheOpenALevel();
    void browsedPaths_data();
    void browsedPaths();
    void departmentPathAndClosing();
    void pathTooLongToRemember();
};

void TestMainState::firstStartInAnEmptyDirectory() {
    Shell shell;
    QVERIFY(QFileInfo(shell.state->workFolder()).isDir());
    QCOMPARE(shell.state->rememberedPath(), QString());
    QCOMPARE(shell.state->HeadM.recordCount(), qsizetype(0));
    QVERIFY_THROWS_EXCEPTION(Abort, shell.state->init(QString()));
    QCOMPARE(shell.state->HeadM.recordCount(), qsizetype(0));
    shell.state->prepareWorkFolder();
    QCOMPARE(shell.dm->Database3.tableNames().size(), 32);
    QCOMPARE(shell.dm->ProgName, QStringLiteral("Marubo"));
    QVERIFY(!shell.state->Bumon.isActive());
    QVERIFY(shell.prompts.messages.isEmpty());
}

void TestMainState::rememberedPathGetsItsSeparator() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 3);
    shell.state->init(a.chopped(1));
    QCOMPARE(shell.remembered(), a);
    Shell::withSeparator(QString()); // keeps the helper in use
    QCOMPARE(shell.state->rememberedPath(), a);
    QCOMPARE(shell.dm->APassWord, QStringLiteral("pw1"));
    QVERIFY(shell.state->BumonReady);
    QCOMPARE(shell.state->Bumon.recordCount(), qsizetype(2));
}

void TestMainState::refusedPaths_data() {
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    QTest::newRow("folder without head") << "plain" << kNotADataFolder;
    QTest::newRow("folder that cannot be made") << "under a file" << kCannotCreate;
}

void TestMainState::refusedPaths() {
    QFETCH(QString, kind);
    QFETCH(QString, message);
    Shell shell;
    QString path = shell.folder.sub(QStringLiteral("plain"));
    if (kind == u"under a file") {
        QFile file(path + QStringLiteral("/file"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        path = file.fileName() + QStringLiteral("/A");
    }
    path = Shell::withSeparator(path);
    QVERIFY_THROWS_EXCEPTION(Abort, shell.state->init(path));
    QCOMPARE(shell.prompts.messages, QStringList{message});
    QCOMPARE(shell.remembered(), path); // remembered although refused
    QVERIFY(!shell.state->Bumon.isActive());
}

void TestMainState::missingFolderIsCreatedForTheCompletedPath() {
    Shell shell;
    const QString path = Shell::withSeparator(shell.folder.path() + QStringLiteral("/new/A"));
    // The new folder has no Head: opening it fails with the engine's error.
    try {
        shell.state->init(path);
        QFAIL("opened a folder without Head");
    } catch (const store::EngineError& error) {
        QCOMPARE(error.kind(), store::EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(QStringLiteral("Head")));
    }
    QVERIFY(QFileInfo(path).isDir());
    QVERIFY(shell.prompts.messages.isEmpty());
    QCOMPARE(shell.remembered(), path);
}

void TestMainState::fillsAnEmptyList() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 0);
    shell.state->init(a);
    store::Table& list = shell.state->Bumon;
    QCOMPARE(list.recordCount(), qsizetype(20));
    QCOMPARE(list.fieldByName(QStringLiteral("code")).asInteger(), 1);
    QCOMPARE(list.fieldByName(QStringLiteral("Bumonmei")).asString(), QStringLiteral("合　計"));
    QCOMPARE(list.fieldByName(QStringLiteral("F1")).asInteger(), 1);
    list.last();
    QCOMPARE(list.fieldByName(QStringLiteral("code")).asInteger(), 20);
    list.setFiltered(false);
    QCOMPARE(list.recordCount(), qsizetype(21));
    list.first();
    QCOMPARE(list.fieldByName(QStringLiteral("code")).asInteger(), 0);
    QVERIFY(list.fieldByName(QStringLiteral("Bumonmei")).isNull());
}

void TestMainState::oldVersionOnlyWarns() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 4, false);
    shell.state->init(a);
    QCOMPARE(shell.prompts.messages, QStringList{kOldVersion});
    QVERIFY(shell.state->Bumon.isActive());
    QVERIFY(shell.state->BumonReady);
}

void TestMainState::twentyRowGuard_data() {
    QTest::addColumn<int>("rows");
    QTest::addColumn<bool>("refused");
    QTest::newRow("19 departments") << 20 << false;
    QTest::newRow("20 departments") << 21 << true;
    QTest::newRow("25 departments") << 26 << true;
}

void TestMainState::twentyRowGuard() {
    QFETCH(int, rows);
    QFETCH(bool, refused);
    Shell shell;
    shell.state->init(shell.aLevel(QStringLiteral("A"), rows));
    store::Table& list = shell.state->Bumon;
    if (refused) {
        QVERIFY_THROWS_EXCEPTION(Abort, list.append());
        QCOMPARE(list.state(), store::DataSetState::Browse);
    } else {
        list.append();
        list.fieldByName(QStringLiteral("code")).setAsInteger(50);
        list.post();
        QCOMPARE(list.recordCount(), qsizetype(20));
        QVERIFY_THROWS_EXCEPTION(Abort, list.append());
    }
}

void TestMainState::refusedPathKeepsTheOpenALevel() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 3);
    shell.state->init(a);
    const QString plain = Shell::withSeparator(shell.folder.sub(QStringLiteral("plain")));
    QVERIFY_THROWS_EXCEPTION(Abort, shell.state->init(plain));
    QVERIFY(shell.state->Bumon.isActive());
    QCOMPARE(shell.dm->Database1.directory(), a);
    QCOMPARE(shell.remembered(), plain);
}

void TestMainState::browsedPaths_data() {
    QTest::addColumn<QString>(
        "chosen"); // relative to the scratch folder; "START" is the start-up directory
    QTest::addColumn<QString>("expected");
    const QString sep = QDir::separator();
    QTest::newRow("inside") << "START/data/A"
                            << "data" + sep + "A" + sep;
    QTest::newRow("outside") << "elsewhere/A"
                             << "ABS";
    QTest::newRow("start-up directory itself") << "START"
                                               << "ABS";
    QTest::newRow("sibling with the same beginning") << "start2/A"
                                                     << "ABS";
}

void TestMainState::browsedPaths() {
    QFETCH(QString, chosen);
    QFETCH(QString, expected);
    Shell shell;
    const QString scratch = QDir::toNativeSeparators(shell.folder.path());
    QString absolute = QDir::toNativeSeparators(
        scratch + QDir::separator() +
        QString(chosen).replace(QStringLiteral("START"), QStringLiteral("start")));
    if (expected == u"ABS")
        expected = absolute + QDir::separator();
    QCOMPARE(shell.state->browsedPath(absolute), expected);
    QCOMPARE(shell.state->browsedPath(absolute + QDir::separator()), expected); // never doubled
}

void TestMainState::departmentPathAndClosing() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 3);
    shell.state->init(a);
    shell.state->Bumon.next();
    shell.state->setCurrentDepartmentPath(QStringLiteral("B01/"));
    shell.state->Bumon.first();
    shell.state->Bumon.edit();
    shell.state->Bumon.fieldByName(QStringLiteral("Bumonmei")).setAsString(QStringLiteral("本部"));
    shell.state->FormClose(); // the pending edit is posted
    QVERIFY(!shell.state->Bumon.isActive());
    shell.state->Bumon.open();
    QCOMPARE(shell.state->Bumon.fieldByName(QStringLiteral("Bumonmei")).asString(),
             QStringLiteral("本部"));
    shell.state->Bumon.next();
    QCOMPARE(shell.state->Bumon.fieldByName(QStringLiteral("Path")).asString(),
             QStringLiteral("B01/"));
}

void TestMainState::pathTooLongToRemember() {
    Shell shell;
    const QString a = shell.aLevel(QStringLiteral("A"), 3);
    shell.state->init(a);
    // A path longer than HeadM holds: used now, but not remembered cut short.
    const QString deep =
        shell.folder.path() + QStringLiteral("/") + QString(120, u'x') + QStringLiteral("/A");
    QVERIFY(QDir().mkpath(deep));
    QVERIFY_THROWS_EXCEPTION(Abort, shell.state->init(deep)); // no head table there
    QCOMPARE(shell.remembered(), a);
}

QTEST_GUILESS_MAIN(TestMainState)
#include "tst_mainstate.moc"
