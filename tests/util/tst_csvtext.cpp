#include "util/CsvText.h"

#include <QtTest>

using namespace marubo;

class TestCsvText : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitting_data();
    void splitting();
    void exportedLines_data();
    void exportedLines();
    void exportedValuesReadBack();
    void exportFile();
    void decoding_data();
    void decoding();
    void lines_data();
    void lines();
};

void TestCsvText::splitting_data() {
    QTest::addColumn<QString>("line");
    QTest::addColumn<QStringList>("values");
    QTest::newRow("plain") << "a,b,c" << QStringList{"a", "b", "c"};
    QTest::newRow("empty line") << "" << QStringList{};
    QTest::newRow("two commas") << "a,,b" << QStringList{"a", "", "b"};
    QTest::newRow("final comma") << "a,b," << QStringList{"a", "b", ""};
    QTest::newRow("quoted comma") << "\"x,y\",z" << QStringList{"x,y", "z"};
    QTest::newRow("tab separated, quoted commas") << "\"a,b\"\t\"c\"" << QStringList{"a,b", "c"};
    QTest::newRow("tab separated, bare comma") << "a,b\tc" << QStringList{"a", "b", "c"};
    QTest::newRow("spaces kept") << "\" a b \",c d" << QStringList{" a b ", "c d"};
    QTest::newRow("leading spaces kept") << "  a,b" << QStringList{"  a", "b"};
    QTest::newRow("marker text becomes a space") << "x!#$%&()=~|y" << QStringList{"x y"};
    QTest::newRow("space after closing quote") << "\"a\" ,b" << QStringList{"a", " ", "b"};
    QTest::newRow("doubled quotes")
        << "\"he said \"\"hi\"\"\",x" << QStringList{"he said \"hi\"", "x"};
    QTest::newRow("unclosed quote") << "\"abc,d" << QStringList{"abc,d"};
    QTest::newRow("text after closing quote") << "\"a\"b,c" << QStringList{"a", "b", "c"};
    QTest::newRow("control characters skipped") << "\x01\x02"
                                                   "a,\x03"
                                                   "b"
                                                << QStringList{"a", "b"};
    QTest::newRow("japanese") << "コード,部門名,データパス名"
                              << QStringList{"コード", "部門名", "データパス名"};
    QTest::newRow("empty quoted") << "\"\",\"\"" << QStringList{"", ""};
}

void TestCsvText::splitting() {
    QFETCH(QString, line);
    QFETCH(QStringList, values);
    QCOMPARE(splitCsvLine(line), values);
}

void TestCsvText::exportedLines_data() {
    QTest::addColumn<QList<CsvColumnValue>>("columns");
    QTest::addColumn<QString>("separator");
    QTest::addColumn<QString>("line");
    QTest::newRow("all columns") << QList<CsvColumnValue>{{0, "1"}, {1, "本部"}, {2, "B01/"}}
                                 << "\t"
                                 << "\"1\"\t\"本部\"\t\"B01/\"";
    QTest::newRow("first column hidden") << QList<CsvColumnValue>{{1, "本部"}, {2, "x"}} << "\t"
                                         << "\t\"本部\"\t\"x\"";
    QTest::newRow("column without a field")
        << QList<CsvColumnValue>{{0, "a"}, {1, std::nullopt}, {2, "c"}} << ","
        << "\"a\",,\"c\"";
    QTest::newRow("quote doubled") << QList<CsvColumnValue>{{0, "5\" disk"}} << ","
                                   << "\"5\"\" disk\"";
}

void TestCsvText::exportedLines() {
    QFETCH(QList<CsvColumnValue>, columns);
    QFETCH(QString, separator);
    QFETCH(QString, line);
    QCOMPARE(csvLine(columns, separator), line);
}

void TestCsvText::exportedValuesReadBack() {
    const QStringList values{"5\" disk", "a, b", " spaced ", "", "部門\"名\""};
    QList<CsvColumnValue> columns;
    for (qsizetype i = 0; i < values.size(); ++i)
        columns << CsvColumnValue{i, values[i]};
    QCOMPARE(splitCsvLine(csvLine(columns, QStringLiteral("\t"))), values);
    QCOMPARE(trimControl(QStringLiteral("\t  値 \r\n")), QStringLiteral("値"));
    QCOMPARE(trimControl(QStringLiteral(" \t ")), QString());
}

