#include "XlsxOutput.h"

#include "Automation.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <set>
#include <xlsxwriter.h>

namespace marubo::sheet {

namespace {

constexpr qsizetype kMaxCellText = 32767; // the most a cell holds

std::optional<uint8_t> borderStyleOf(int weight) {
    switch (weight) {
    case 1:
        return LXW_BORDER_HAIR;
    case 2:
        return LXW_BORDER_THIN;
    case -4138:
        return LXW_BORDER_MEDIUM;
    case 4:
        return LXW_BORDER_THICK;
    default:
        return std::nullopt;
    }
}

// libxlsxwriter takes 0 for "not set"; black has a value of its own.
lxw_color_t lxwColour(quint32 rgb) {
    return rgb == 0 ? lxw_color_t(LXW_COLOR_BLACK) : lxw_color_t(rgb);
}

// The formats of one workbook, one per distinct look.
class FormatCache {
public:
    explicit FormatCache(lxw_workbook* workbook) : workbook_(workbook) {}

    // The format of a cell; null for the default look.
    lxw_format* get(const CellFormat& format, const QString& textFormat) {
        if (format == CellFormat() && textFormat.isEmpty())
            return nullptr;
        for (const auto& [known, knownText, made] : made_) {
            if (known == format && knownText == textFormat)
                return made;
        }
        lxw_format* made = workbook_add_format(workbook_);
        fill(made, format, textFormat);
        made_.push_back({format, textFormat, made});
        return made;
    }

private:
    static void fill(lxw_format* out, const CellFormat& format, const QString& textFormat) {
        if (format.numberFormat) {
            const QVariant& number = *format.numberFormat;
            if (number.typeId() == QMetaType::QString)
                format_set_num_format(out, number.toString().toUtf8().constData());
            else
                format_set_num_format_index(out, uint8_t(number.toInt()));
        } else if (!textFormat.isEmpty()) {
            format_set_num_format(out, textFormat.toUtf8().constData());
        }
        if (format.borderWeight) {
            if (const auto style = borderStyleOf(*format.borderWeight))
                format_set_border(out, *style);
        }
        if (format.borderColor) {
            if (const auto rgb = rgbOf(*format.borderColor))
                format_set_border_color(out, lxwColour(*rgb));
        }
        if (format.fillColor) {
            if (const auto rgb = rgbOf(*format.fillColor)) {
                format_set_pattern(out, LXW_PATTERN_SOLID);
                format_set_bg_color(out, lxwColour(*rgb));
            }
        }
        if (format.fontSize)
            format_set_font_size(out, *format.fontSize);
        if (format.fontName)
            format_set_font_name(out, format.fontName->toUtf8().constData());
        if (format.fontColor) {
            if (const auto rgb = rgbOf(*format.fontColor))
                format_set_font_color(out, lxwColour(*rgb));
        }
        if (format.bold)
            format_set_bold(out);
        if (format.italic)
            format_set_italic(out);
        if (format.strikethrough)
            format_set_font_strikeout(out);
    }

