#include "support/TestFolder.h"

#include "sample/SampleDataSets.h"
#include "store/Session.h"
#include "store/Table.h"

#include <QProcess>
#include <QtTest>

using marubo::test::TestFolder;

namespace {

struct Result {
    int exitCode = -1;
    QString out;
    QString err;
};

Result csvCommand(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(MARUBO_CSV_PATH), arguments);
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()).trimmed(),
            QString::fromUtf8(process.readAllStandardError())};
}

QStringList bumonRows(const QString& folder) {
    marubo::store::Session session;
    marubo::store::Table table(session, folder, QStringLiteral("Bumon"));
    table.open();
    QStringList rows;
    for (; !table.eof(); table.next()) {
        QStringList values;
        for (qsizetype i = 0; i < table.fieldCount(); ++i)
            values << table.field(i).asString();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

// The CSV exchange as its own process.
class TestCsvCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void exportThenImport();
    void spreadsheet();
    void failures_data();
    void failures();
};

void TestCsvCommand::exportThenImport() {
    TestFolder folder;
    const auto sample = marubo::sample::writeSampleDataSets(folder.path(), {});
    const QString file = folder.path() + QStringLiteral("/bumon.csv");
    const Result exported = csvCommand({"export", sample.bLevels[0], "Bumon", file});
    QCOMPARE(exported.exitCode, 0);
    QCOMPARE(exported.out, QStringLiteral("8")); // the title line and 7 sub-departments
    const QStringList before = bumonRows(sample.bLevels[0]);
    TestFolder::sql(sample.bLevels[1], {"DELETE FROM Bumon"});
    const Result imported = csvCommand({"import", sample.bLevels[1], "Bumon", file});
    QCOMPARE(imported.exitCode, 0);
    QCOMPARE(imported.out, QStringLiteral("7"));
    QCOMPARE(bumonRows(sample.bLevels[1]), before);
}

void TestCsvCommand::spreadsheet() {
    TestFolder folder;
    const auto sample = marubo::sample::writeSampleDataSets(folder.path(), {});
    const Result result = csvCommand({"xlsx", sample.bLevels[0], "Bumon"});
    QCOMPARE(result.exitCode, 0);
    QVERIFY(result.out.endsWith(QStringLiteral(".xlsx")));
    QVERIFY(QFileInfo(result.out).size() > 0);
    QFile::remove(result.out);
    QCOMPARE(csvCommand({"xlsx", sample.bLevels[0], "nosuch"}).exitCode, 1);
}

void TestCsvCommand::failures_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    QTest::newRow("no arguments") << QStringList{} << 2 << "使い方";
    QTest::newRow("unknown operation")
        << QStringList{"copy", "A", "Head", "x.csv"} << 2 << "使い方";
    QTest::newRow("missing table")
        << QStringList{"export", "B01", "nosuch", "x.csv"} << 1 << "nosuch";
    QTest::newRow("missing file") << QStringList{"import", "B01", "Bumon", "none.csv"} << 1
                                  << "ＣＳＶファイルが読み込みできません。";
    QTest::newRow("same rows again") << QStringList{"import", "B01", "Bumon", "self.csv"} << 1
                                     << "ＣＳＶ（1行目）を読み込みできません。";
}

void TestCsvCommand::failures() {
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    TestFolder folder;
    marubo::sample::writeSampleDataSets(folder.path(), {});
    QVERIFY(QDir::setCurrent(folder.path()));
    QCOMPARE(csvCommand({"export", "B01", "Bumon", "self.csv"}).exitCode, 0);
    const Result result = csvCommand(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QVERIFY2(result.err.contains(error), qPrintable(result.err));
}

QTEST_GUILESS_MAIN(TestCsvCommand)
#include "tst_csvcommand.moc"
