#include "Recording.h"
#include "ZipReader.h"
#include "support/TestFolder.h"

#include "controls/sheet/SheetApplication.h"
#include "controls/sheet/SheetCopy.h"
#include "controls/sheet/SheetModel.h"
#include "controls/sheet/XlsxOutput.h"
#include "util/CsvText.h"

#include <QApplication>
#include <QDir>
#include <QDomDocument>
#include <QFile>
#include <QtTest>

using namespace marubo::sheet;
using marubo::test::ReadOnlyGuard;
using marubo::test::RecordedErrors;
using marubo::test::TestFolder;

namespace {

const QString kCopyFailed = QStringLiteral("Ｅｘｃｅｌ出力中にエラーが発生しました。");

// An .xlsx file read back: its parts as XML, the cells of its one sheet and
// the look each cell was given.
class Xlsx {
public:
    explicit Xlsx(const QString& path) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return;
        const auto files = marubo::test::readZip(file.readAll());
        if (!files)
            return;
        files_ = *files;
        ok_ = true;
        const QDomDocument strings = xml(QStringLiteral("xl/sharedStrings.xml"));
        const QDomNodeList items = strings.elementsByTagName(QStringLiteral("si"));
        for (int i = 0; i < items.size(); ++i)
            strings_ << items.at(i).toElement().text();
        sheet_ = xml(QStringLiteral("xl/worksheets/sheet1.xml"));
        styles_ = xml(QStringLiteral("xl/styles.xml"));
    }

    bool ok() const { return ok_; }

    QDomDocument xml(const QString& part) const {
        QDomDocument document;
        document.setContent(files_.value(part));
        return document;
    }

    QString sheetName() const {
        return xml(QStringLiteral("xl/workbook.xml"))
            .elementsByTagName(QStringLiteral("sheet"))
            .at(0)
            .toElement()
            .attribute(QStringLiteral("name"));
    }

    // The cell element at `ref` ("B2"); null when the file has none there.
    QDomElement cell(const QString& ref) const {
        const QDomNodeList cells = sheet_.elementsByTagName(QStringLiteral("c"));
        for (int i = 0; i < cells.size(); ++i) {
            const QDomElement c = cells.at(i).toElement();
            if (c.attribute(QStringLiteral("r")) == ref)
                return c;
        }
        return {};
    }

    // The text of a string cell, or the number of a number cell as written.
    QString value(const QString& ref) const {
        const QDomElement c = cell(ref);
        const QString v = c.firstChildElement(QStringLiteral("v")).text();
        if (c.attribute(QStringLiteral("t")) == u"s")
            return strings_.value(v.toInt());
        return v;
    }
    QString type(const QString& ref) const { return cell(ref).attribute(QStringLiteral("t")); }

    // The look of a cell: its entry in the cell formats and the parts it names.
    QDomElement xf(const QString& ref) const {
        return nth(styles_.elementsByTagName(QStringLiteral("cellXfs")).at(0).toElement(),
                   QStringLiteral("xf"), cell(ref).attribute(QStringLiteral("s")).toInt());
    }
    QString numberFormat(const QString& ref) const {
        return xf(ref).attribute(QStringLiteral("numFmtId"));
    }
    // The format text of a cell's number format of its own; empty for a built-in one.
    QString formatCode(const QString& ref) const {
        const QDomNodeList formats = styles_.elementsByTagName(QStringLiteral("numFmt"));
        for (int i = 0; i < formats.size(); ++i) {
            const QDomElement format = formats.at(i).toElement();
            if (format.attribute(QStringLiteral("numFmtId")) == numberFormat(ref))
                return format.attribute(QStringLiteral("formatCode"));
        }
        return QString();
    }
    QDomElement font(const QString& ref) const { return part(ref, "fonts", "font", "fontId"); }
    QDomElement fill(const QString& ref) const { return part(ref, "fills", "fill", "fillId"); }
    QDomElement border(const QString& ref) const {
        return part(ref, "borders", "border", "borderId");
    }
    // "thin FFFF0000" for a border side ("left", "top", …); empty for none.
    QString side(const QString& ref, const QString& which) const {
        const QDomElement e = border(ref).firstChildElement(which);
        if (!e.hasAttribute(QStringLiteral("style")))
            return QString();
        return e.attribute(QStringLiteral("style")) + QLatin1Char(' ') +
               e.firstChildElement(QStringLiteral("color")).attribute(QStringLiteral("rgb"));
    }
    // The fill colour, or empty when there is no solid fill.
    QString fillColour(const QString& ref) const {
        const QDomElement pattern = fill(ref).firstChildElement(QStringLiteral("patternFill"));
        if (pattern.attribute(QStringLiteral("patternType")) != u"solid")
            return QString();
        return pattern.firstChildElement(QStringLiteral("fgColor"))
            .attribute(QStringLiteral("rgb"));
    }

