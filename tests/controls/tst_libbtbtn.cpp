#include <QtTest>

class Test_libbtbtn : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() { QVERIFY(true); }
};

QTEST_MAIN(Test_libbtbtn)
#include "tst_libbtbtn.moc"
