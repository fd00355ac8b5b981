#include "TableFixture.h"

#include "store/DataSetFile.h"
#include "store/EngineError.h"
#include "store/Sqlite.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

using namespace marubo::store;
using marubo::test::ReadOnlyGuard;
using marubo::test::TableFixture;

// Bad input gives an exception with a clear message, and nothing already stored is lost.
class TestBadInput : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void notADataFile_data();
    void notADataFile();
    void missingFolderTableOrField();
    void readOnly_data();
    void readOnly();
    void lockedByAnotherProgram();
    void writeWhileAnotherProgramReads();
};

namespace {

qsizetype rowCount(const QString& folder) {
    Session session;
    Table table(session, folder, QStringLiteral("T"));
    table.open();
    return table.recordCount();
}

void appendRow(Session& session, const QString& folder, qint64 code) {
    Table table(session, folder, QStringLiteral("T"));
    table.open();
    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(code);
    table.post();
}

} // namespace

void TestBadInput::notADataFile_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text") << QByteArray("これはデータではありません\r\n");
    QTest::newRow("zeros") << QByteArray(4096, '\0');
    QTest::newRow("damaged header")
        << QByteArray("SQLite format 3\0garbage garbage garbage garbage", 48);
}

void TestBadInput::notADataFile() {
    QFETCH(QByteArray, content);
    marubo::test::TestFolder folder;
    const QString dir = folder.sub(QStringLiteral("A"));
    QFile file(tablesFilePath(dir));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(content);
    file.close();
    Session session;
    Table table(session, dir, QStringLiteral("Head"));
    try {
        table.open();
        // A file of zeros is an empty database to SQLite; it then has no such table.
        QFAIL("opened");
    } catch (const EngineError& error) {
        QVERIFY2(error.kind() == EngineError::Kind::Corrupt ||
                     error.kind() == EngineError::Kind::NotFound,
                 qPrintable(error.message()));
        QVERIFY2(error.message().contains(QDir::toNativeSeparators(dir)),
                 qPrintable(error.message()));
    }
    QVERIFY(!table.isActive());
    QFile check(tablesFilePath(dir));
    QVERIFY(check.open(QIODevice::ReadOnly));
    QCOMPARE(check.readAll(), content);
}

void TestBadInput::missingFolderTableOrField() {
    TableFixture fx;
    const QString missing = fx.folder.path() + QStringLiteral("/nowhere");
    Table inMissingFolder(fx.session, missing, QStringLiteral("T"));
    try {
        inMissingFolder.open();
        QFAIL("opened");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(QStringLiteral("フォルダ")));
        QVERIFY(error.message().contains(QDir::toNativeSeparators(missing)));
    }
    QVERIFY(!QFileInfo::exists(missing));

    const QString empty = fx.folder.sub(QStringLiteral("empty"));
    Table inEmptyFolder(fx.session, empty, QStringLiteral("Head"));
    QVERIFY_THROWS_EXCEPTION(EngineError, inEmptyFolder.open());
    QVERIFY(!QFileInfo::exists(tablesFilePath(empty))); // reading never creates the file

    Table missingTable(fx.session, fx.dir, QStringLiteral("anbunwari"));
    try {
        missingTable.open();
        QFAIL("opened");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::NotFound);
        QVERIFY(error.message().contains(QStringLiteral("anbunwari")));
    }
}

void TestBadInput::readOnly_data() {
    QTest::addColumn<bool>("wholeFolder");
    QTest::newRow("file") << false;
    QTest::newRow("folder") << true;
}

void TestBadInput::readOnly() {
    QFETCH(bool, wholeFolder);
    TableFixture fx;
    ReadOnlyGuard guard(wholeFolder ? fx.dir : tablesFilePath(fx.dir));
    if (!guard.active())
        QSKIP("this file system cannot make the file read-only");
    Session session;
    session.setBusyTimeout(200);
    try {
        appendRow(session, fx.dir, 30);
        QFAIL("written");
    } catch (const EngineError& error) {
        QVERIFY2(error.kind() == EngineError::Kind::ReadOnly ||
                     error.kind() == EngineError::Kind::CannotOpen,
                 qPrintable(error.message()));
        QVERIFY2(error.message().contains(QStringLiteral("書き込")), qPrintable(error.message()));
        QVERIFY(error.message().contains(QStringLiteral("「T」")));
    }
    // Reading still works and nothing was lost.
    QCOMPARE(rowCount(fx.dir), qsizetype(6));
}

void TestBadInput::lockedByAnotherProgram() {
    TableFixture fx;
    SqliteDb other(tablesFilePath(fx.dir), false, 0);
    other.exec(QStringLiteral("BEGIN EXCLUSIVE"));
    Session session;
    session.setBusyTimeout(300);
    Table table(session, fx.dir, QStringLiteral("T"));
    QElapsedTimer timer;
    timer.start();
    try {
        table.open();
        table.recordCount();
        QFAIL("read a locked file");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Locked);
        QVERIFY(error.message().contains(QStringLiteral("使用中")));
    }
    QVERIFY2(timer.elapsed() >= 250, "gave up without waiting"); // waits for the lock first
    other.exec(QStringLiteral("ROLLBACK"));
    table.close();
    table.open();
    QCOMPARE(table.recordCount(), qsizetype(6));
}

void TestBadInput::writeWhileAnotherProgramReads() {
    TableFixture fx;
    SqliteDb other(tablesFilePath(fx.dir), false, 0);
    other.exec(QStringLiteral("BEGIN"));
    SqliteStatement reading(other, QStringLiteral("SELECT * FROM T"));
    QVERIFY(reading.step()); // holds a read lock
    Session session;
    session.setBusyTimeout(200);
    Table table(session, fx.dir, QStringLiteral("T"));
    table.open();
    table.append();
    table.fieldByName(QStringLiteral("code")).setAsInteger(40);
    try {
        table.post();
        // Rollback journal: a writer may add to the file while others read,
        // but it cannot commit until they are done.
        QFAIL("committed under a reader");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Locked);
    }
    QCOMPARE(table.state(), marubo::store::DataSetState::Insert);
    reading.reset();
    other.exec(QStringLiteral("COMMIT"));
    table.post(); // the row was kept and goes in now
    QCOMPARE(rowCount(fx.dir), qsizetype(7));
}

QTEST_GUILESS_MAIN(TestBadInput)
#include "tst_badinput.moc"
