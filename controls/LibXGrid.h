#pragma once

#include "LibGrid.h"

#include <QDialog>
#include <QFont>
#include <QPointer>
#include <QStringList>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;

namespace marubo {
class FileChooser;
class MessageBoxes;
} // namespace marubo

namespace marubo::store {
class Field;
}

namespace marubo::controls {

// The line grid with exchange operations on the rows of the data set it shows:
// CopyCsvFile writes the visible columns, record by record, to a CSV file;
// LoadCsvFile appends the lines of a CSV file as new records; UsingSet sets a
// field's display format. Each operation shows a small progress window with a
// cancel button, and keeps the containing window disabled while it runs.
class TLibXGrid : public TLibGrid {
    Q_OBJECT
public:
    enum TPageOrientation { xlPortrait = 0, xlLandscape = 1 };
    // A colour value that stands for no colour.
    static constexpr quint32 clNone = 536870911;

    explicit TLibXGrid(QWidget* parent = nullptr);
    ~TLibXGrid() override;

    // Settings, as public fields with their initial values.
    QStringList FileString;              // the lines being written or read
    bool CancelFlg = false;              // set by the progress window's cancel button
    bool FColumnName = true;             // CopyCsvFile writes a title line first
    bool FShowErrDlg = true;             // failures are reported in message boxes
    bool FAutoFit = true;                // spreadsheet copy: fit the column widths
    QString FSheetName;                  // spreadsheet copy: the sheet's name
    QFont FCellFont;                     // spreadsheet copy: the font of every cell
    quint32 FCellFontColor = 0x80000008; // spreadsheet copy: that font\'s colour (window text)
    int FCellBorderWeight = 2;           // spreadsheet copy: 0 means no borders
    quint32 FCellBorderColor = 0;        // spreadsheet copy: black
    quint32 FCellColor = clNone;         // spreadsheet copy: fill of the whole range
    quint32 FCellTitleColor = clNone;    // spreadsheet copy: fill of the title row
    TPageOrientation FPageOrientation = xlPortrait;
    QString FCSVFileName;                         // the CSV file of the exchange operations
    int FCSVRecmax = 0;                           // lines written by the last spreadsheet copy
    QString FCSVCommaText = QStringLiteral("\t"); // separator written between values

    // The CSV path to use: a non-empty path unchanged; otherwise "TMP$$$.CSV"
    // in the folder "CSV" beside the program when that folder exists, else
    // beside the program.
    static QString CsvFilePath(const QString& path);

    // Writes the grid's visible columns to the CSV file. Returns the number of
    // lines written (title line included), its negative when cancelled, 0 when
    // nothing could be written. The file is replaced as a whole, never left
    // half-written.
    int CopyCsvFile();
    // Appends the lines of the CSV file as records. Returns the number of
    // records stored, its negative when cancelled. A line the data set
    // refuses is reported and skipped; when it refuses the insert itself the
    // reading ends there.
    int LoadCsvFile();
    // The grid's rows as a formatted sheet of the spreadsheet application, shown
    // (written as an .xlsx file beside the CSV file and opened). Writes the CSV
    // file first; FCSVRecmax takes its line count. True when the sheet is shown;
    // false when the export failed or wrote nothing.
    bool CopyExcel();
    // The spreadsheet copy's helpers (see controls/sheet/SheetCopy.h).
    static QString RangeText(int row, int column, int rowSpan, int columnSpan);
    static QString ColumnLetters(int n);

    // The display format of a numeric or date field; other fields are left alone.
    void UsingSet(store::Field& field, const QString& UText);
    // The cancel button of the progress window.
    void ProButtonClick();

    // Where reports go (default: the toolkit's message boxes); not owned.
    void setMessageBoxes(MessageBoxes* boxes);
    MessageBoxes* messageBoxes() const { return boxes_; }
    // Where file names come from for the context menu (default: the toolkit's
    // file dialogs); not owned.
    void setFileChooser(FileChooser* chooser);
    // The context menu: "CSV出力…", "Excel出力" and, when asked for, "CSV読込…".
    // The file chosen for a CSV item serves that one operation; FCSVFileName
    // is left as it was.
    void setCsvMenu(bool exportItem, bool importItem);

    // The progress window of the operation under way, or null.
    QDialog* progressWindow() const { return progress_.window; }
    QPushButton* progressCancelButton() const { return progress_.cancel; }

    // Reports a failure: a beep, then an error box (only with FShowErrDlg unless `always`).
    void report(const QString& text, bool always = false);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    struct Progress {
        QPointer<QDialog> window;
        QProgressBar* bar = nullptr;
        QLabel* label = nullptr;
        QPushButton* cancel = nullptr;
        int counter = 0;
    };
    void openProgress(const QString& caption, bool withCancel);
    void stepProgress();
    void showCount();
    void closeProgress();
    QList<int> exportedColumns() const; // logical columns in the grid's order, width > 0
    void exportFromMenu();
    void sheetFromMenu();
    void importFromMenu();
    void runOnFile(const QString& path, int (TLibXGrid::*operation)());

    Progress progress_;
    std::unique_ptr<MessageBoxes> ownBoxes_;
    std::unique_ptr<FileChooser> ownChooser_;
    MessageBoxes* boxes_ = nullptr;
    FileChooser* chooser_ = nullptr;
    bool exportItem_ = true;
    bool importItem_ = false;
    bool exportFailed_ = false; // the last CopyCsvFile failed after opening its file
};

} // namespace marubo::controls
