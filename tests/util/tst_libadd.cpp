#include "util/LibAdd.h"

#include <QtTest>

using namespace marubo;

class TestLibAdd : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void findPos_data();
    void findPos();
    void replaceAll_data();
    void replaceAll();
};

void TestLibAdd::findPos_data() {
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qsizetype>("expected");
    QTest::newRow("second place") << "bc"
                                  << "abcbc" << qsizetype(2);
    QTest::newRow("first character") << "a"
                                     << "abc" << qsizetype(1);
    QTest::newRow("empty search") << ""
                                  << "abc" << qsizetype(0);
    QTest::newRow("empty text") << "a"
                                << "" << qsizetype(0);
    QTest::newRow("case differs") << "A"
                                  << "abc" << qsizetype(0);
    QTest::newRow("not there") << "x"
                               << "abc" << qsizetype(0);
    QTest::newRow("japanese") << "集計"
                              << "階層集計" << qsizetype(3);
    QTest::newRow("tab") << "\t"
                         << "a\tb" << qsizetype(2);
}

void TestLibAdd::findPos() {
    QFETCH(QString, search);
    QFETCH(QString, text);
    QFETCH(qsizetype, expected);
    QCOMPARE(FindPos(search, text), expected);
}

void TestLibAdd::replaceAll_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");
    QTest::newRow("adjacent blanks") << "a  b"
                                     << " "
                                     << ","
                                     << "a,,b";
    QTest::newRow("formed again") << "aaaa"
                                  << "aa"
                                  << "a"
                                  << "a";
    QTest::newRow("formed with neighbour") << "aab"
                                           << "ab"
                                           << "b"
                                           << "b";
    QTest::newRow("tab to comma") << "a\tb\tc"
                                  << "\t"
                                  << ","
                                  << "a,b,c";
    QTest::newRow("blank marker") << "x y z"
                                  << " "
                                  << "!#$%&()=~|"
                                  << "x!#$%&()=~|y!#$%&()=~|z";
    QTest::newRow("marker back") << "x!#$%&()=~|y"
                                 << "!#$%&()=~|"
                                 << " "
                                 << "x y";
    QTest::newRow("empty search") << "abc"
                                  << ""
                                  << "x"
                                  << "abc";
    QTest::newRow("empty text") << ""
                                << "a"
                                << "x"
                                << "";
    QTest::newRow("no occurrence") << "abc"
                                   << "z"
                                   << "x"
                                   << "abc";
    QTest::newRow("replacement holds search") << "aa"
                                              << "a"
                                              << "aa"
                                              << "aaaa";
    QTest::newRow("to empty") << "a-b-c"
                              << "-"
                              << ""
                              << "abc";
}

void TestLibAdd::replaceAll() {
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    const QString before = text;
    QCOMPARE(ReplaceAll(text, search, replacement), expected);
    QCOMPARE(text, before);
}

QTEST_APPLESS_MAIN(TestLibAdd)
#include "tst_libadd.moc"
