#include "Recording.h"

#include "controls/sheet/SheetApplication.h"
#include "controls/sheet/SheetCopy.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QtTest>

using namespace marubo::sheet;
using marubo::test::RecordedErrors;
using marubo::test::Recording;

Q_DECLARE_METATYPE(marubo::sheet::SheetCopySettings)

namespace {

const QString kCsv = QStringLiteral("/data/CSV/TMP$$$.CSV");
const QString kNotFound = QStringLiteral("Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ が見つかりません。\r\n\r\n"
                                         "インストール後、再起動して下さい。");
const QString kCopyFailed = QStringLiteral("Ｅｘｃｅｌ出力中にエラーが発生しました。");

// A grid of three columns, the last one hidden (so the CSV file has two),
// whose second title ends in a full stop; the export writes a title line and
// three records.
SheetCopySettings gridSettings() {
    SheetCopySettings settings;
    settings.csvPath = kCsv;
    settings.lastColumn = 2;
    settings.columnName = true;
    settings.autoFit = true;
    settings.sheetName = QStringLiteral("集計");
    settings.cellFont = QFont(QStringLiteral("Noto Sans CJK JP"));
    settings.cellFont.setPointSize(10);
    settings.cellFont.setBold(true);
    settings.cellFontColor = 0x000080; // dark red, red in the low byte
    settings.cellBorderWeight = 2;
    settings.cellBorderColor = 0x0000FF; // red
    settings.cellColor = clNone;
    settings.cellTitleColor = 0x00CCFF; // orange
    settings.landscape = true;
    settings.showErrDlg = true;
    return settings;
}

// The calls of a copy with gridSettings() into an instance this copy starts,
// with the CSV file's workbook as the only open one.
const QStringList kGridCalls = {
    QStringLiteral("Workbooks.Add()"),
    QStringLiteral("export"),
    QStringLiteral("Application.Workbooks.Close()"),
    QStringLiteral("Application.Workbooks.Open(\"/data/CSV/TMP$$$.CSV\", ReadOnly:=false)"),
    QStringLiteral("ActiveSheet.Range(\"A1:A1\").Text"),
    QStringLiteral("ActiveSheet.Range(\"B1:B1\").Text"),
    QStringLiteral("ActiveSheet.Range(\"B2:B5\").NumberFormatLocal := 64"),
    QStringLiteral("ActiveSheet.Range(\"C1:C1\").Text"),
    QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Weight := 2"),
    QStringLiteral("ActiveSheet.Range(\"A1:C1\").Interior.Color := 52479"),
    QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Color := 255"),
    QStringLiteral("ActiveSheet.Cells.Font.Size := 10"),
    QStringLiteral("ActiveSheet.Cells.Font.Name := \"Noto Sans CJK JP\""),
    QStringLiteral("ActiveSheet.Cells.Font.Color := 128"),
    QStringLiteral("ActiveSheet.Cells.Font.Bold := true"),
    QStringLiteral("Application.Workbooks.Count"),
    QStringLiteral("Application.Workbooks(1).Name"),
    QStringLiteral("Application.Workbooks.Count"),
    QStringLiteral("Application.Workbooks(1).Name"),
    QStringLiteral("ActiveSheet.Name := \"集計\""),
    QStringLiteral("ActiveSheet.PageSetup.CenterHeader := \"&A\""),
    QStringLiteral("ActiveSheet.Cells.EntireColumn.AutoFit()"),
    QStringLiteral("ActiveSheet.Cells(1, 1).Select()"),
    QStringLiteral("ActiveSheet.PageSetup.Orientation := 2"),
    QStringLiteral("Visible := true"),
};

// A recording application registered under the spreadsheet's class name,
// either to be started or already running, and a copy run on it.
struct Run {
    Recording recording;
    AutomationClasses classes;
    RecordedErrors boxes;
    QWidget container;
    int exportResult = 4; // the title line and three records
    int exports = 0;

