#include "LibXGrid.h"

#include "FileChooser.h"
#include "MessageBoxes.h"
#include "sheet/ProgressWindow.h"
#include "sheet/SheetCopy.h"
#include "store/DataSet.h"
#include "store/EngineError.h"
#include "util/Abort.h"
#include "util/CsvText.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QProgressBar>
#include <QSaveFile>
#include <QScopeGuard>

namespace marubo::controls {

namespace {

const QString kNothingToExport = QStringLiteral("出力するデータがありません。");
const QString kCannotCreate = QStringLiteral("ＣＳＶファイルが作成できません。");
const QString kExportFailed = QStringLiteral("ＣＳＶ出力中にエラーが発生しました。");
const QString kNothingToImport = QStringLiteral("書込可能なデータがありません。");
const QString kCannotRead = QStringLiteral("ＣＳＶファイルが読み込みできません。");
const QString kImportFailed = QStringLiteral("ＣＳＶ読込中にエラーが発生しました。");
const QString kExporting = QStringLiteral("データ出力中");
const QString kImporting = QStringLiteral("データ読込中");
const QString kPreparing = QStringLiteral("準備中");

// A failure of the operation itself (not of one line), after its report.
struct Failed {};

} // namespace

TLibXGrid::TLibXGrid(QWidget* parent) : TLibGrid(parent) {
    FCSVFileName = CsvFilePath(QString());
    ownBoxes_ = std::make_unique<DialogMessageBoxes>();
    boxes_ = ownBoxes_.get();
    ownChooser_ = std::make_unique<DialogFileChooser>();
    chooser_ = ownChooser_.get();
}

TLibXGrid::~TLibXGrid() {
    closeProgress();
}

QString TLibXGrid::CsvFilePath(const QString& path) {
    if (!path.isEmpty())
        return path;
    const QString folder =
        QDir::toNativeSeparators(QCoreApplication::applicationDirPath()) + QDir::separator();
    const QString csvFolder = folder + QStringLiteral("CSV") + QDir::separator();
    if (QFileInfo(csvFolder).isDir())
        return csvFolder + QStringLiteral("TMP$$$.CSV");
    return folder + QStringLiteral("TMP$$$.CSV");
}

void TLibXGrid::setMessageBoxes(MessageBoxes* boxes) {
    boxes_ = boxes ? boxes : ownBoxes_.get();
}

void TLibXGrid::setFileChooser(FileChooser* chooser) {
    chooser_ = chooser ? chooser : ownChooser_.get();
}

void TLibXGrid::setCsvMenu(bool exportItem, bool importItem) {
    exportItem_ = exportItem;
    importItem_ = importItem;
}

void TLibXGrid::report(const QString& text, bool always) {
    if (!FShowErrDlg && !always)
        return;
    QApplication::beep();
    boxes_->showError(this, text);
}

void TLibXGrid::ProButtonClick() {
    CancelFlg = true;
}

bool TLibXGrid::CopyExcel() {
    sheet::SheetCopySettings settings;
    settings.csvPath = CsvFilePath(FCSVFileName);
    settings.lastColumn = horizontalHeader()->count() - 1; // hidden columns included
    settings.columnName = FColumnName;
    settings.autoFit = FAutoFit;
    settings.sheetName = FSheetName;
    settings.cellFont = FCellFont;
    settings.cellFontColor = FCellFontColor;
    settings.cellBorderWeight = FCellBorderWeight;
    settings.cellBorderColor = FCellBorderColor;
    settings.cellColor = FCellColor;
    settings.cellTitleColor = FCellTitleColor;
    settings.landscape = FPageOrientation == xlLandscape;
    settings.showErrDlg = FShowErrDlg;
    sheet::SheetCopyHooks hooks;
    hooks.copyCsvFile = [this] {
        FCSVRecmax = CopyCsvFile();
        // A failed export replaced nothing: the file there is an older one.
        return exportFailed_ ? 0 : FCSVRecmax;
    };
    hooks.container = window();
    hooks.boxes = boxes_;
    return sheet::CopyExcel(settings, hooks);
}

QString TLibXGrid::RangeText(int row, int column, int rowSpan, int columnSpan) {
    return sheet::RangeText(row, column, rowSpan, columnSpan);
}

QString TLibXGrid::ColumnLetters(int n) {
    return sheet::ColumnLetters(n);
}

void TLibXGrid::UsingSet(store::Field& field, const QString& UText) {
    const store::FieldDef& def = field.def();
    if (def.isNumeric() || def.type == store::FieldType::Date)
        field.dataSet().setDisplayFormat(field.fieldName(), UText);
}

// ---- the progress window ------------------------------------------------------

void TLibXGrid::openProgress(const QString& caption, bool withCancel) {
    closeProgress();
    window()->setEnabled(false);
    std::function<void()> cancel;
    if (withCancel)
        cancel = [this] { ProButtonClick(); };
    auto* dialog = new sheet::ProgressWindow(caption, kPreparing, std::move(cancel));
    progress_.window = dialog;
    progress_.bar = dialog->bar();
    progress_.bar->setRange(0, 0);
    progress_.label = dialog->label();
    progress_.cancel = dialog->cancelButton();
    progress_.counter = 0;
    dialog->show();
    QCoreApplication::processEvents();
}

void TLibXGrid::stepProgress() {
    ++progress_.counter;
    if (progress_.bar && progress_.bar->maximum() > 0)
        progress_.bar->setValue(qMin(progress_.counter, progress_.bar->maximum()));
    if (progress_.counter % 10 == 0)
        showCount();
    QCoreApplication::processEvents(); // lets the cancel button be pressed
}

void TLibXGrid::showCount() {
    if (progress_.label)
        progress_.label->setText(QString::asprintf("%d / %d", progress_.counter,
                                                   progress_.bar ? progress_.bar->maximum() : 0));
}

void TLibXGrid::closeProgress() {
    if (!progress_.window)
        return;
    sheet::releaseContainer(window());
    delete progress_.window.data();
    progress_ = Progress{};
}

// ---- export ---------------------------------------------------------------------

QList<int> TLibXGrid::exportedColumns() const {
    // In the grid's order (after any drag); a hidden column has no width.
    QList<int> columns;
    const QHeaderView* header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!isColumnHidden(logical) && columnWidth(logical) > 0)
            columns << logical;
    }
    return columns;
}

