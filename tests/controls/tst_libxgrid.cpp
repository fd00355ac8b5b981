#include "support/RecordedBoxes.h"
#include "support/TestFolder.h"

#include "controls/FileChooser.h"
#include "controls/LibXGrid.h"
#include "controls/MessageBoxes.h"
#include "controls/sheet/SheetApplication.h"
#include "store/Query.h"
#include "store/Session.h"
#include "store/Table.h"
#include "util/Abort.h"
#include "util/CsvText.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QStringDecoder>
#include <QTimer>
#include <QtTest>

using namespace marubo;
using marubo::test::RecordedBoxes;
using namespace marubo::controls;
using marubo::test::TestFolder;

namespace {

// A table X (code key, name, amount, d, memo) with rows, shown in a grid whose
// column titles are the field names.
struct Exchange {
    TestFolder folder;
    QString dir = folder.sub(QStringLiteral("data"));
    store::Session session;
    store::Table table{session};
    RecordedBoxes boxes;
    std::unique_ptr<DataSetModel> model;
    TLibXGrid grid;

    explicit Exchange(int rows = 3, QList<GridColumn> columns = defaultColumns()) {
        store::Query script(session, dir);
        script.setSql(QStringLiteral(
            "CREATE TABLE \"X\" (\"code\" INTEGER, \"name\" VARCHAR(40), \"amount\" MONEY, "
            "\"d\" DATE, \"memo\" VARCHAR(40), PRIMARY KEY (\"code\"))"));
        script.execSql();
        table.setDatabaseName(dir);
        table.setTableName(QStringLiteral("X"));
        table.open();
        for (int i = 1; i <= rows; ++i) {
            table.append();
            table.fieldByName(QStringLiteral("code")).setAsInteger(i);
            table.fieldByName(QStringLiteral("name")).setAsString(QStringLiteral("名前%1").arg(i));
            table.fieldByName(QStringLiteral("amount")).setAsFloat(i * 1000.5);
            table.fieldByName(QStringLiteral("d")).setAsDate(QDate(2017, 4, i % 28 + 1));
            table.post();
        }
        table.first();
        model = std::make_unique<DataSetModel>(table, columns);
        grid.setDataSetModel(model.get());
        grid.setMessageBoxes(&boxes);
        grid.FCSVFileName = folder.path() + QStringLiteral("/out.csv");
        grid.resize(600, 300);
    }
    ~Exchange() { grid.setDataSetModel(nullptr); }

    static QList<GridColumn> defaultColumns() {
        return {{QStringLiteral("code"), QStringLiteral("code"), 40},
                {QStringLiteral("name"), QStringLiteral("name"), 120},
                {QStringLiteral("amount"), QStringLiteral("amount"), 80},
                {QStringLiteral("d"), QStringLiteral("d"), 80},
                {QStringLiteral("memo"), QStringLiteral("memo"), 120}};
    }