    explicit Run(bool running = false) {
        recording.values.insert(QStringLiteral("ActiveSheet.Range(\"A1:A1\").Text"),
                                QStringLiteral("名前"));
        recording.values.insert(QStringLiteral("ActiveSheet.Range(\"B1:B1\").Text"),
                                QStringLiteral("No."));
        setBooks({QStringLiteral("TMP$$$.CSV")});
        if (running) {
            classes.registerActiveObject(kSpreadsheetClass, recording.application());
        } else {
            classes.registerClass(kSpreadsheetClass,
                                  [this](AutomationClasses&) { return recording.application(); });
        }
    }

    void setBooks(const QStringList& names) {
        recording.values.insert(QStringLiteral("Application.Workbooks.Count"), int(names.size()));
        for (int i = 0; i < names.size(); ++i)
            recording.values.insert(QStringLiteral("Application.Workbooks(%1).Name").arg(i + 1),
                                    names[i]);
    }

    bool copy(const SheetCopySettings& settings = gridSettings()) {
        SheetCopyHooks hooks;
        hooks.copyCsvFile = [this] {
            ++exports;
            recording.add(QStringLiteral("export"));
            return exportResult;
        };
        hooks.container = &container;
        hooks.boxes = &boxes;
        hooks.classes = &classes;
        return CopyExcel(settings, hooks);
    }
};

QStringList without(QStringList lines, const QString& line) {
    lines.removeAll(line);
    return lines;
}

} // namespace

class TestSheetCopy : public QObject {
    Q_OBJECT

private slots:
    void columnLetters_data();
    void columnLetters();
    void rangeText_data();
    void rangeText();

    void callsInOrder();
    void attachedInstanceGetsWindowState();
    void settingsDecideTheCalls_data();
    void settingsDecideTheCalls();
    void sheetNameSuffixesAccumulate_data();
    void sheetNameSuffixesAccumulate();
    void progressWindowDuringFormatting();
    void progressWindowStaysOnEscapeAndClose_data();
    void progressWindowStaysOnEscapeAndClose();

    void noApplication_data();
    void noApplication();
    void otherStartFailureIsThrownOn();
    void exportWritesNothing_data();
    void exportWritesNothing();
    void failureInFormattingSkipsTheRest_data();
    void failureInFormattingSkipsTheRest();
    void failureOutsideFormatting_data();
    void failureOutsideFormatting();
};

void TestSheetCopy::columnLetters_data() {
    QTest::addColumn<int>("n");
    QTest::addColumn<QString>("letters");
    QTest::newRow("1") << 1 << "A";
    QTest::newRow("26") << 26 << "Z";
    QTest::newRow("27") << 27 << "AA";
    QTest::newRow("28") << 28 << "AB";
    QTest::newRow("52") << 52 << "AZ";
    QTest::newRow("53") << 53 << "BA";
    QTest::newRow("702") << 702 << "ZZ";
}

void TestSheetCopy::columnLetters() {
    QFETCH(int, n);
    QFETCH(QString, letters);
    QCOMPARE(ColumnLetters(n), letters);
}

void TestSheetCopy::rangeText_data() {
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("rowSpan");
    QTest::addColumn<int>("columnSpan");
    QTest::addColumn<QString>("text");
    QTest::newRow("block") << 1 << 1 << 10 << 2 << "A1:C11";
    QTest::newRow("one cell") << 2 << 28 << 0 << 0 << "AB2:AB2";
    QTest::newRow("27 columns") << 1 << 1 << 0 << 26 << "A1:AA1";
}

void TestSheetCopy::rangeText() {
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, rowSpan);
    QFETCH(int, columnSpan);
    QFETCH(QString, text);
    QCOMPARE(RangeText(row, column, rowSpan, columnSpan), text);
}

void TestSheetCopy::callsInOrder() {
    Run run;
    QVERIFY(run.copy());
    QCOMPARE(run.recording.log, kGridCalls);
    QVERIFY(run.boxes.errors.isEmpty());
    QVERIFY(run.container.isEnabled());
}

void TestSheetCopy::attachedInstanceGetsWindowState() {
    Run run(true);
    QVERIFY(run.copy());
    QCOMPARE(run.recording.log, kGridCalls + QStringList{QStringLiteral("WindowState := 1")});
}