    // Column widths as the file holds them, by 1-based column.
    QMap<int, double> widths() const {
        QMap<int, double> result;
        const QDomNodeList cols = sheet_.elementsByTagName(QStringLiteral("col"));
        for (int i = 0; i < cols.size(); ++i) {
            const QDomElement col = cols.at(i).toElement();
            if (col.attribute(QStringLiteral("customWidth")) != u"1")
                continue;
            const int min = col.attribute(QStringLiteral("min")).toInt();
            const int max = col.attribute(QStringLiteral("max")).toInt();
            for (int c = min; c <= max && c <= 100; ++c)
                result.insert(c, col.attribute(QStringLiteral("width")).toDouble());
        }
        return result;
    }
    QString orientation() const {
        return sheet_.elementsByTagName(QStringLiteral("pageSetup"))
            .at(0)
            .toElement()
            .attribute(QStringLiteral("orientation"));
    }
    QString header() const {
        return sheet_.elementsByTagName(QStringLiteral("oddHeader")).at(0).toElement().text();
    }

private:
    static QDomElement nth(const QDomElement& parent, const QString& tag, int n) {
        QDomElement e = parent.firstChildElement(tag);
        for (int i = 0; i < n && !e.isNull(); ++i)
            e = e.nextSiblingElement(tag);
        return e;
    }
    QDomElement part(const QString& ref, const char* list, const char* tag, const char* id) const {
        return nth(styles_.elementsByTagName(QString::fromLatin1(list)).at(0).toElement(),
                   QString::fromLatin1(tag), xf(ref).attribute(QString::fromLatin1(id)).toInt());
    }

    bool ok_ = false;
    QMap<QString, QByteArray> files_;
    QStringList strings_;
    QDomDocument sheet_;
    QDomDocument styles_;
};

// The export of a grid whose first column (a code) is hidden and whose last
// column is hidden and has no field: every line starts with the separator,
// and the grid has five columns where the file has four.
const QStringList kExport = {
    QStringLiteral("\t\"名前\"\t\"No.\"\t\"金額\""),
    QStringLiteral("\t\"山田太郎\"\t\"001\"\t\"1,234,567\""),
    QStringLiteral("\t\"佐藤\"\t\"2\"\t\"-500\""),
    QStringLiteral("\t\"Smith \"\"Jr.\"\"\"\t\"3\"\t\"0.50\""),
};

// The in-process spreadsheet in a table of our own, files shown to a list.
struct Sheets {
    TestFolder folder;
    QString dir = folder.sub(QStringLiteral("csv"));
    QString csv = QDir(dir).filePath(QStringLiteral("TMP$$$.CSV"));
    QString xlsx = QDir(dir).filePath(QStringLiteral("TMP$$$.xlsx"));
    AutomationClasses classes;
    QStringList shown;
    QList<int> cursorsWhileShown; // the override cursor's shape, -1 for none
    bool opens = true;            // whether a program opens the file
    RecordedErrors boxes;
    QWidget container;

    Sheets() {
        registerSpreadsheetApplication(classes, [this](const QString& path) {
            shown << path;
            const QCursor* cursor = QApplication::overrideCursor();
            cursorsWhileShown << (cursor ? int(cursor->shape()) : -1);
            return opens;
        });
    }

    void writeCsv(const QStringList& lines = kExport) const {
        QFile file(csv);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(marubo::encodeCsvFile(lines));
    }

    static SheetCopySettings settings() {
        SheetCopySettings s;
        s.lastColumn = 4;
        s.sheetName = QStringLiteral("集計");
        s.cellFont = QFont(QStringLiteral("Noto Sans CJK JP"));
        s.cellFont.setPointSize(11);
        s.cellFont.setBold(true);
        s.cellFontColor = 0x000080; // dark red
        s.cellBorderWeight = 2;
        s.cellBorderColor = 0x0000FF; // red
        s.cellTitleColor = 0xCCFFFF;  // light yellow
        s.landscape = true;
        return s;
    }

