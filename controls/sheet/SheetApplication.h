#pragma once

#include "Automation.h"

#include <functional>

namespace marubo::sheet {

// Shows a finished .xlsx file to the user; false when nothing could open it.
using XlsxOpener = std::function<bool(const QString& xlsxPath)>;

// The class name the grid asks for.
inline const QString kSpreadsheetClass = QStringLiteral("Excel.Application");

// The in-process spreadsheet application, reached through the automation
// layer with the members the grid's spreadsheet copy uses:
//   Application: Workbooks, Workbooks(i), ActiveWorkbook, ActiveSheet,
//     Application, Visible, WindowState, DisplayAlerts, Quit
//   Workbooks: Add, Open(path, ReadOnly:=…), Close, Count, Item(i)
//   Workbook: Name, ActiveSheet, Close
//   Worksheet: Name, Range(address), Cells, Cells(row, column), PageSetup
//     (CenterHeader, Orientation)
//   Range: Text, NumberFormatLocal, Borders (Weight, Color), Interior (Color),
//     Font (Size, Name, Color, Bold, Italic, Strikethrough), EntireColumn,
//     AutoFit, Select
// Member names are matched without regard to letter case. Workbooks.Open
// reads a CSV file as the grids export it. Setting Visible to True writes the
// active workbook as an .xlsx file beside the file it was read from (same base
// name, ".xlsx") and hands it to `open`, with the wait cursor up meanwhile; a
// book without a file, a file that cannot be written, or an `open` that
// fails makes that setting fail (the written file stays). A started instance stays in the
// running table until it quits.
ObjectRef startSpreadsheetApplication(AutomationClasses& classes, XlsxOpener open);

// Registers the in-process spreadsheet under kSpreadsheetClass.
void registerSpreadsheetApplication(AutomationClasses& classes, XlsxOpener open);

// Opens a file with the desktop's default program; false when there is none
// (no desktop, or no opener such as xdg-open installed).
bool openWithDesktop(const QString& path);

} // namespace marubo::sheet