void TestSheetCopy::settingsDecideTheCalls_data() {
    QTest::addColumn<SheetCopySettings>("settings");
    QTest::addColumn<QStringList>("present");
    QTest::addColumn<QStringList>("absent");

    const QString weight = QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Weight := 2");
    const QString borderColour =
        QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Color := 255");
    const QString titleFill =
        QStringLiteral("ActiveSheet.Range(\"A1:C1\").Interior.Color := 52479");

    SheetCopySettings s = gridSettings();
    s.columnName = false;
    QTest::newRow("no title line: no title fill")
        << s << QStringList{weight} << QStringList{titleFill};

    s = gridSettings();
    s.cellTitleColor = clNone;
    QTest::newRow("title colour none") << s << QStringList{weight} << QStringList{titleFill};

    s = gridSettings();
    s.cellBorderWeight = 0;
    QTest::newRow("border weight 0: no border settings")
        << s << QStringList{titleFill} << QStringList{weight, borderColour};

    s = gridSettings();
    s.cellBorderWeight = 4;
    s.cellBorderColor = 0x123456; // passed as held, not turned round
    QTest::newRow("thick borders, colour as held")
        << s
        << QStringList{QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Weight := 4"),
                       QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Color := 1193046")}
        << QStringList{weight};

    s = gridSettings();
    s.cellColor = 0xF0FAFF; // the whole range, before the title row
    QTest::newRow("cell fill") << s
                               << QStringList{QStringLiteral(
                                      "ActiveSheet.Range(\"A1:C4\").Interior.Color := 15792895")}
                               << QStringList{};

    s = gridSettings();
    s.cellFont.setBold(false);
    s.cellFont.setItalic(true);
    s.cellFont.setStrikeOut(true);
    s.cellFont.setUnderline(true);
    s.cellFontColor = clWindowText; // a system colour goes unchanged
    QTest::newRow("italic struck-out font in a system colour")
        << s
        << QStringList{QStringLiteral("ActiveSheet.Cells.Font.Italic := true"),
                       QStringLiteral("ActiveSheet.Cells.Font.Strikethrough := true"),
                       QStringLiteral("ActiveSheet.Cells.Font.Color := 2147483656")}
        << QStringList{QStringLiteral("ActiveSheet.Cells.Font.Bold := true"),
                       QStringLiteral("ActiveSheet.Cells.Font.Bold := false")};

    s = gridSettings();
    s.cellFont.setPointSizeF(10.5);
    QTest::newRow("half point size")
        << s << QStringList{QStringLiteral("ActiveSheet.Cells.Font.Size := 10.5")} << QStringList{};

    s = gridSettings();
    s.cellFont.setPixelSize(16); // 12 points at 96 dots an inch
    QTest::newRow("font sized in pixels")
        << s << QStringList{QStringLiteral("ActiveSheet.Cells.Font.Size := 12")} << QStringList{};

    s = gridSettings();
    s.sheetName.clear();
    QTest::newRow("no sheet name")
        << s << QStringList{QStringLiteral("ActiveSheet.Cells(1, 1).Select()")}
        << QStringList{QStringLiteral("Application.Workbooks.Count"),
                       QStringLiteral("ActiveSheet.Name := \"集計\""),
                       QStringLiteral("ActiveSheet.PageSetup.CenterHeader := \"&A\"")};

    s = gridSettings();
    s.autoFit = false;
    QTest::newRow("no auto-fit") << s
                                 << QStringList{QStringLiteral("ActiveSheet.Cells(1, 1).Select()")}
                                 << QStringList{
                                        QStringLiteral("ActiveSheet.Cells.EntireColumn.AutoFit()")};

    s = gridSettings();
    s.landscape = false;
    QTest::newRow("portrait")
        << s << QStringList{QStringLiteral("ActiveSheet.PageSetup.Orientation := 1")}
        << QStringList{QStringLiteral("ActiveSheet.PageSetup.Orientation := 2")};

    s = gridSettings();
    s.lastColumn = 26; // 27 grid columns: the ranges reach AA
    QTest::newRow("27 columns")
        << s
        << QStringList{QStringLiteral("ActiveSheet.Range(\"AA1:AA1\").Text"),
                       QStringLiteral("ActiveSheet.Range(\"A1:AA4\").Borders.Weight := 2"),
                       QStringLiteral("ActiveSheet.Range(\"A1:AA1\").Interior.Color := 52479")}
        << QStringList{QStringLiteral("ActiveSheet.Range(\"AB1:AB1\").Text")};
}

void TestSheetCopy::settingsDecideTheCalls() {
    QFETCH(SheetCopySettings, settings);
    QFETCH(QStringList, present);
    QFETCH(QStringList, absent);
    Run run;
    QVERIFY(run.copy(settings));
    for (const QString& line : present)
        QVERIFY2(run.recording.log.contains(line), qPrintable(line));
    for (const QString& line : absent)
        QVERIFY2(!run.recording.log.contains(line), qPrintable(line));
    QCOMPARE(run.recording.log.last(), QStringLiteral("Visible := true"));
}

void TestSheetCopy::sheetNameSuffixesAccumulate_data() {
    QTest::addColumn<QStringList>("books");
    QTest::addColumn<QStringList>("checks");
    QTest::addColumn<QString>("name");

    const QString count = QStringLiteral("Application.Workbooks.Count");
    const QString first = QStringLiteral("Application.Workbooks(1).Name");
    const QString second = QStringLiteral("Application.Workbooks(2).Name");
    QTest::newRow("free") << QStringList{} << QStringList{count, count} << "S";
    QTest::newRow("taken once") << QStringList{QStringLiteral("S")}
                                << QStringList{count, first, count, first} << "S(2)";
    QTest::newRow("taken twice") << QStringList{QStringLiteral("S"), QStringLiteral("S(2)")}
                                 << QStringList{count,  first, // S is taken
                                                count,  first,
                                                second, // S(2) is taken
                                                count,  first,
                                                second, // so is S(2) on the next round
                                                count,  first, second} // S(2)(3) is free
                                 << "S(2)(3)";
    QTest::newRow("only exact names count")
        << QStringList{QStringLiteral("s"), QStringLiteral("S ")}
        << QStringList{count, first, second, count, first, second} << "S";
}

void TestSheetCopy::sheetNameSuffixesAccumulate() {
    QFETCH(QStringList, books);
    QFETCH(QStringList, checks);
    QFETCH(QString, name);
    Run run;
    run.setBooks(books);
    SheetCopySettings settings = gridSettings();
    settings.sheetName = QStringLiteral("S");
    QVERIFY(run.copy(settings));

    QStringList seen;
    for (const QString& line : run.recording.log) {
        if (line.startsWith(QStringLiteral("Application.Workbooks.Count")) ||
            line.endsWith(QStringLiteral(").Name")))
            seen << line;
    }
    QCOMPARE(seen, checks);
    QVERIFY(run.recording.log.contains(QStringLiteral("ActiveSheet.Name := \"%1\"").arg(name)));
}

void TestSheetCopy::progressWindowDuringFormatting() {
    Run run;
    QMap<QString, int> barAt;
    bool containerDisabled = true;
    run.recording.onLine = [&](const QString& line) {
        QDialog* window = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QDialog*>(top); dialog && dialog->isVisible())
                window = dialog;
        }
        if (!window) {
            barAt.insert(line, -1);
            return;
        }
        QCOMPARE(window->windowTitle(), QStringLiteral("データ出力中"));
        QCOMPARE(window->size(), QSize(200, 110));
        QCOMPARE(window->findChild<QLabel*>()->text(), QStringLiteral("Excel 読み込み中"));
        const auto* bar = window->findChild<QProgressBar*>();
        QCOMPARE(bar->minimum(), 0);
        QCOMPARE(bar->maximum(), 100);
        barAt.insert(line, bar->value());
        containerDisabled = containerDisabled && !run.container.isEnabled();
    };
    QVERIFY(run.copy());

    QCOMPARE(barAt.value(QStringLiteral("export")), -1);
    QCOMPARE(barAt.value(QStringLiteral("Application.Workbooks.Close()")), 10);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Range(\"A1:A1\").Text")), 20);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Weight := 2")), 30);
    // Stage 6 (the cell fill) is not done but still steps the bar.
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Range(\"A1:C1\").Interior.Color := 52479")),
             50);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Color := 255")), 60);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Cells.Font.Size := 10")), 70);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Name := \"集計\"")), 80);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Cells.EntireColumn.AutoFit()")), 90);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.Cells(1, 1).Select()")), 100);
    QCOMPARE(barAt.value(QStringLiteral("ActiveSheet.PageSetup.Orientation := 2")), -1);
    QVERIFY(containerDisabled);
    QVERIFY(run.container.isEnabled());
}