    bool copy(SheetCopySettings s = settings(), int lines = 4) {
        s.csvPath = csv;
        SheetCopyHooks hooks;
        hooks.copyCsvFile = [lines] { return lines; }; // the file is written beforehand
        hooks.container = &container;
        hooks.boxes = &boxes;
        hooks.classes = &classes;
        return CopyExcel(s, hooks);
    }
};

} // namespace

class TestSheetXlsx : public QObject {
    Q_OBJECT

private slots:
    void copyWritesTheFormattedSheet();
    void secondCopyAttachesToTheInstance();
    void sheetName_data();
    void sheetName();
    void withoutAutoFitColumnsKeepTheirWidth();
    void unwritableFolderFailsTheCopy();
    void unreadableCsvFailsTheCopy();
    void fileNothingOpensFailsTheCopy();

    void csvReading_data();
    void csvReading();
    void colours_data();
    void colours();
    void textWidth_data();
    void textWidth();
    void rangeAddresses_data();
    void rangeAddresses();
    void refusedSettings_data();
    void refusedSettings();
    void quitInstanceLeavesTheRunningTable();
};

void TestSheetXlsx::copyWritesTheFormattedSheet() {
    Sheets sheets;
    sheets.writeCsv();
    QVERIFY(sheets.copy());
    QVERIFY(sheets.boxes.errors.isEmpty());
    QCOMPARE(sheets.shown, QStringList{sheets.xlsx});
    // The wait cursor is up while the file is written and handed on, then gone.
    QCOMPARE(sheets.cursorsWhileShown, QList<int>{Qt::WaitCursor});
    QVERIFY(!QApplication::overrideCursor());

    const Xlsx file(sheets.xlsx);
    QVERIFY(file.ok());
    QCOMPARE(file.sheetName(), QStringLiteral("集計"));
    QCOMPARE(file.header(), QStringLiteral("&C&A"));
    QCOMPARE(file.orientation(), QStringLiteral("landscape"));

    // Values: texts, and numbers where the text is one (codes with leading
    // zeros stay texts).
    QCOMPARE(file.value(QStringLiteral("B1")), QStringLiteral("名前"));
    QCOMPARE(file.value(QStringLiteral("C1")), QStringLiteral("No."));
    QCOMPARE(file.value(QStringLiteral("B2")), QStringLiteral("山田太郎"));
    QCOMPARE(file.value(QStringLiteral("B4")), QStringLiteral("Smith \"Jr.\""));
    QCOMPARE(file.type(QStringLiteral("C2")), QStringLiteral("s"));
    QCOMPARE(file.value(QStringLiteral("C2")), QStringLiteral("001"));
    QCOMPARE(file.type(QStringLiteral("C3")), QString());
    QCOMPARE(file.value(QStringLiteral("C3")), QStringLiteral("2"));
    QCOMPARE(file.value(QStringLiteral("D2")), QStringLiteral("1234567"));
    QCOMPARE(file.value(QStringLiteral("D3")), QStringLiteral("-500"));
    QCOMPARE(file.value(QStringLiteral("D4")), QStringLiteral("0.5"));

    // Borders around every cell of A1:E4, the hidden columns' cells included.
    for (const QString& ref : {QStringLiteral("A1"), QStringLiteral("B2"), QStringLiteral("E1"),
                               QStringLiteral("E4"), QStringLiteral("A4")}) {
        for (const QString& side : {QStringLiteral("left"), QStringLiteral("right"),
                                    QStringLiteral("top"), QStringLiteral("bottom")})
            QCOMPARE(file.side(ref, side), QStringLiteral("thin FFFF0000"));
    }
    QCOMPARE(file.side(QStringLiteral("C5"), QStringLiteral("left")), QString());
    QVERIFY(file.cell(QStringLiteral("F1")).isNull());

    // The title row filled across all columns, the data rows not.
    QCOMPARE(file.fillColour(QStringLiteral("A1")), QStringLiteral("FFFFFFCC"));
    QCOMPARE(file.fillColour(QStringLiteral("E1")), QStringLiteral("FFFFFFCC"));
    QCOMPARE(file.fillColour(QStringLiteral("B2")), QString());

    // The font of every cell.
    for (const QString& ref : {QStringLiteral("B1"), QStringLiteral("D3"), QStringLiteral("C5")}) {
        const QDomElement font = file.font(ref);
        QCOMPARE(font.firstChildElement(QStringLiteral("name")).attribute(QStringLiteral("val")),
                 QStringLiteral("Noto Sans CJK JP"));
        QCOMPARE(font.firstChildElement(QStringLiteral("sz")).attribute(QStringLiteral("val")),
                 QStringLiteral("11"));
        QVERIFY(!font.firstChildElement(QStringLiteral("b")).isNull());
        QVERIFY(font.firstChildElement(QStringLiteral("i")).isNull());
        QCOMPARE(font.firstChildElement(QStringLiteral("color")).attribute(QStringLiteral("rgb")),
                 QStringLiteral("FF800000"));
    }

    // Number format 64 from row 2 to one row below the last record, in the
    // column whose title ends in a full stop only.
    for (int row = 2; row <= 5; ++row)
        QCOMPARE(file.numberFormat(QStringLiteral("C%1").arg(row)), QStringLiteral("64"));
    QCOMPARE(file.numberFormat(QStringLiteral("C1")), QStringLiteral("0"));
    QCOMPARE(file.numberFormat(QStringLiteral("B2")), QStringLiteral("0"));
    QVERIFY(file.cell(QStringLiteral("B5")).isNull());
    QCOMPARE(file.formatCode(QStringLiteral("D2")), QStringLiteral("#,##0")); // as it was read
    QCOMPARE(file.formatCode(QStringLiteral("D4")), QStringLiteral("0.00"));
    QCOMPARE(file.formatCode(QStringLiteral("C2")), QString());

    // Widths fitted to the texts, full-width characters counting double;
    // empty columns keep the default width.
    const QMap<int, double> widths = file.widths();
    QVERIFY(!widths.contains(1));
    QVERIFY(!widths.contains(5));
    QCOMPARE(widths.keys(), (QList<int>{2, 3, 4}));
    // The widest texts: Smith "Jr." (11), No. (3), 1,234,567 (9); one more
    // for the room around the text, and the file's own padding below 1.
    const QList<double> units = {11, 3, 9};
    for (int i = 0; i < 3; ++i) {
        const double width = widths[i + 2];
        QVERIFY2(width >= units[i] + 1 && width < units[i] + 2, qPrintable(QString::number(width)));
    }
}

