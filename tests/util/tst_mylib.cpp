#include "util/Mylib.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtTest>

using namespace marubo;

// Paths are given relative to a scratch folder, with "/" standing for the
// native separator.
class TestMylib : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void makeDirPath_data();
    void makeDirPath();
    void relativePathUnderCurrentDirectory();
};

void TestMylib::makeDirPath_data() {
    QTest::addColumn<QStringList>("existing");
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("result");
    QTest::addColumn<QStringList>("existAfter");
    QTest::addColumn<QStringList>("missingAfter");
    QTest::newRow("two levels") << QStringList() << "A/B/" << true << QStringList{"A", "A/B"}
                                << QStringList();
    QTest::newRow("no final separator")
        << QStringList() << "A/B" << true << QStringList{"A"} << QStringList{"A/B"};
    QTest::newRow("all exist") << QStringList{"A/B"} << "A/B/" << false << QStringList{"A/B"}
                               << QStringList();
    QTest::newRow("last missing") << QStringList{"A"} << "A/B/" << true << QStringList{"A/B"}
                                  << QStringList();
    // A name longer than the file system allows cannot be made; its parent can.
    QTest::newRow("last one invalid") << QStringList() << "A/" + QString(300, u'x') + "/" << true
                                      << QStringList{"A"} << QStringList{"A/" + QString(300, u'x')};
    QTest::newRow("japanese names") << QStringList() << "会計/2017/" << true
                                    << QStringList{"会計", "会計/2017"} << QStringList();
}

void TestMylib::makeDirPath() {
    QFETCH(QStringList, existing);
    QFETCH(QString, path);
    QFETCH(bool, result);
    QFETCH(QStringList, existAfter);
    QFETCH(QStringList, missingAfter);
    QTemporaryDir scratch;
    QDir root(scratch.path());
    for (const QString& folder : existing)
        QVERIFY(root.mkpath(folder));
    const QString full = QDir::toNativeSeparators(root.path() + QLatin1Char('/') + path);
    const QString copy = full;
    QCOMPARE(MakeDirPath(full), result);
    QCOMPARE(full, copy);
    for (const QString& folder : existAfter)
        QVERIFY2(QFileInfo(root.filePath(folder)).isDir(), qPrintable(folder));
    for (const QString& folder : missingAfter)
        QVERIFY2(!QFileInfo::exists(root.filePath(folder)), qPrintable(folder));
}

void TestMylib::relativePathUnderCurrentDirectory() {
    QTemporaryDir scratch;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(scratch.path()));
    const bool created = MakeDirPath(QStringLiteral("WKData") + QDir::separator());
    const bool second = MakeDirPath(QStringLiteral("WKData") + QDir::separator());
    const bool noSeparator = MakeDirPath(QStringLiteral("plain"));
    QDir::setCurrent(before);
    QVERIFY(created);
    QVERIFY(!second);
    QVERIFY(!noSeparator);
    QVERIFY(QFileInfo(scratch.filePath(QStringLiteral("WKData"))).isDir());
    QVERIFY(!QFileInfo::exists(scratch.filePath(QStringLiteral("plain"))));
}

QTEST_APPLESS_MAIN(TestMylib)
#include "tst_mylib.moc"