void TestSheetCopy::progressWindowStaysOnEscapeAndClose_data() {
    QTest::addColumn<bool>("escape");
    QTest::newRow("Esc") << true;
    QTest::newRow("window manager's close") << false;
}

void TestSheetCopy::progressWindowStaysOnEscapeAndClose() {
    QFETCH(bool, escape);
    Run run;
    QStringList seen;
    run.recording.onLine = [&](const QString& line) {
        if (line != QStringLiteral("ActiveSheet.Cells.Font.Size := 10"))
            return;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<QDialog*>(top);
            if (!dialog || !dialog->isVisible())
                continue;
            if (escape)
                QTest::keyClick(dialog, Qt::Key_Escape);
            else
                dialog->close();
            seen << (dialog->isVisible() ? "shown" : "hidden");
        }
    };
    QVERIFY(run.copy());
    // The window has no cancel: it stays until the formatting is done.
    QCOMPARE(seen, QStringList{"shown"});
    QCOMPARE(run.recording.log, kGridCalls);
    QVERIFY(run.container.isEnabled());
}

void TestSheetCopy::noApplication_data() {
    QTest::addColumn<bool>("showErrDlg");
    QTest::addColumn<QStringList>("errors");
    QTest::newRow("reported") << true << QStringList{kNotFound};
    QTest::newRow("quiet") << false << QStringList{};
}