void TestSheetXlsx::secondCopyAttachesToTheInstance() {
    Sheets sheets;
    sheets.writeCsv();
    QVERIFY(sheets.copy());
    const ObjectRef running = sheets.classes.getActiveObject(kSpreadsheetClass);
    QCOMPARE(running->get(QStringLiteral("Visible")), QVariant(true));
    QCOMPARE(running->get(QStringLiteral("WindowState")).toInt(), -4143); // as started

    sheets.writeCsv({kExport[0], kExport[1]});
    SheetCopySettings settings = Sheets::settings();
    settings.landscape = false;
    settings.cellBorderColor = 0; // black
    QVERIFY(sheets.copy(settings, 2));
    QCOMPARE(sheets.classes.getActiveObject(kSpreadsheetClass), running);
    QCOMPARE(running->get(QStringLiteral("WindowState")).toInt(), 1);
    QCOMPARE(sheets.shown, (QStringList{sheets.xlsx, sheets.xlsx}));
    // Only the CSV file's book stays open: the earlier one was closed.
    QCOMPARE(getObject(*running, QStringLiteral("Workbooks"))->get(QStringLiteral("Count")), 1);

    const Xlsx file(sheets.xlsx);
    QVERIFY(file.ok());
    QCOMPARE(file.value(QStringLiteral("B2")), QStringLiteral("山田太郎"));
    QVERIFY(file.cell(QStringLiteral("B3")).isNull());
    // Full-width characters count double: 山田太郎 is 8 wide.
    QVERIFY(file.widths()[2] >= 9 && file.widths()[2] < 10);
    QCOMPARE(file.orientation(), QString()); // portrait is the default
    QCOMPARE(file.side(QStringLiteral("B2"), QStringLiteral("top")),
             QStringLiteral("thin FF000000"));
}

