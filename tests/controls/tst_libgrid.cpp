#include <QtTest>

class Test_libgrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void placeholder() { QVERIFY(true); }
};

QTEST_MAIN(Test_libgrid)
#include "tst_libgrid.moc"