void TestSheetCopy::noApplication() {
    QFETCH(bool, showErrDlg);
    QFETCH(QStringList, errors);
    Run run;
    run.classes.unregisterClass(kSpreadsheetClass);
    SheetCopySettings settings = gridSettings();
    settings.showErrDlg = showErrDlg;
    QVERIFY(!run.copy(settings));
    QCOMPARE(run.boxes.errors, errors);
    QVERIFY(run.recording.log.isEmpty());
    QCOMPARE(run.exports, 0);
}

void TestSheetCopy::otherStartFailureIsThrownOn() {
    Run run;
    run.classes.registerClass(kSpreadsheetClass, [](AutomationClasses&) -> ObjectRef {
        throw std::runtime_error("out of memory");
    });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, run.copy());
    QVERIFY(run.boxes.errors.isEmpty());
}

void TestSheetCopy::exportWritesNothing_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<int>("exported");
    QTest::addColumn<QString>("close");
    const QString quit = QStringLiteral("Quit()");
    const QString closeBook = QStringLiteral("Application.ActiveWorkbook.Close()");
    QTest::newRow("nothing written, started") << false << 0 << quit;
    QTest::newRow("cancelled, started") << false << -3 << quit;
    QTest::newRow("nothing written, running") << true << 0 << closeBook;
    QTest::newRow("cancelled, running") << true << -1 << closeBook;
}

void TestSheetCopy::exportWritesNothing() {
    QFETCH(bool, running);
    QFETCH(int, exported);
    QFETCH(QString, close);
    Run run(running);
    run.exportResult = exported;
    QVERIFY(!run.copy());
    QCOMPARE(run.recording.log,
             (QStringList{QStringLiteral("Workbooks.Add()"), QStringLiteral("export"),
                          QStringLiteral("DisplayAlerts := false"), close}));
    QVERIFY(run.boxes.errors.isEmpty());
}