void TestCsvText::exportFile() {
    const QByteArray bytes = encodeCsvFile({QStringLiteral("\"a\""), QStringLiteral("\"部\"")});
    QCOMPARE(bytes.left(2), QByteArray("\xFF\xFE", 2));
    QCOMPARE(bytes.mid(2, 6), QByteArray("\"\0a\0\"\0", 6));
    QVERIFY(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
    QCOMPARE(decodeCsvFile(bytes), std::optional<QString>(QStringLiteral("\"a\"\r\n\"部\"\r\n")));
    QCOMPARE(encodeCsvFile({}), QByteArray("\xFF\xFE", 2));
}

void TestCsvText::decoding_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<bool>("readable");
    QTest::addColumn<QString>("text");
    const QString text = QStringLiteral("code,部門名～");
    QTest::newRow("utf-8 with mark") << QByteArray("\xEF\xBB\xBF") + text.toUtf8() << true << text;
    QTest::newRow("utf-8 without mark") << text.toUtf8() << true << text;
    QStringEncoder little(QStringEncoder::Utf16LE), big(QStringEncoder::Utf16BE);
    QTest::newRow("utf-16le") << QByteArray("\xFF\xFE") + QByteArray(little.encode(text)) << true
                              << text;
    QTest::newRow("utf-16be") << QByteArray("\xFE\xFF") + QByteArray(big.encode(text)) << true
                              << text;
    // 部門名 and the full-width tilde in Windows-31J (the tilde is 81 60 there).
    QTest::newRow("windows-31j") << QByteArray("code,\x95\x94\x96\xE5\x96\xBC\x81\x60") << true
                                 << text;
    // Without a mark: told by the zero bytes of the ASCII characters.
    QTest::newRow("utf-16le without mark") << QByteArray(little.encode(text)) << true << text;
    QTest::newRow("utf-16be without mark") << QByteArray(big.encode(text)) << true << text;
    const QString lines = QStringLiteral("\"コード\"\t\"部門名\"\r\n\"1\"\t\"本部\u3000一課\"\r\n");
    QTest::newRow("utf-16le lines with zero low bytes (U+3000, U+4E00)")
        << QByteArray(little.encode(lines)) << true << lines;
    QTest::newRow("utf-16le cut short")
        << QByteArray(little.encode(text)).chopped(1) << false << QString();
    QTest::newRow("utf-8 with a zero byte")
        << QByteArray("code,name\r\n1,\0x\r\n", 16) << false << QString();
    QTest::newRow("zero bytes in no pattern")
        << QByteArray("PK\x03\x04\x14\0\0\0\x08\0\0\0!\0", 16) << false << QString();
    QTest::newRow("zero pairs in utf-16 order")
        << QByteArray("a\0b\0\0\0c\0", 8) << false << QString();
    QTest::newRow("not text") << QByteArray("\x81\x20\xFF\xFF\xFE", 5) << false << QString();
    QTest::newRow("empty") << QByteArray() << true << QString();
}

void TestCsvText::decoding() {
    QFETCH(QByteArray, bytes);
    QFETCH(bool, readable);
    QFETCH(QString, text);
    const std::optional<QString> decoded = decodeCsvFile(bytes);
    QCOMPARE(decoded.has_value(), readable);
    if (readable)
        QCOMPARE(*decoded, text);
}

void TestCsvText::lines_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("mixed ends") << "a\r\nb\nc\rd" << QStringList{"a", "b", "c", "d"};
    QTest::newRow("final break") << "a\r\n" << QStringList{"a"};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("only a break") << "\r\n" << QStringList{""};
    QTest::newRow("empty line inside") << "a\n\nb" << QStringList{"a", "", "b"};
}

void TestCsvText::lines() {
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitTextLines(text), lines);
}

QTEST_APPLESS_MAIN(TestCsvText)
#include "tst_csvtext.moc"
