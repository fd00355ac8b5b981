#include "support/TestFolder.h"

#include "sample/SampleDataSets.h"
#include "store/DataSetFile.h"

#include <QProcess>
#include <QtTest>

using marubo::test::TestFolder;

namespace {

struct Result {
    int exitCode = -1;
    QStringList out;
    QStringList err;
};

Result mergeCommand(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(MARUBO_MERGE_PATH), arguments);
    process.waitForFinished(120000);
    Result result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput())
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    result.err = QString::fromUtf8(process.readAllStandardError())
                     .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return result;
}

void setPassWord(const QString& folder, const QString& passWord) {
    TestFolder::sql(folder, {QStringLiteral("UPDATE Head SET PassWord = '%1'").arg(passWord)});
}

} // namespace

// The batch merge command, run as its own process.
class TestMergeCommand : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mergesTheSample();
    void stops_data();
    void stops();
    void argumentsAndHelp();
};

void TestMergeCommand::mergesTheSample() {
    TestFolder folder;
    const auto sample = marubo::sample::writeSampleDataSets(folder.path(), {});
    const QString start = folder.sub(QStringLiteral("start"));
    const Result first = mergeCommand({QStringLiteral("--workdir"), start, sample.aLevel});
    QCOMPARE(first.exitCode, 0);
    QCOMPARE(first.out.size(), 1);
    QVERIFY(
        first.out.last().startsWith(QStringLiteral("集計処理が完了しました。集計レコード数【")));
    QCOMPARE(first.err, (QStringList{"部門 1/4", "部門 2/4", "部門 3/4", "部門 4/4"}));
    QVERIFY(QFileInfo::exists(marubo::store::tablesFilePath(start + QStringLiteral("/WKData"))));
    QVERIFY(QFileInfo::exists(marubo::store::tablesFilePath(start))); // the remembered path
    // The same data merged again gives the same count.
    const Result second = mergeCommand({QStringLiteral("--workdir"), start, sample.aLevel});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.out, first.out);
}

void TestMergeCommand::stops_data() {
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");
    QTest::newRow("not a data folder")
        << "plain" << 1
        << "指定した保存先は、この会計のデータディレクトリではありませんのでご確認ください。";
    QTest::newRow("another product")
        << "password" << 1 << "この部門は他の会計ソフトのデータなので閉業処理ができません。";
    QTest::newRow("missing department list") << "no BUMON" << 2 << "BUMON";
}

void TestMergeCommand::stops() {
    QFETCH(QString, situation);
    QFETCH(int, exitCode);
    QFETCH(QString, output);
    TestFolder folder;
    const auto sample = marubo::sample::writeSampleDataSets(folder.path(), {});
    QString aLevel = sample.aLevel;
    if (situation == u"plain")
        aLevel = folder.sub(QStringLiteral("plain"));
    else if (situation == u"password")
        setPassWord(sample.bLevels[1], QStringLiteral("other"));
    else
        TestFolder::sql(sample.aLevel, {QStringLiteral("DROP TABLE BUMON")});
    const Result result =
        mergeCommand({QStringLiteral("--workdir"), folder.sub(QStringLiteral("start")), aLevel});
    QCOMPARE(result.exitCode, exitCode);
    const QString text = (exitCode == 2 ? result.err : result.out).join(QLatin1Char('\n'));
    QVERIFY2(text.contains(output), qPrintable(text));
}

void TestMergeCommand::argumentsAndHelp() {
    QCOMPARE(mergeCommand({}).exitCode, 2);
    QCOMPARE(mergeCommand({QStringLiteral("--workdir"), QStringLiteral("/nonexistent/x"),
                           QStringLiteral("a")})
                 .exitCode,
             2);
    const Result help = mergeCommand({QStringLiteral("--help")});
    QCOMPARE(help.exitCode, 0);
    QVERIFY(help.out.join(QLatin1Char('\n')).contains(QStringLiteral("A階層")));
}

QTEST_GUILESS_MAIN(TestMergeCommand)
#include "tst_mergecommand.moc"