void TestSheetXlsx::sheetName_data() {
    QTest::addColumn<QString>("wanted");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("header");
    QTest::newRow("free name") << "部門一覧"
                               << "部門一覧"
                               << "&C&A";
    QTest::newRow("the CSV book's own name") << "TMP$$$.CSV"
                                             << "TMP$$$.CSV(2)"
                                             << "&C&A";
    QTest::newRow("a name the sheet cannot have") << "a/b"
                                                  << "TMP$$$"
                                                  << "&C&A";
    QTest::newRow("none") << ""
                          << "TMP$$$"
                          << "";
}

void TestSheetXlsx::sheetName() {
    QFETCH(QString, wanted);
    QFETCH(QString, name);
    QFETCH(QString, header);
    Sheets sheets;
    sheets.writeCsv();
    SheetCopySettings settings = Sheets::settings();
    settings.sheetName = wanted;
    QVERIFY(sheets.copy(settings));
    const Xlsx file(sheets.xlsx);
    QVERIFY(file.ok());
    QCOMPARE(file.sheetName(), name);
    QCOMPARE(file.header(), header);
}

void TestSheetXlsx::withoutAutoFitColumnsKeepTheirWidth() {
    Sheets sheets;
    sheets.writeCsv();
    SheetCopySettings settings = Sheets::settings();
    settings.autoFit = false;
    settings.cellBorderWeight = 0;
    settings.cellTitleColor = clNone;
    QVERIFY(sheets.copy(settings));
    const Xlsx file(sheets.xlsx);
    QVERIFY(file.ok());
    QVERIFY(file.widths().isEmpty());
    QCOMPARE(file.side(QStringLiteral("B2"), QStringLiteral("left")), QString());
    QCOMPARE(file.fillColour(QStringLiteral("B1")), QString());
    QVERIFY(file.cell(QStringLiteral("E1")).isNull()); // no range reaches the empty column
}

void TestSheetXlsx::unwritableFolderFailsTheCopy() {
    Sheets sheets;
    sheets.writeCsv();
    ReadOnlyGuard guard(sheets.dir);
    if (!guard.active())
        QSKIP("This platform cannot make a folder read-only.");
    QVERIFY(!sheets.copy());
    QCOMPARE(sheets.boxes.errors, QStringList{kCopyFailed});
    QVERIFY(sheets.shown.isEmpty());
    QVERIFY(!QFile::exists(sheets.xlsx));
    QCOMPARE(QDir(sheets.dir).entryList(QDir::Files | QDir::Hidden),
             QStringList{QStringLiteral("TMP$$$.CSV")});
    // The instance this copy started has quit.
    QVERIFY_THROWS_EXCEPTION(AutomationError, sheets.classes.getActiveObject(kSpreadsheetClass));
}

void TestSheetXlsx::unreadableCsvFailsTheCopy() {
    Sheets sheets; // no file written: the book cannot be opened, so no sheet is there to show
    QVERIFY(!sheets.copy());
    QCOMPARE(sheets.boxes.errors, QStringList{kCopyFailed});
    QVERIFY(sheets.shown.isEmpty());
    QVERIFY(!QFile::exists(sheets.xlsx));
}

void TestSheetXlsx::fileNothingOpensFailsTheCopy() {
    Sheets sheets;
    sheets.writeCsv();
    sheets.opens = false; // a desktop without a program for .xlsx files
    QVERIFY(!sheets.copy());
    QCOMPARE(sheets.boxes.errors, QStringList{kCopyFailed});
    QCOMPARE(sheets.shown, QStringList{sheets.xlsx});
    QVERIFY(Xlsx(sheets.xlsx).ok()); // the written file stays for the user to open
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY_THROWS_EXCEPTION(AutomationError, sheets.classes.getActiveObject(kSpreadsheetClass));
}

