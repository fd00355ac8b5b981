// marubo-csv export FOLDER TABLE FILE
// marubo-csv import FOLDER TABLE FILE
// marubo-csv xlsx FOLDER TABLE
// The grids' CSV exchange without a window: the table is shown, every field a
// column titled with its name, in a grid that is never displayed; the export
// or the import runs on it; xlsx runs the spreadsheet copy (through the CSV
// file TMP$$$.CSV beside the program) and prints the .xlsx file's path without
// opening it. Reports go to standard error, the result to standard output.

#include "controls/DataSetModel.h"
#include "controls/LibXGrid.h"
#include "controls/MessageBoxes.h"
#include "controls/sheet/SheetApplication.h"
#include "store/EngineError.h"
#include "store/Session.h"
#include "store/Table.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTextStream>

using namespace marubo;

namespace {

const QString kUsage = QStringLiteral(
    "使い方: marubo-csv export FOLDER TABLE FILE\n"
    "        marubo-csv import FOLDER TABLE FILE\n"
    "        marubo-csv xlsx FOLDER TABLE\n"
    "\n"
    "データフォルダ FOLDER のテーブル TABLE を、すべての項目を列（列名は項目名）とする表として、\n"
    "CSV ファイル FILE に書き出す（export）か、FILE の行をレコードとして追加します（import）。\n"
    "書き出すファイルは UTF-16LE（BOM 付き）、区切りはタブです。読み込むファイルは BOM があれば\n"
    "それに従い、なければ UTF-16（ゼロバイトの並びから LE/BE を判定）、UTF-8、\n"
    "Windows-31J（Shift_JIS）の順に判定して読みます。\n"
    "xlsx は表を Excel 形式の .xlsx ファイルに書き出し（開かずに）、そのパスを出します。\n"
    "件数を標準出力に、エラーを標準エラーに出します。\n"
    "\n"
    "終了コード: 0 成功、1 エラーが報告された、2 引数の誤り\n");

} // namespace

int main(int argc, char* argv[]) {
    // No window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 1 && (args[0] == u"--help" || args[0] == u"-h")) {
        out << kUsage;
        return 0;
    }
    const bool sheet = args.size() == 3 && args[0] == u"xlsx";
    if (!sheet && (args.size() != 4 || (args[0] != u"export" && args[0] != u"import"))) {
        err << kUsage;
        return 2;
    }
    const bool exporting = args[0] == u"export";

    store::Session session;
    store::Table table(session, args[1], args[2]);
    try {
        table.open();
    } catch (const store::EngineError& error) {
        err << error.message() << Qt::endl;
        return 1;
    }
    QList<controls::GridColumn> columns;
    for (const QString& name : table.fieldNames())
        columns << controls::GridColumn{name, name, 80};
    controls::DataSetModel model(table, columns);
    PrintedMessageBoxes reports;
    controls::TLibXGrid grid;
    grid.setDataSetModel(&model);
    grid.setMessageBoxes(&reports);
    if (sheet) {
        // The spreadsheet is written, never opened: its path is printed instead.
        QString written;
        sheet::registerSpreadsheetApplication(sheet::AutomationClasses::process(),
                                              [&written](const QString& path) {
                                                  written = path;
                                                  return true;
                                              });
        const bool shown = grid.CopyExcel();
        grid.setDataSetModel(nullptr);
        if (shown && !written.isEmpty())
            out << QDir::toNativeSeparators(written) << Qt::endl;
        return shown && reports.printed() == 0 ? 0 : 1;
    }
    grid.FCSVFileName = QDir::toNativeSeparators(QFileInfo(args[3]).absoluteFilePath());
    const int count = exporting ? grid.CopyCsvFile() : grid.LoadCsvFile();
    grid.setDataSetModel(nullptr);
    out << count << Qt::endl;
    return reports.printed() == 0 && count >= 0 ? 0 : 1;
}