    QByteArray fileBytes() const {
        QFile file(grid.FCSVFileName);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    QStringList fileLines() const {
        return splitTextLines(decodeCsvFile(fileBytes()).value_or(QString()));
    }
    void writeFile(const QByteArray& bytes) {
        QFile file(grid.FCSVFileName);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    QStringList rows() {
        QStringList lines;
        store::Table reader(session, dir, QStringLiteral("X"));
        reader.open();
        for (; !reader.eof(); reader.next())
            lines << QStringLiteral("%1|%2|%3|%4|%5")
                         .arg(reader.fieldByName("code").asString(),
                              reader.fieldByName("name").asString(),
                              reader.fieldByName("amount").asString(),
                              reader.fieldByName("d").asString(),
                              reader.fieldByName("memo").asString());
        return lines;
    }
    void empty() {
        table.emptyTable();
        table.close();
        table.open();
    }
};

QByteArray utf16(const QStringList& lines) {
    return encodeCsvFile(lines);
}

// Acts on the progress window once `afterRows` rows went by (by default
// presses its cancel button), recording what the window and the form showed.
struct Canceller {
    using Action = std::function<void(TLibXGrid&)>;
    TLibXGrid& grid;
    int afterRows;
    Action action;
    QStringList seen;
    QPoint centre;           // of the progress window
    bool shownAfter = false; // the window was still up after the action
    QTimer timer;
    Canceller(TLibXGrid& g, int rows, Action act = pressCancel)
        : grid(g), afterRows(rows), action(std::move(act)) {
        timer.setInterval(0);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            QDialog* window = grid.progressWindow();
            if (!window || !grid.progressCancelButton())
                return;
            if (seen.isEmpty()) {
                seen << window->windowTitle()
                     << (grid.window()->isEnabled() ? "form enabled" : "form disabled");
                centre = window->geometry().center();
            }
            const auto* label = window->findChild<QLabel*>();
            if (label && label->text() == QStringLiteral("%1 / %2").arg(afterRows).arg(
                                              label->text().section(' ', 2))) {
                seen << label->text();
                action(grid);
                shownAfter = window->isVisible();
                timer.stop();
            }
        });
        timer.start();
    }
    static void pressCancel(TLibXGrid& grid) { grid.progressCancelButton()->click(); }
};

// The process's spreadsheet application, its files shown to a list (or
// refused); the instance a test leaves running is quit at the end.
struct Viewer {
    QStringList opened;
    Viewer() {
        sheet::registerSpreadsheetApplication(sheet::AutomationClasses::process(),
                                              [this](const QString& path) {
                                                  opened << path;
                                                  return true;
                                              });
    }
    ~Viewer() {
        try {
            sheet::AutomationClasses::process()
                .getActiveObject(sheet::kSpreadsheetClass)
                ->call(QStringLiteral("Quit"));
        } catch (const std::exception&) {
            // none running
        }
    }
};

// Chooses a context-menu item of the grid, as a right click and a pick would.
void pickFromMenu(TLibXGrid& grid, const QString& text) {
    QTimer::singleShot(50, [text] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget()))
            for (QAction* action : menu->actions())
                if (action->text() == text)
                    action->trigger();
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(10, 10),
                            grid.mapToGlobal(QPoint(10, 10)));
    QApplication::sendEvent(grid.viewport(), &event);
}

// A file chooser that answers with one file.
struct Chooser : FileChooser {
    QString file;
    QString saveFile(QWidget*, const QString&, const QString&) override { return file; }
    QString openFile(QWidget*, const QString&) override { return file; }
};

} // namespace

class TestLibXGrid : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initialValues();
    void defaultFilePath();
    void exportFormat();
    void exportColumnsInTheGridsOrder();
    void emptyDataSet_data();
    void emptyDataSet();
    void notInBrowseState_data();
    void notInBrowseState();
    void fileThatCannotBeCreated();
    void cancelledExport();
    void roundTrip_data();
    void roundTrip();
    void importLines_data();
    void importLines();
    void fileEncodings_data();
    void fileEncodings();
    void emptyAndHeaderOnlyFiles_data();
    void emptyAndHeaderOnlyFiles();
    void unreadableFile();
    void cancelledImport();
    void escapeOrCloseCancels_data();
    void escapeOrCloseCancels();
    void refusedInserts_data();
    void refusedInserts();
    void displayFormats();
    void contextMenu();
    void menuFileLeftAloneByExcelOutput();
    void spreadsheetCopy();
    void failedExportGivesNoSheet();
};

void TestLibXGrid::initialValues() {
    TLibXGrid grid;
    QVERIFY(grid.FileString.isEmpty());
    QVERIFY(!grid.CancelFlg);
    QVERIFY(grid.FColumnName);
    QVERIFY(grid.FShowErrDlg);
    QVERIFY(grid.FAutoFit);
    QVERIFY(grid.FSheetName.isEmpty());
    QCOMPARE(grid.FCellBorderWeight, 2);
    QCOMPARE(grid.FCellBorderColor, 0u);
    QCOMPARE(grid.FCellColor, 536870911u);
    QCOMPARE(grid.FCellTitleColor, 536870911u);
    QCOMPARE(grid.FPageOrientation, TLibXGrid::xlPortrait);
    QCOMPARE(grid.FCSVRecmax, 0);
    QCOMPARE(grid.FCSVCommaText, QStringLiteral("\t"));
    QCOMPARE(grid.FCSVFileName, TLibXGrid::CsvFilePath(QString()));
    grid.ProButtonClick();
    QVERIFY(grid.CancelFlg);
}

