#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <utility>

namespace marubo::sheet {

// The in-process spreadsheet's data: workbooks of one sheet each, cells as
// texts (numbers where the text is one), and the formats set on ranges, kept
// in the order they were set so that a later setting wins.

inline constexpr int kSheetRows = 1048576;
inline constexpr int kSheetColumns = 16384;

// A block of cells, 1-based and inclusive.
struct CellArea {
    int top = 1;
    int left = 1;
    int bottom = 1;
    int right = 1;

    static CellArea wholeSheet() { return {1, 1, kSheetRows, kSheetColumns}; }
    bool isWholeSheet() const { return *this == wholeSheet(); }
    bool contains(int row, int column) const {
        return row >= top && row <= bottom && column >= left && column <= right;
    }
    qint64 cellCount() const { return qint64(bottom - top + 1) * (right - left + 1); }
    bool operator==(const CellArea&) const = default;
};

// "A1", "B2:C11", "$A$1:$C$3" (letters case-insensitive); none for any other text.
std::optional<CellArea> parseRangeAddress(const QString& address);

enum class FormatProperty {
    NumberFormat, // an integer (a built-in format number) or a format text
    BorderWeight, // the spreadsheet's weights: 1 hairline, 2 thin, -4138 medium, 4 thick
    BorderColor,  // colours: 0x00BBGGRR, red in the low byte
    FillColor,
    FontSize,
    FontName,
    FontColor,
    Bold,
    Italic,
    Strikethrough,
};

struct FormatSetting {
    CellArea area;
    FormatProperty property;
    QVariant value;
};

// What the settings give one cell (unset members keep the defaults).
struct CellFormat {
    std::optional<QVariant> numberFormat;
    std::optional<int> borderWeight;
    std::optional<quint32> borderColor;
    std::optional<quint32> fillColor;
    std::optional<double> fontSize;
    std::optional<QString> fontName;
    std::optional<quint32> fontColor;
    bool bold = false;
    bool italic = false;
    bool strikethrough = false;

    void apply(const FormatSetting& setting);
    bool operator==(const CellFormat&) const = default;
};

struct Cell {
    QString text;                 // as read, and as the cell shows it
    std::optional<double> number; // when the text is a number
    QString numberFormat;         // the format the text was written in ("#,##0"), or empty
};

struct Worksheet {
    QString name;
    std::map<std::pair<int, int>, Cell> cells; // by (row, column)
    QList<FormatSetting> formats;
    std::map<int, double> columnWidths; // in characters of the default font
    QString centerHeader;
    int orientation = 1; // 1 portrait, 2 landscape
    std::pair<int, int> selection{1, 1};

    // The text the cell shows; empty for an empty cell.
    QString text(int row, int column) const;
    CellFormat formatAt(int row, int column) const;
    // The last row and column that hold a value (0 when none).
    int lastRow() const;
    int lastColumn() const;
    // Fits the columns from `first` to `last` to the texts they hold; empty
    // columns keep their width.
    void autoFit(int first, int last);
};

struct Workbook {
    QString name; // the file name, or "Book1" for a new book
    QString path; // the file it was read from; empty for a new book
    Worksheet sheet;
};

// The width of a text in characters of the default font: full-width
// characters count double.
double textWidthUnits(const QString& text);

// The sheet of a CSV file as the grids export it (UTF-16 LE with its
// byte-order mark, TAB or comma separated, quoted values), or any of the
// encodings the grids read. Throws AutomationError when the file cannot be
// read or is no text.
Workbook readCsvWorkbook(const QString& path);

// A valid sheet name: 1 to 31 characters, none of : \ / ? * [ ], not
// beginning or ending with an apostrophe.
bool isValidSheetName(const QString& name);

} // namespace marubo::sheet