int TLibXGrid::CopyCsvFile() {
    exportFailed_ = false;
    openProgress(kExporting, true);
    CancelFlg = false;
    int count = 0;
    FileString.clear();
    DataSetModel* model = dataSetModel();
    if (!model || model->dataSet().state() != store::DataSetState::Browse) {
        closeProgress();
        report(kNothingToExport);
        return 0;
    }
    store::DataSet& data = model->dataSet();
    // The file is written under another name and put in place at the end, so
    // that an earlier file is replaced whole or not at all.
    QSaveFile file(CsvFilePath(FCSVFileName));
    if (!file.open(QIODevice::WriteOnly)) {
        closeProgress();
        report(kCannotCreate);
        return 0;
    }
    const QHeaderView* header = horizontalHeader();
    const QList<int> columns = exportedColumns();
    bool controlsDisabled = false;
    try {
        if (FColumnName) {
            QList<CsvColumnValue> titles;
            for (int column : columns)
                titles << CsvColumnValue{
                    header->visualIndex(column),
                    trimControl(model->headerData(column, Qt::Horizontal).toString())};
            FileString << csvLine(titles, FCSVCommaText);
            ++count;
        }
        QList<store::Field*> fields;
        for (int column : columns)
            fields << data.findField(model->columns()[column].fieldName);
        data.disableControls();
        controlsDisabled = true;
        data.first();
        progress_.bar->setRange(0, int(data.recordCount()));
        while (!data.eof()) {
            stepProgress();
            if (CancelFlg) {
                count = -count;
                break;
            }
            QList<CsvColumnValue> values;
            for (qsizetype i = 0; i < columns.size(); ++i) {
                CsvColumnValue value{header->visualIndex(columns[i]), std::nullopt};
                if (fields[i])
                    value.value = trimControl(fields[i]->displayText());
                values << value;
            }
            FileString << csvLine(values, FCSVCommaText);
            ++count;
            data.next();
        }
        showCount();
        QCoreApplication::processEvents();
        data.first();
        data.enableControls();
        controlsDisabled = false;
        // A cancelled export keeps what was written, as its negative count says.
        if (file.write(encodeCsvFile(FileString)) < 0 || !file.commit())
            throw Failed{};
        closeProgress();
        return count;
    } catch (...) {
        if (controlsDisabled)
            data.enableControls();
        file.cancelWriting();
        exportFailed_ = true;
        closeProgress();
        report(kExportFailed);
        return count;
    }
}

// ---- import ---------------------------------------------------------------------