void TestLibXGrid::defaultFilePath() {
    const QString folder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
    QCOMPARE(TLibXGrid::CsvFilePath(QStringLiteral("/x/y.csv")), QStringLiteral("/x/y.csv"));
    QDir(folder).rmdir(QStringLiteral("CSV"));
    QCOMPARE(TLibXGrid::CsvFilePath(QString()), folder + QStringLiteral("TMP$$$.CSV"));
    QVERIFY(QDir(folder).mkdir(QStringLiteral("CSV")));
    QCOMPARE(TLibXGrid::CsvFilePath(QString()),
             folder + QStringLiteral("CSV") + QDir::separator() + "TMP$$$.CSV");
    QDir(folder).rmdir(QStringLiteral("CSV"));
}

void TestLibXGrid::exportFormat() {
    QList<GridColumn> columns = Exchange::defaultColumns();
    columns[0].visible = false; // the first column hidden: every line starts with the separator
    columns << GridColumn{QStringLiteral("nosuch"), QStringLiteral(" 無し\t"), 30};
    Exchange x(2, columns);
    x.table.first();
    x.table.edit();
    x.table.fieldByName("memo").setAsString(QStringLiteral("5\" disk\t"));
    x.table.post();
    QCOMPARE(x.grid.CopyCsvFile(), 3);
    const QByteArray bytes = x.fileBytes();
    QVERIFY(bytes.startsWith("\xFF\xFE"));
    QVERIFY(bytes.endsWith(QByteArray("\r\0\n\0", 4)));
    QCOMPARE(x.fileLines(),
             (QStringList{"\t\"name\"\t\"amount\"\t\"d\"\t\"memo\"\t\"無し\"",
                          "\t\"名前1\"\t\"1000.5\"\t\"2017/04/02\"\t\"5\"\" disk\"\t",
                          "\t\"名前2\"\t\"2001\"\t\"2017/04/03\"\t\"\"\t"}));
    QVERIFY(x.boxes.errors.isEmpty());
    QCOMPARE(x.table.recNo(), qsizetype(0)); // back on the first record
}

void TestLibXGrid::exportColumnsInTheGridsOrder() {
    Exchange x(1);
    x.grid.setColumnDrag(true);
    x.grid.horizontalHeader()->moveSection(4, 0); // memo first
    x.grid.FCSVCommaText = QStringLiteral(",");
    QCOMPARE(x.grid.CopyCsvFile(), 2);
    QCOMPARE(x.fileLines().first(), QStringLiteral("\"memo\",\"code\",\"name\",\"amount\",\"d\""));
}

void TestLibXGrid::emptyDataSet_data() {
    QTest::addColumn<bool>("titles");
    QTest::addColumn<int>("result");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("with titles") << true << 1
                                 << utf16({"\"code\"\t\"name\"\t\"amount\"\t\"d\"\t\"memo\""});
    QTest::newRow("without titles") << false << 0 << QByteArray("\xFF\xFE", 2);
}

void TestLibXGrid::emptyDataSet() {
    QFETCH(bool, titles);
    QFETCH(int, result);
    QFETCH(QByteArray, bytes);
    Exchange x(0);
    x.grid.FColumnName = titles;
    QCOMPARE(x.grid.CopyCsvFile(), result);
    QCOMPARE(x.fileBytes(), bytes);
}

void TestLibXGrid::notInBrowseState_data() {
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<bool>("showErrors");
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("export") << true << true << QStringList{"出力するデータがありません。"};
    QTest::newRow("import") << false << true << QStringList{"書込可能なデータがありません。"};
    QTest::newRow("export, reports off") << true << false << QStringList{};
}

void TestLibXGrid::notInBrowseState() {
    QFETCH(bool, exporting);
    QFETCH(bool, showErrors);
    QFETCH(QStringList, reports);
    Exchange x;
    x.writeFile(utf16({"code", "9"}));
    x.grid.FShowErrDlg = showErrors;
    x.table.edit();
    QCOMPARE(exporting ? x.grid.CopyCsvFile() : x.grid.LoadCsvFile(), 0);
    QCOMPARE(x.boxes.errors, reports);
    QVERIFY(!x.grid.progressWindow());
    QVERIFY(x.grid.window()->isEnabled());
}