void TestSheetCopy::failureInFormattingSkipsTheRest_data() {
    QTest::addColumn<QString>("failing");
    QTest::addColumn<QStringList>("calls");

    const QStringList after = {QStringLiteral("ActiveSheet.PageSetup.Orientation := 2"),
                               QStringLiteral("Visible := true")};
    // The calls up to and including the failing one, then the copy's own.
    auto upTo = [&](const QString& line) {
        return kGridCalls.mid(0, kGridCalls.indexOf(line) + 1) + after;
    };
    for (const QString& line :
         {QStringLiteral("Application.Workbooks.Close()"),
          QStringLiteral("Application.Workbooks.Open(\"/data/CSV/TMP$$$.CSV\", ReadOnly:=false)"),
          QStringLiteral("ActiveSheet.Range(\"A1:C4\").Borders.Weight := 2"),
          QStringLiteral("ActiveSheet.Range(\"A1:C1\").Interior.Color := 52479"),
          QStringLiteral("ActiveSheet.Cells.Font.Size := 10"),
          QStringLiteral("Application.Workbooks.Count"),
          QStringLiteral("ActiveSheet.PageSetup.CenterHeader := \"&A\""),
          QStringLiteral("ActiveSheet.Cells.EntireColumn.AutoFit()"),
          QStringLiteral("ActiveSheet.Cells(1, 1).Select()")})
        QTest::newRow(qPrintable(line)) << line << upTo(line);

    // Failures that the formatting passes over.
    const QString title = QStringLiteral("ActiveSheet.Range(\"B1:B1\").Text");
    QTest::newRow("one column's title")
        << title
        << without(kGridCalls,
                   QStringLiteral("ActiveSheet.Range(\"B2:B5\").NumberFormatLocal := 64"));
    const QString format = QStringLiteral("ActiveSheet.Range(\"B2:B5\").NumberFormatLocal := 64");
    QTest::newRow("one column's number format") << format << kGridCalls;
    QTest::newRow("the sheet's name")
        << QStringLiteral("ActiveSheet.Name := \"集計\"") << kGridCalls;
}

void TestSheetCopy::failureInFormattingSkipsTheRest() {
    QFETCH(QString, failing);
    QFETCH(QStringList, calls);
    Run run;
    run.recording.failing.insert(failing);
    QVERIFY(run.copy());
    QCOMPARE(run.recording.log, calls);
    QVERIFY(run.boxes.errors.isEmpty());
    QVERIFY(run.container.isEnabled());
}

void TestSheetCopy::failureOutsideFormatting_data() {
    QTest::addColumn<bool>("running");
    QTest::addColumn<QStringList>("failing");
    QTest::addColumn<QStringList>("calls");
    QTest::addColumn<QStringList>("errors");

    const QStringList quit = {QStringLiteral("DisplayAlerts := false"), QStringLiteral("Quit()")};
    const QStringList closeBook = {QStringLiteral("DisplayAlerts := false"),
                                   QStringLiteral("Application.ActiveWorkbook.Close()")};
    const QString add = QStringLiteral("Workbooks.Add()");
    const QString visible = QStringLiteral("Visible := true");
    const QString orientation = QStringLiteral("ActiveSheet.PageSetup.Orientation := 2");
    const QString windowState = QStringLiteral("WindowState := 1");

    QTest::newRow("add, started") << false << QStringList{add} << QStringList{add} + quit
                                  << QStringList{kCopyFailed};
    QTest::newRow("add, running") << true << QStringList{add} << QStringList{add} + closeBook
                                  << QStringList{kCopyFailed};
    QTest::newRow("orientation") << false << QStringList{orientation}
                                 << kGridCalls.mid(0, kGridCalls.size() - 1) + quit
                                 << QStringList{kCopyFailed};
    QTest::newRow("no sheet can be shown")
        << false << QStringList{visible} << kGridCalls + quit << QStringList{kCopyFailed};
    QTest::newRow("window state") << true << QStringList{windowState}
                                  << kGridCalls + QStringList{windowState} + closeBook
                                  << QStringList{kCopyFailed};
    QTest::newRow("giving up fails too") << false << QStringList{visible, QStringLiteral("Quit()")}
                                         << kGridCalls + quit << QStringList{kCopyFailed};
}

void TestSheetCopy::failureOutsideFormatting() {
    QFETCH(bool, running);
    QFETCH(QStringList, failing);
    QFETCH(QStringList, calls);
    QFETCH(QStringList, errors);
    Run run(running);
    for (const QString& line : failing)
        run.recording.failing.insert(line);
    QVERIFY(!run.copy());
    QCOMPARE(run.recording.log, calls);
    QCOMPARE(run.boxes.errors, errors);
}

QTEST_MAIN(TestSheetCopy)
#include "tst_sheetcopy.moc"