    struct Made {
        CellFormat format;
        QString textFormat;
        lxw_format* made;
    };
    lxw_workbook* workbook_;
    std::vector<Made> made_;
};

[[noreturn]] void fail(const QString& path, lxw_error error) {
    throw AutomationError(
        QStringLiteral("The file %1 cannot be written: %2")
            .arg(QDir::toNativeSeparators(path), QString::fromUtf8(lxw_strerror(error))));
}

void check(const QString& path, lxw_error error) {
    if (error != LXW_NO_ERROR)
        fail(path, error);
}

// The cells to write: every cell with a value and every cell of a range that
// was given a format (blank cells carry borders and fills too).
std::set<std::pair<int, int>> cellsToWrite(const Worksheet& sheet) {
    std::set<std::pair<int, int>> cells;
    for (const auto& [position, cell] : sheet.cells)
        cells.insert(position);
    for (const FormatSetting& setting : sheet.formats) {
        if (setting.area.isWholeSheet())
            continue; // applies through the column formats below
        for (int row = setting.area.top; row <= setting.area.bottom; ++row) {
            for (int column = setting.area.left; column <= setting.area.right; ++column)
                cells.insert({row, column});
        }
    }
    return cells;
}

// The look the whole sheet was given (the font of every cell, for instance).
CellFormat sheetFormat(const Worksheet& sheet) {
    CellFormat format;
    for (const FormatSetting& setting : sheet.formats) {
        if (setting.area.isWholeSheet())
            format.apply(setting);
    }
    return format;
}

void writeSheet(lxw_workbook* workbook, lxw_worksheet* worksheet, const Worksheet& sheet,
                const QString& path) {
    FormatCache formats(workbook);
    const std::set<std::pair<int, int>> cells = cellsToWrite(sheet);
    for (const auto& [row, column] : cells) {
        const lxw_row_t r = lxw_row_t(row - 1);
        const lxw_col_t c = lxw_col_t(column - 1);
        const auto found = sheet.cells.find({row, column});
        const Cell* cell = found == sheet.cells.end() ? nullptr : &found->second;
        lxw_format* format =
            formats.get(sheet.formatAt(row, column), cell ? cell->numberFormat : QString());
        if (!cell)
            check(path, worksheet_write_blank(worksheet, r, c, format));
        else if (cell->number)
            check(path, worksheet_write_number(worksheet, r, c, *cell->number, format));
        else
            check(path, worksheet_write_string(worksheet, r, c,
                                               cell->text.left(kMaxCellText).toUtf8().constData(),
                                               format));
    }

    // Columns: their widths, and the sheet-wide look for the empty cells of
    // the columns in use (beyond them the defaults stay, so that the sheet's
    // dimension is what it holds).
    lxw_format* columnFormat = formats.get(sheetFormat(sheet), QString());
    int lastUsed = 0;
    for (const auto& position : cells)
        lastUsed = std::max(lastUsed, position.second);
    for (int column = 1; column <= lastUsed; ++column) {
        const auto width = sheet.columnWidths.find(column);
        const bool fitted = width != sheet.columnWidths.end();
        if (fitted || columnFormat)
            check(path,
                  worksheet_set_column(worksheet, lxw_col_t(column - 1), lxw_col_t(column - 1),
                                       fitted ? width->second : LXW_DEF_COL_WIDTH, columnFormat));
    }

    if (!sheet.centerHeader.isEmpty())
        check(path,
              worksheet_set_header(
                  worksheet, (QStringLiteral("&C") + sheet.centerHeader).toUtf8().constData()));
    if (sheet.orientation == 2)
        worksheet_set_landscape(worksheet);
    const auto [row, column] = sheet.selection;
    worksheet_set_selection(worksheet, lxw_row_t(row - 1), lxw_col_t(column - 1),
                            lxw_row_t(row - 1), lxw_col_t(column - 1));
}

} // namespace

std::optional<quint32> rgbOf(quint32 gridColour) {
    if (gridColour > 0xFFFFFF)
        return std::nullopt;
    return ((gridColour & 0xFF) << 16) | (gridColour & 0xFF00) | ((gridColour >> 16) & 0xFF);
}

void writeXlsx(const Workbook& book, const QString& path) {
    const QFileInfo target(path);
    // libxlsxwriter writes to a name of our own beside the target first.
    QString partPath;
    for (int n = 0; partPath.isEmpty() || QFileInfo::exists(partPath); ++n)
        partPath = target.absoluteDir().filePath(QStringLiteral(".%1.%2-%3.part")
                                                     .arg(target.fileName())
                                                     .arg(QCoreApplication::applicationPid())
                                                     .arg(n));

    lxw_workbook* workbook = workbook_new(QFile::encodeName(partPath).constData());
    if (!workbook)
        fail(partPath, LXW_ERROR_MEMORY_MALLOC_FAILED);
    lxw_worksheet* worksheet =
        workbook_add_worksheet(workbook, book.sheet.name.toUtf8().constData());
    if (!worksheet) {
        lxw_workbook_free(workbook);
        throw AutomationError(
            QStringLiteral("The sheet name %1 cannot be written.").arg(book.sheet.name));
    }
    try {
        writeSheet(workbook, worksheet, book.sheet, path);
    } catch (...) {
        lxw_workbook_free(workbook);
        throw;
    }
    const lxw_error closed = workbook_close(workbook); // frees the workbook whatever happens
    if (closed != LXW_NO_ERROR) {
        QFile::remove(partPath);
        fail(path, closed);
    }
    if (std::rename(QFile::encodeName(partPath).constData(),
                    QFile::encodeName(target.absoluteFilePath()).constData()) != 0) {
        QFile::remove(partPath);
        throw AutomationError(
            QStringLiteral("The file %1 cannot be replaced.").arg(QDir::toNativeSeparators(path)));
    }
}

} // namespace marubo::sheet