void TestSheetXlsx::csvReading_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("cells"); // "B2=text" for every cell with a value
    QTest::addColumn<QStringList>("numbers");

    QTest::newRow("TAB, leading separator")
        << marubo::encodeCsvFile(
               {QStringLiteral("\t\"a\"\t\"b c\""), QStringLiteral("\t\"1,234\"\t\" x \"")})
        << QStringList{"B1=a", "C1=b c", "B2=1,234", "C2= x "} << QStringList{"B2=1234"};
    QTest::newRow("comma, quoted commas and quotes")
        << marubo::encodeCsvFile({QStringLiteral("\"a,b\",\"say \"\"hi\"\"\",\"-0.25\"")})
        << QStringList{"A1=a,b", "B1=say \"hi\"", "C1=-0.25"} << QStringList{"C1=-0.25"};
    QTest::newRow("texts that only look like numbers")
        << marubo::encodeCsvFile({QStringLiteral("\"007\"\t\"1,23\"\t\"2024/01/05\"\t\"1e3\"")})
        << QStringList{"A1=007", "B1=1,23", "C1=2024/01/05", "D1=1e3"} << QStringList{};
    QTest::newRow("UTF-8 without a mark")
        << QStringLiteral("名前,金額\r\n東京,100\r\n").toUtf8()
        << QStringList{"A1=名前", "B1=金額", "A2=東京", "B2=100"} << QStringList{"B2=100"};
    QTest::newRow("empty file") << QByteArray("\xFF\xFE", 2) << QStringList{} << QStringList{};
}

void TestSheetXlsx::csvReading() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, cells);
    QFETCH(QStringList, numbers);
    TestFolder folder;
    const QString path = QDir(folder.path()).filePath(QStringLiteral("in.csv"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
    file.close();

    const Workbook book = readCsvWorkbook(path);
    QCOMPARE(book.name, QStringLiteral("in.csv"));
    QCOMPARE(book.sheet.name, QStringLiteral("in"));
    QStringList seen, seenNumbers;
    for (const auto& [position, cell] : book.sheet.cells) {
        const QString ref =
            QStringLiteral("%1%2").arg(QChar(u'A' + position.second - 1)).arg(position.first);
        seen << ref + QLatin1Char('=') + cell.text;
        if (cell.number)
            seenNumbers << ref + QLatin1Char('=') + QString::number(*cell.number);
    }
    auto sorted = [](QStringList list) {
        list.sort();
        return list;
    };
    QCOMPARE(sorted(seen), sorted(cells));
    QCOMPARE(sorted(seenNumbers), sorted(numbers));
}

void TestSheetXlsx::colours_data() {
    QTest::addColumn<quint32>("held");
    QTest::addColumn<qint64>("rgb"); // -1: no colour
    QTest::newRow("red") << quint32(0x0000FF) << qint64(0xFF0000);
    QTest::newRow("blue") << quint32(0xFF0000) << qint64(0x0000FF);
    QTest::newRow("mixed") << quint32(0x123456) << qint64(0x563412);
    QTest::newRow("black") << quint32(0) << qint64(0);
    QTest::newRow("white") << quint32(0xFFFFFF) << qint64(0xFFFFFF);
    QTest::newRow("no colour") << clNone << qint64(-1);
    QTest::newRow("system colour") << clWindowText << qint64(-1);
}

void TestSheetXlsx::colours() {
    QFETCH(quint32, held);
    QFETCH(qint64, rgb);
    const auto converted = rgbOf(held);
    QCOMPARE(converted ? qint64(*converted) : qint64(-1), rgb);
}

void TestSheetXlsx::textWidth_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("units");
    QTest::newRow("ASCII") << "No." << 3.0;
    QTest::newRow("kanji") << "山田太郎" << 8.0;
    QTest::newRow("full-width digits and space") << "１２　" << 6.0;
    QTest::newRow("half-width katakana") << "ｶﾀｶﾅ" << 4.0;
    QTest::newRow("mixed") << "A社-1" << 5.0;
    QTest::newRow("beyond the basic plane") << "𠮷野" << 4.0;
}

void TestSheetXlsx::textWidth() {
    QFETCH(QString, text);
    QFETCH(double, units);
    QCOMPARE(textWidthUnits(text), units);
}

