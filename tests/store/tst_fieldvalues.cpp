#include "store/EngineError.h"
#include "store/FieldDef.h"

#include <QtTest>

using namespace marubo::store;

// The value rules of the fields: what an assignment stores and what a reader gives.
class TestFieldValues : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void declaredTypes_data();
    void declaredTypes();
    void assignment_data();
    void assignment();
    void refusedAssignment_data();
    void refusedAssignment();
    void readers_data();
    void readers();
    void roundsHalfToEven_data();
    void roundsHalfToEven();
};

void TestFieldValues::declaredTypes_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<int>("type");
    QTest::addColumn<int>("size");
    QTest::newRow("varchar") << "VARCHAR(40)" << int(FieldType::String) << 40;
    QTest::newRow("char") << "CHAR(5)" << int(FieldType::FixedChar) << 5;
    QTest::newRow("character") << "CHARACTER(100)" << int(FieldType::FixedChar) << 100;
    QTest::newRow("smallint") << "SMALLINT" << int(FieldType::SmallInt) << 0;
    QTest::newRow("integer") << "INTEGER" << int(FieldType::Integer) << 0;
    QTest::newRow("autoinc") << "AUTOINC" << int(FieldType::AutoInc) << 0;
    QTest::newRow("money") << "MONEY" << int(FieldType::Money) << 0;
    QTest::newRow("float") << "FLOAT" << int(FieldType::Float) << 0;
    QTest::newRow("date") << "DATE" << int(FieldType::Date) << 0;
    QTest::newRow("boolean") << "BOOLEAN" << int(FieldType::Boolean) << 0;
    QTest::newRow("lower case") << "varchar(3)" << int(FieldType::String) << 3;
    QTest::newRow("other program's text") << "TEXT" << int(FieldType::String) << 0;
    QTest::newRow("other program's blob") << "BLOB" << int(FieldType::Blob) << 0;
}

void TestFieldValues::declaredTypes() {
    QFETCH(QString, declared);
    QFETCH(int, type);
    QFETCH(int, size);
    const FieldDef def = fieldDefFromDeclaration(QStringLiteral("f"), declared);
    QCOMPARE(int(def.type), type);
    QCOMPARE(def.size, size);
    QCOMPARE(def.declaredType, declared);
}

void TestFieldValues::assignment_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QVariant>("input");
    QTest::addColumn<QVariant>("stored");
    QTest::newRow("empty text in text field is null")
        << "VARCHAR(10)" << QVariant(QString()) << QVariant();
    QTest::newRow("empty text in integer field is null")
        << "INTEGER" << QVariant(QStringLiteral("")) << QVariant();
    QTest::newRow("empty text in money field is null")
        << "MONEY" << QVariant(QStringLiteral("")) << QVariant();
    QTest::newRow("empty text in date field is null")
        << "DATE" << QVariant(QStringLiteral("")) << QVariant();
    QTest::newRow("text cut to size") << "VARCHAR(3)" << QVariant(QStringLiteral("会計ソフト"))
                                      << QVariant(QStringLiteral("会計ソ"));
    QTest::newRow("number text to integer")
        << "SMALLINT" << QVariant(QStringLiteral(" 12 ")) << QVariant(qint64(12));
    QTest::newRow("float to integer rounds half even")
        << "INTEGER" << QVariant(2.5) << QVariant(qint64(2));
    QTest::newRow("integer to money") << "MONEY" << QVariant(qint64(100)) << QVariant(100.0);
    QTest::newRow("text to money")
        << "MONEY" << QVariant(QStringLiteral("-12.25")) << QVariant(-12.25);
    QTest::newRow("date text with slashes")
        << "DATE" << QVariant(QStringLiteral("2017/4/1")) << QVariant(QDate(2017, 4, 1));
    QTest::newRow("date text iso")
        << "DATE" << QVariant(QStringLiteral("2018-03-31")) << QVariant(QDate(2018, 3, 31));
    QTest::newRow("boolean text") << "BOOLEAN" << QVariant(QStringLiteral("True"))
                                  << QVariant(true);
    QTest::newRow("boolean number") << "BOOLEAN" << QVariant(qint64(0)) << QVariant(false);
    QTest::newRow("number into text")
        << "VARCHAR(10)" << QVariant(qint64(42)) << QVariant(QStringLiteral("42"));
    QTest::newRow("smallint low end")
        << "SMALLINT" << QVariant(qint64(-32768)) << QVariant(qint64(-32768));
    QTest::newRow("integer high end")
        << "INTEGER" << QVariant(qint64(2147483647)) << QVariant(qint64(2147483647));
}

