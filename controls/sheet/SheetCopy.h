#pragma once

#include "Automation.h"

#include <QFont>
#include <QString>
#include <functional>

class QWidget;

namespace marubo {
class MessageBoxes;
}

namespace marubo::sheet {

// Colour values as the grids hold them: red in the low byte; values with the
// high byte set are system colours or "no colour".
inline constexpr quint32 clNone = 536870911;
inline constexpr quint32 clWindowText = 0x80000008;

// The grid's settings of its spreadsheet copy.
struct SheetCopySettings {
    QString csvPath;                      // the CSV file the export writes
    int lastColumn = 0;                   // grid columns, hidden ones included, less 1
    bool columnName = true;               // the export writes a title line
    bool autoFit = true;                  // fit the widths of all columns
    QString sheetName;                    // empty leaves the sheet's name alone
    QFont cellFont;                       // the font of every cell
    quint32 cellFontColor = clWindowText; // that font's colour
    int cellBorderWeight = 2;             // 0: no borders
    quint32 cellBorderColor = 0;          // black
    quint32 cellColor = clNone;           // fill of the whole range
    quint32 cellTitleColor = clNone;      // fill of the title row
    bool landscape = false;               // page orientation
    bool showErrDlg = true;               // failures are reported (beep and box)
};

// What the copy calls outside itself.
struct SheetCopyHooks {
    // Writes the CSV file: the number of lines written, its negative when the
    // user cancelled, 0 when nothing could be written or the export failed
    // (whatever file is there then is not this export's).
    std::function<int()> copyCsvFile;
    // Disabled while the progress window is open; the parent of reports.
    QWidget* container = nullptr;
    // Where reports go; none shows the beep only.
    MessageBoxes* boxes = nullptr;
    // Where the spreadsheet application is found; none: the process's table.
    AutomationClasses* classes = nullptr;
};

// The grid's rows as a formatted sheet of the spreadsheet application:
// attaches to its running instance or starts one, adds a workbook, writes the
// CSV file, opens and formats it, sets the page orientation and shows the
// application (an instance that was running already gets WindowState 1).
// True when the sheet is shown. When the application cannot be started at all
// "Ｍｉｃｒｏｓｏｆｔ Ｅｘｃｅｌ が見つかりません。" is reported; when the export
// writes nothing the instance is given up without a report; any other failure
// reports "Ｅｘｃｅｌ出力中にエラーが発生しました。" and gives the instance up.
// A failure of a start other than a missing application is thrown on.
bool CopyExcel(const SheetCopySettings& settings, const SheetCopyHooks& hooks);

// Gives up the instance after a failure: alerts off, then Quit when this call
// started it, else the close of its active workbook.
void CloseExcel(AutomationObject& application, bool created);

// Opens the CSV file in place of every open workbook and formats its sheet:
// number format 64 in the columns whose title ends in ".", borders, fills,
// the font, the sheet name with the page header "&A", the column widths and
// the top-left cell selected. Shows the progress window meanwhile, with
// `container` disabled. A failure ends the formatting there, silently.
void FormatExcelSheet(AutomationObject& application, const QString& csvPath, int lastRow,
                      int lastColumn, int borderWeight, quint32 cellColor, quint32 borderColor,
                      quint32 titleColor, const QFont& font, quint32 fontColor,
                      const QString& sheetName, bool autoFit, bool columnName, QWidget* container);

// False when an open workbook of the application has exactly this name.
bool BookNameFree(AutomationObject& application, const QString& name);

// The address of the block from (row, column) spanning `rowSpan` more rows and
// `columnSpan` more columns: (1, 1, 10, 2) gives "A1:C11".
QString RangeText(int row, int column, int rowSpan, int columnSpan);

// The column name: "A" to "Z" for 1 to 26, two letters from 27 ("AA") to 702
// ("ZZ"); larger numbers are out of reach.
QString ColumnLetters(int n);

} // namespace marubo::sheet