void TestSheetXlsx::rangeAddresses_data() {
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("top");
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("bottom");
    QTest::addColumn<int>("right");
    QTest::newRow("block") << "A1:C11" << true << 1 << 1 << 11 << 3;
    QTest::newRow("one cell") << "AB2:AB2" << true << 2 << 28 << 2 << 28;
    QTest::newRow("single") << "b3" << true << 3 << 2 << 3 << 2;
    QTest::newRow("absolute, reversed") << "$C$4:$A$1" << true << 1 << 1 << 4 << 3;
    QTest::newRow("last cell") << "XFD1048576" << true << 1048576 << 16384 << 1048576 << 16384;
    QTest::newRow("beyond the columns") << "XFE1" << false << 0 << 0 << 0 << 0;
    QTest::newRow("row 0") << "A0" << false << 0 << 0 << 0 << 0;
    QTest::newRow("no row") << "A:B" << false << 0 << 0 << 0 << 0;
    QTest::newRow("empty") << "" << false << 0 << 0 << 0 << 0;
}

void TestSheetXlsx::rangeAddresses() {
    QFETCH(QString, address);
    QFETCH(bool, valid);
    const auto area = parseRangeAddress(address);
    QCOMPARE(area.has_value(), valid);
    if (!valid)
        return;
    QFETCH(int, top);
    QFETCH(int, left);
    QFETCH(int, bottom);
    QFETCH(int, right);
    QCOMPARE(*area, (CellArea{top, left, bottom, right}));
}

void TestSheetXlsx::refusedSettings_data() {
    QTest::addColumn<QString>("object"); // a path from the application, '.'-separated
    QTest::addColumn<QString>("member");
    QTest::addColumn<QVariant>("value");
    QTest::newRow("unknown member") << "ActiveSheet"
                                    << "Colour" << QVariant(1);
    QTest::newRow("border weight 3") << "ActiveSheet.Range(A1:B2).Borders"
                                     << "Weight" << QVariant(3);
    QTest::newRow("font size 0") << "ActiveSheet.Cells.Font"
                                 << "Size" << QVariant(0);
    QTest::newRow("sheet name with [") << "ActiveSheet"
                                       << "Name" << QVariant("a[1]");
    QTest::newRow("sheet name of 32") << "ActiveSheet"
                                      << "Name" << QVariant(QString(32, u'x'));
    QTest::newRow("orientation 3") << "ActiveSheet.PageSetup"
                                   << "Orientation" << QVariant(3);
    QTest::newRow("number format 256") << "ActiveSheet.Range(A2:A3)"
                                       << "NumberFormatLocal" << QVariant(256);
    QTest::newRow("colour as text") << "ActiveSheet.Range(A1:A1).Interior"
                                    << "Color" << QVariant("red");
}

void TestSheetXlsx::refusedSettings() {
    QFETCH(QString, object);
    QFETCH(QString, member);
    QFETCH(QVariant, value);
    AutomationClasses classes;
    const ObjectRef application = startSpreadsheetApplication(classes, nullptr);
    getObject(*application, QStringLiteral("Workbooks"))->call(QStringLiteral("Add"));
    ObjectRef target = application;
    for (const QString& step : object.split(QLatin1Char('.'))) {
        if (step.startsWith(QStringLiteral("Range(")))
            target = getObject(*target, QStringLiteral("Range"), {step.mid(6).chopped(1)});
        else
            target = getObject(*target, step);
    }
    QVERIFY_THROWS_EXCEPTION(AutomationError, target->set(member, value));
}

void TestSheetXlsx::quitInstanceLeavesTheRunningTable() {
    AutomationClasses classes;
    registerSpreadsheetApplication(classes, nullptr);
    const ObjectRef application = classes.createObject(kSpreadsheetClass);
    QCOMPARE(classes.getActiveObject(kSpreadsheetClass), application);
    getObject(*application, QStringLiteral("Workbooks"))->call(QStringLiteral("Add"));
    QCOMPARE(getObject(*application, QStringLiteral("ActiveWorkbook"))->get(QStringLiteral("Name")),
             QVariant(QStringLiteral("Book1")));
    // A new book has no file, so there is nothing to show.
    QVERIFY_THROWS_EXCEPTION(AutomationError, application->set(QStringLiteral("Visible"), true));
    application->call(QStringLiteral("Quit"));
    QVERIFY_THROWS_EXCEPTION(AutomationError, classes.getActiveObject(kSpreadsheetClass));
    QVERIFY_THROWS_EXCEPTION(AutomationError, application->get(QStringLiteral("Workbooks")));
}

QTEST_MAIN(TestSheetXlsx)
#include "tst_sheetxlsx.moc"