int TLibXGrid::LoadCsvFile() {
    openProgress(kImporting, true);
    QStringList headerNames; // the header map
    QStringList values;      // the values of the current line
    CancelFlg = false;
    int result = 0;
    FileString.clear();
    DataSetModel* model = dataSetModel();
    if (!model || model->dataSet().state() != store::DataSetState::Browse) {
        closeProgress();
        report(kNothingToImport);
        return 0;
    }
    store::DataSet& data = model->dataSet();
    {
        QFile file(CsvFilePath(FCSVFileName));
        const std::optional<QString> text =
            file.open(QIODevice::ReadOnly) ? decodeCsvFile(file.readAll()) : std::nullopt;
        if (!text) {
            closeProgress();
            report(kCannotRead);
            return 0;
        }
        FileString = splitTextLines(*text);
    }
    bool controlsDisabled = false;
    try {
        if (FileString.isEmpty())
            throw Failed{}; // not even a header
        headerNames = splitCsvLine(FileString.first());
        QList<qsizetype> fieldOf; // per header position: the field's index, or -1
        for (const QString& name : std::as_const(headerNames)) {
            qsizetype index = -1;
            if (!name.isEmpty()) {
                if (const store::Field* field = data.findField(name))
                    index = field->index();
                else
                    report(QStringLiteral("ＣＳＶ項目（%1）がデータ項目にありません。").arg(name),
                           true);
            }
            fieldOf << index;
        }
        data.disableControls();
        controlsDisabled = true;
        data.first();
        progress_.bar->setRange(0, int(FileString.size()) - 1);
        for (qsizetype line = 1; line < FileString.size(); ++line) {
            stepProgress();
            if (CancelFlg) {
                result = -result;
                break;
            }
            bool inserted = false;
            // Reports the line; true when the loop ends here.
            auto refused = [&] {
                data.cancel();
                report(QStringLiteral("ＣＳＶ（%1行目）を読み込みできません。").arg(line));
                // A refused insert would refuse every later line the same way.
                return !inserted;
            };
            try {
                data.append();
                inserted = true;
                values = splitCsvLine(FileString[line]);
                for (qsizetype k = 0; k < values.size() && k < fieldOf.size(); ++k) {
                    if (fieldOf[k] < 0)
                        continue;
                    try {
                        data.field(fieldOf[k]).setAsString(values[k]);
                    } catch (const store::EngineError&) {
                        // The field refuses the text: it keeps what the insert gave it.
                    }
                }
                data.post();
                ++result;
            } catch (const store::EngineError&) {
                if (refused())
                    break;
            } catch (const Abort&) {
                if (refused())
                    break;
            }
        }
        showCount();
        QCoreApplication::processEvents();
        data.close();
        data.open();
        data.first();
        data.enableControls();
        controlsDisabled = false;
        closeProgress();
        return result;
    } catch (...) {
        if (controlsDisabled)
            data.enableControls();
        closeProgress();
        report(kImportFailed);
        return result;
    }
}

// ---- the context menu ---------------------------------------------------------

void TLibXGrid::contextMenuEvent(QContextMenuEvent* event) {
    if (!exportItem_ && !importItem_) {
        TLibGrid::contextMenuEvent(event);
        return;
    }
    QMenu menu(this);
    if (exportItem_) {
        menu.addAction(QStringLiteral("CSV出力…"), this, &TLibXGrid::exportFromMenu);
        menu.addAction(QStringLiteral("Excel出力"), this, &TLibXGrid::sheetFromMenu);
    }
    if (importItem_)
        menu.addAction(QStringLiteral("CSV読込…"), this, &TLibXGrid::importFromMenu);
    menu.exec(event->globalPos());
}

// The user's file stands in for FCSVFileName during this one operation only:
// the grid's own file stays the one that Excel出力 writes and replaces.
void TLibXGrid::runOnFile(const QString& path, int (TLibXGrid::*operation)()) {
    const QString own = std::exchange(FCSVFileName, QDir::toNativeSeparators(path));
    const auto restore = qScopeGuard([this, &own] { FCSVFileName = own; });
    (this->*operation)();
}

void TLibXGrid::exportFromMenu() {
    commitPendingEdit();
    const QString path =
        chooser_->saveFile(this, QStringLiteral("CSV出力"), CsvFilePath(FCSVFileName));
    if (path.isEmpty())
        return;
    runOnFile(path, &TLibXGrid::CopyCsvFile);
}

void TLibXGrid::sheetFromMenu() {
    commitPendingEdit();
    CopyExcel();
}

void TLibXGrid::importFromMenu() {
    commitPendingEdit();
    const QString path = chooser_->openFile(this, QStringLiteral("CSV読込"));
    if (path.isEmpty())
        return;
    runOnFile(path, &TLibXGrid::LoadCsvFile);
}

} // namespace marubo::controls