void TestLibXGrid::fileThatCannotBeCreated() {
    Exchange x;
    x.grid.FCSVFileName = x.folder.path() + QStringLiteral("/missing/out.csv");
    QCOMPARE(x.grid.CopyCsvFile(), 0);
    QCOMPARE(x.boxes.errors, QStringList{"ＣＳＶファイルが作成できません。"});
}

void TestLibXGrid::cancelledExport() {
    Exchange x(40);
    x.writeFile(utf16({"an earlier file"}));
    Canceller cancel(x.grid, 20);
    const int result = x.grid.CopyCsvFile();
    QCOMPARE(cancel.seen.mid(0, 2), (QStringList{"データ出力中", "form disabled"}));
    // Centred on the screen (the window's frame may shift it by its width).
    const QPoint offCentre = cancel.centre - QGuiApplication::primaryScreen()->geometry().center();
    QVERIFY2(offCentre.manhattanLength() <= 8, qPrintable(QString::number(offCentre.x())));
    QVERIFY(result < 0);
    // What was written is kept, and its count says how much.
    QCOMPARE(x.fileLines().size(), -result);
    QVERIFY(-result >= 20 && -result <= 22);
    QVERIFY(x.grid.window()->isEnabled());
    QVERIFY(!x.grid.progressWindow());
}

void TestLibXGrid::roundTrip_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("memo");
    QTest::newRow("plain") << "本部"
                           << "";
    QTest::newRow("quotes") << "say \"hi\""
                            << "\"\"";
    QTest::newRow("commas") << "a, b"
                            << ",";
    QTest::newRow("spaces") << " 前後 "
                            << "中 の 空白";
    QTest::newRow("tab inside") << "a\tb"
                                << "x";
    QTest::newRow("marker text") << "x"
                                 << "!#$%&()=~|";
}

void TestLibXGrid::roundTrip() {
    QFETCH(QString, name);
    QFETCH(QString, memo);
    Exchange x(2);
    x.table.first();
    x.table.edit();
    x.table.fieldByName("name").setAsString(name);
    x.table.fieldByName("memo").setAsString(memo);
    x.table.post();
    const QStringList before = x.rows();
    QCOMPARE(x.grid.CopyCsvFile(), 3);
    x.empty();
    QCOMPARE(x.grid.LoadCsvFile(), 2);
    QStringList expected = before;
    // The format's own rules: a value is exported without blanks and control
    // characters at its ends, a TAB read back becomes a comma, and the marker
    // text comes back as a space.
    expected[0].replace(QStringLiteral(" 前後 "), QStringLiteral("前後"));
    expected[0].replace(QLatin1Char('\t'), QLatin1Char(','));
    expected[0].replace(QStringLiteral("!#$%&()=~|"), QStringLiteral(" "));
    QCOMPARE(x.rows(), expected);
    QVERIFY(x.boxes.errors.isEmpty());
}

void TestLibXGrid::importLines_data() {
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("showErrors");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QStringList>("reports");
    const QString header = QStringLiteral("\"code\"\t\"name\"\t\"memo\"");
    QTest::newRow("quoted commas in a tab file")
        << QStringList{header, "\"1\"\t\"a,b\"\t\"c\""} << true << 1 << QStringList{"1|a,b|||c"}
        << QStringList{};
    QTest::newRow("bare comma in a tab file")
        << QStringList{header, "1\ta,b\tc"} << true << 1 << QStringList{"1|a|||b"} << QStringList{};
    QTest::newRow("blank after closing quote")
        << QStringList{"code,name,memo", "\"2\" ,x,y"} << true << 1 << QStringList{"2| |||x"}
        << QStringList{};
    QTest::newRow("extra values ignored") << QStringList{"code,name", "3,n,extra,more"} << true << 1
                                          << QStringList{"3|n|||"} << QStringList{};
    QTest::newRow("empty header name ignored") << QStringList{",code,name", "skip,4,n"} << true << 1
                                               << QStringList{"4|n|||"} << QStringList{};
    QTest::newRow("unknown header name always reported")
        << QStringList{"code,nosuch,name", "5,zz,n"} << false << 1 << QStringList{"5|n|||"}
        << QStringList{"ＣＳＶ項目（nosuch）がデータ項目にありません。"};
    QTest::newRow("refused line reported, next line read")
        << QStringList{"code,name", "6,a", "6,b", "7,c"} << true << 2
        << QStringList{"6|a|||", "7|c|||"} << QStringList{"ＣＳＶ（2行目）を読み込みできません。"};
    QTest::newRow("refused value keeps the field empty")
        << QStringList{"code,name,amount", "8,a,abc"} << true << 1 << QStringList{"8|a|||"}
        << QStringList{};
    QTest::newRow("dates and amounts")
        << QStringList{"code,amount,d", "9,1234.5,2018/03/31"} << true << 1
        << QStringList{"9||1234.5|2018/03/31|"} << QStringList{};
}