void TestFieldValues::assignment() {
    QFETCH(QString, declared);
    QFETCH(QVariant, input);
    QFETCH(QVariant, stored);
    const FieldDef def = fieldDefFromDeclaration(QStringLiteral("f"), declared);
    const QVariant actual = coerceValue(def, input, QStringLiteral("T"));
    QCOMPARE(actual.isValid(), stored.isValid());
    if (stored.isValid())
        QCOMPARE(actual, stored);
}

void TestFieldValues::refusedAssignment_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QVariant>("input");
    QTest::newRow("letters in integer") << "INTEGER" << QVariant(QStringLiteral("12a"));
    QTest::newRow("fraction text in integer") << "INTEGER" << QVariant(QStringLiteral("1.5"));
    QTest::newRow("smallint too big") << "SMALLINT" << QVariant(qint64(32768));
    QTest::newRow("integer too big") << "INTEGER" << QVariant(qint64(2147483648LL));
    QTest::newRow("letters in money") << "MONEY" << QVariant(QStringLiteral("abc"));
    QTest::newRow("not a date") << "DATE" << QVariant(QStringLiteral("2017/13/45"));
    QTest::newRow("not a boolean") << "BOOLEAN" << QVariant(QStringLiteral("maybe"));
}

void TestFieldValues::refusedAssignment() {
    QFETCH(QString, declared);
    QFETCH(QVariant, input);
    const FieldDef def = fieldDefFromDeclaration(QStringLiteral("金額"), declared);
    try {
        coerceValue(def, input, QStringLiteral("Mkamoku"));
        QFAIL("no error");
    } catch (const EngineError& error) {
        QCOMPARE(error.kind(), EngineError::Kind::Conversion);
        QVERIFY(error.message().contains(QStringLiteral("Mkamoku")));
        QVERIFY(error.message().contains(QStringLiteral("金額")));
    }
}

void TestFieldValues::readers_data() {
    QTest::addColumn<QString>("declared");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<qint64>("integer");
    QTest::addColumn<double>("number");
    QTest::newRow("null text") << "VARCHAR(5)" << QVariant() << "" << qint64(0) << 0.0;
    QTest::newRow("null money") << "MONEY" << QVariant() << "" << qint64(0) << 0.0;
    QTest::newRow("integer") << "INTEGER" << QVariant(qint64(-7)) << "-7" << qint64(-7) << -7.0;
    QTest::newRow("money with fraction")
        << "MONEY" << QVariant(1234.5) << "1234.5" << qint64(1234) << 1234.5;
    QTest::newRow("money half up to even") << "MONEY" << QVariant(1.5) << "1.5" << qint64(2) << 1.5;
    QTest::newRow("large money") << "MONEY" << QVariant(3000000000.0) << "3000000000"
                                 << qint64(3000000000LL) << 3000000000.0;
    QTest::newRow("number text") << "VARCHAR(5)" << QVariant(QStringLiteral("12")) << "12"
                                 << qint64(12) << 12.0;
    QTest::newRow("boolean") << "BOOLEAN" << QVariant(true) << "True" << qint64(1) << 1.0;
}

void TestFieldValues::readers() {
    QFETCH(QString, declared);
    QFETCH(QVariant, value);
    QFETCH(QString, text);
    QFETCH(qint64, integer);
    QFETCH(double, number);
    const FieldDef def = fieldDefFromDeclaration(QStringLiteral("f"), declared);
    QCOMPARE(valueAsString(def, value), text);
    QCOMPARE(valueAsInteger(def, value, QStringLiteral("T")), integer);
    QCOMPARE(valueAsFloat(def, value, QStringLiteral("T")), number);
}

void TestFieldValues::roundsHalfToEven_data() {
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("-1.5") << -1.5 << -2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("2.4999") << 2.4999 << 2.0;
    QTest::newRow("2.5001") << 2.5001 << 3.0;
    QTest::newRow("-0.4") << -0.4 << 0.0;
}

void TestFieldValues::roundsHalfToEven() {
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(roundHalfEven(value), rounded);
}

QTEST_APPLESS_MAIN(TestFieldValues)
#include "tst_fieldvalues.moc"