void TestLibXGrid::importLines() {
    QFETCH(QStringList, lines);
    QFETCH(bool, showErrors);
    QFETCH(int, result);
    QFETCH(QStringList, rows);
    QFETCH(QStringList, reports);
    Exchange x(0);
    x.grid.FShowErrDlg = showErrors;
    x.writeFile(utf16(lines));
    QCOMPARE(x.grid.LoadCsvFile(), result);
    QCOMPARE(x.rows(), rows);
    QCOMPARE(x.boxes.errors, reports);
    QVERIFY(x.table.isActive());
    QVERIFY(x.grid.window()->isEnabled());
}

void TestLibXGrid::fileEncodings_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("windows-31j without mark")
        << QByteArray("code,name\r\n1,\x95\x94\x96\xE5\x81\x60\r\n");
    QTest::newRow("utf-8 without mark") << QStringLiteral("code,name\n1,部門～\n").toUtf8();
    QTest::newRow("utf-8 with mark")
        << QByteArray("\xEF\xBB\xBF") + QStringLiteral("code,name\r1,部門～").toUtf8();
    QStringEncoder little(QStringEncoder::Utf16LE);
    QTest::newRow("utf-16le without mark")
        << QByteArray(little.encode(QStringLiteral("code\tname\r\n1\t部門～\r\n")));
}

void TestLibXGrid::fileEncodings() {
    QFETCH(QByteArray, bytes);
    Exchange x(0);
    x.writeFile(bytes);
    QCOMPARE(x.grid.LoadCsvFile(), 1);
    QCOMPARE(x.rows(), QStringList{"1|部門～|||"});
}

void TestLibXGrid::emptyAndHeaderOnlyFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("empty file") << QByteArray()
                                << QStringList{"ＣＳＶ読込中にエラーが発生しました。"};
    QTest::newRow("mark only") << QByteArray("\xFF\xFE")
                               << QStringList{"ＣＳＶ読込中にエラーが発生しました。"};
    QTest::newRow("header only") << utf16({"code,name"}) << QStringList{};
}

void TestLibXGrid::emptyAndHeaderOnlyFiles() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, reports);
    Exchange x(1);
    x.writeFile(bytes);
    QCOMPARE(x.grid.LoadCsvFile(), 0);
    QCOMPARE(x.boxes.errors, reports);
    QCOMPARE(x.rows().size(), 1);
    QVERIFY(x.table.isActive());
}

void TestLibXGrid::unreadableFile() {
    Exchange x;
    x.grid.FCSVFileName = x.folder.path() + QStringLiteral("/none.csv");
    QCOMPARE(x.grid.LoadCsvFile(), 0);
    x.grid.FCSVFileName = x.folder.path() + QStringLiteral("/bad.csv");
    x.writeFile(QByteArray("\x81\x20\xFF\xFF\xFE", 5));
    QCOMPARE(x.grid.LoadCsvFile(), 0);
    QCOMPARE(x.boxes.errors, (QStringList{"ＣＳＶファイルが読み込みできません。",
                                          "ＣＳＶファイルが読み込みできません。"}));
}

void TestLibXGrid::cancelledImport() {
    Exchange x(0);
    QStringList lines{"code,name"};
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("%1,n%1").arg(i);
    x.writeFile(utf16(lines));
    Canceller cancel(x.grid, 10);
    const int result = x.grid.LoadCsvFile();
    QCOMPARE(cancel.seen.first(), QStringLiteral("データ読込中"));
    QVERIFY(result < 0);
    // The records stored before the cancel stay; the count says how many.
    QCOMPARE(x.rows().size(), -result);
    QVERIFY(-result >= 9 && -result <= 11);
}

void TestLibXGrid::escapeOrCloseCancels_data() {
    QTest::addColumn<bool>("exporting");
    QTest::addColumn<bool>("escape");
    QTest::newRow("export, Esc") << true << true;
    QTest::newRow("export, window manager's close") << true << false;
    QTest::newRow("import, Esc") << false << true;
    QTest::newRow("import, window manager's close") << false << false;
}

void TestLibXGrid::escapeOrCloseCancels() {
    QFETCH(bool, exporting);
    QFETCH(bool, escape);
    Exchange x(exporting ? 40 : 0);
    QStringList lines{"code,name"};
    for (int i = 1; i <= 40; ++i)
        lines << QStringLiteral("%1,n%1").arg(i);
    if (!exporting)
        x.writeFile(utf16(lines));
    Canceller cancel(x.grid, 10, [escape](TLibXGrid& grid) {
        if (escape)
            QTest::keyClick(grid.progressWindow(), Qt::Key_Escape);
        else
            grid.progressWindow()->close();
    });
    const int result = exporting ? x.grid.CopyCsvFile() : x.grid.LoadCsvFile();
    // As the cancel button: the window stays up until the operation stops.
    QVERIFY(cancel.shownAfter);
    QVERIFY(result < 0);
    QVERIFY(x.grid.window()->isEnabled());
    QVERIFY(!x.grid.progressWindow());
}

void TestLibXGrid::refusedInserts_data() {
    QTest::addColumn<int>("allowed"); // rows the data set takes before it refuses inserts
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("reports");
    QTest::newRow("every insert refused")
        << 0 << 0 << QStringList{"ＣＳＶ（1行目）を読み込みできません。"};
    QTest::newRow("refused after two rows")
        << 2 << 2 << QStringList{"ＣＳＶ（3行目）を読み込みできません。"};
}

void TestLibXGrid::refusedInserts() {
    QFETCH(int, allowed);
    QFETCH(int, result);
    QFETCH(QStringList, reports);
    Exchange x(0);
    x.table.setBeforeInsert([allowed](store::DataSet& data) {
        if (data.recordCount() >= allowed)
            throw Abort();
    });
    QStringList lines{"code,name"};
    for (int i = 1; i <= 50; ++i)
        lines << QStringLiteral("%1,n%1").arg(i);
    x.writeFile(utf16(lines));
    // One report for the line refused, and the reading ends there.
    QCOMPARE(x.grid.LoadCsvFile(), result);
    QCOMPARE(x.boxes.errors, reports);
    QCOMPARE(x.rows().size(), result);
    QVERIFY(x.table.isActive());
    QVERIFY(x.grid.window()->isEnabled());
    QVERIFY(!x.grid.progressWindow());
}

void TestLibXGrid::displayFormats() {
    Exchange x(1);
    x.grid.UsingSet(x.table.fieldByName("amount"), QStringLiteral("#,##0"));
    x.grid.UsingSet(x.table.fieldByName("d"), QStringLiteral("yyyy年m月d日"));
    x.grid.UsingSet(x.table.fieldByName("name"),
                    QStringLiteral("#,##0")); // not numeric: left alone
    x.grid.FColumnName = false;
    QCOMPARE(x.grid.CopyCsvFile(), 1);
    QCOMPARE(x.fileLines(), QStringList{"\"1\"\t\"名前1\"\t\"1,001\"\t\"2017年4月2日\"\t\"\""});
}

void TestLibXGrid::contextMenu() {
    Chooser chooser;
    Exchange x(2);
    const QString own = x.grid.FCSVFileName;
    chooser.file = x.folder.path() + QStringLiteral("/menu.csv");
    x.grid.setFileChooser(&chooser);
    x.grid.setCsvMenu(true, true);
    x.grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.grid));
    pickFromMenu(x.grid, QStringLiteral("CSV出力…"));
    QCOMPARE(x.grid.FCSVFileName, own);
    x.grid.FCSVFileName = chooser.file;
    QCOMPARE(x.fileLines().size(), 3);
    x.grid.FCSVFileName = own;
    x.empty();
    pickFromMenu(x.grid, QStringLiteral("CSV読込…"));
    QCOMPARE(x.rows().size(), 2);
    QCOMPARE(x.grid.FCSVFileName, own);
}

void TestLibXGrid::menuFileLeftAloneByExcelOutput() {
    Viewer viewer;
    Chooser chooser;
    Exchange x(0);
    chooser.file = x.folder.path() + QStringLiteral("/users.csv");
    const QByteArray users("code,name\r\n1,\x95\x94\x96\xE5\r\n"); // Windows-31J
    {
        QFile file(chooser.file);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(users);
    }
    x.grid.setFileChooser(&chooser);
    x.grid.setCsvMenu(true, true);
    x.grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&x.grid));
    pickFromMenu(x.grid, QStringLiteral("CSV読込…"));
    QCOMPARE(x.rows(), QStringList{"1|部門|||"});
    pickFromMenu(x.grid, QStringLiteral("Excel出力"));
    // The copy went through the grid's own file; the user's file is as it was.
    QCOMPARE(viewer.opened, QStringList{x.folder.path() + QStringLiteral("/out.xlsx")});
    QFile file(chooser.file);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), users);
    QVERIFY(!QFile::exists(x.folder.path() + QStringLiteral("/users.xlsx")));
    QVERIFY(x.boxes.errors.isEmpty());
}

void TestLibXGrid::failedExportGivesNoSheet() {
    Viewer viewer;
    Exchange x(3);
    const QByteArray earlier = utf16({"\"an earlier file\""});
    x.writeFile(earlier);
    // The second record's amount is no number, so its formatted text fails.
    store::Query update(x.session, x.dir);
    update.setSql(QStringLiteral("UPDATE X SET amount = 'abc' WHERE code = 2"));
    update.execSql();
    x.table.close();
    x.table.open();
    x.grid.UsingSet(x.table.fieldByName("amount"), QStringLiteral("#,##0"));
    QVERIFY(!x.grid.CopyExcel());
    QCOMPARE(x.grid.FCSVRecmax, 2); // the title line and the first record
    QCOMPARE(x.boxes.errors, QStringList{"ＣＳＶ出力中にエラーが発生しました。"});
    QVERIFY(viewer.opened.isEmpty());
    QCOMPARE(x.fileBytes(), earlier);
    QVERIFY(!QFile::exists(x.folder.path() + QStringLiteral("/out.xlsx")));
    QVERIFY_THROWS_EXCEPTION(
        sheet::AutomationError,
        sheet::AutomationClasses::process().getActiveObject(sheet::kSpreadsheetClass));
}

void TestLibXGrid::spreadsheetCopy() {
    Viewer viewer;
    QStringList& opened = viewer.opened;
    QList<GridColumn> columns = Exchange::defaultColumns();
    columns[4].visible = false;
    Exchange x(3, columns);
    x.grid.FSheetName = QStringLiteral("部門");
    QVERIFY(x.grid.CopyExcel());
    QCOMPARE(x.grid.FCSVRecmax, 4);
    const QString xlsx = x.folder.path() + QStringLiteral("/out.xlsx");
    QCOMPARE(opened, QStringList{xlsx});
    QVERIFY(QFileInfo(xlsx).size() > 0);
    QVERIFY(x.boxes.errors.isEmpty());
    // A second copy attaches to the running instance.
    QVERIFY(x.grid.CopyExcel());
    QCOMPARE(opened.size(), 2);
    QCOMPARE(TLibXGrid::ColumnLetters(27), QStringLiteral("AA"));
    QCOMPARE(TLibXGrid::RangeText(1, 1, 10, 2), QStringLiteral("A1:C11"));
    // Nothing exported, nothing shown, nothing reported.
    x.table.edit();
    x.grid.FShowErrDlg = false;
    QVERIFY(!x.grid.CopyExcel());
    QCOMPARE(opened.size(), 2);
}

QTEST_MAIN(TestLibXGrid)
#include "tst_libxgrid.moc"
