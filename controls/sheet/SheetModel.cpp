#include "SheetModel.h"

#include "Automation.h"
#include "util/CsvText.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

namespace marubo::sheet {

namespace {

// "AB" → 28; 0 when the text is no column name within the sheet.
int columnNumber(QStringView letters) {
    if (letters.isEmpty() || letters.size() > 3)
        return 0;
    int number = 0;
    for (QChar c : letters) {
        const char16_t upper = c.toUpper().unicode();
        if (upper < u'A' || upper > u'Z')
            return 0;
        number = number * 26 + (upper - u'A' + 1);
    }
    return number <= kSheetColumns ? number : 0;
}

std::optional<std::pair<int, int>> parseCellAddress(const QString& text) {
    static const QRegularExpression cell(QStringLiteral("^\\$?([A-Za-z]{1,3})\\$?([0-9]{1,7})$"));
    const QRegularExpressionMatch match = cell.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int column = columnNumber(match.capturedView(1));
    const int row = match.captured(2).toInt();
    if (column == 0 || row < 1 || row > kSheetRows)
        return std::nullopt;
    return std::pair{row, column};
}

// A number as a spreadsheet reads it from a CSV file: an optional minus, digits
// (in groups of three with commas, or without), optional decimals. Codes with
// leading zeros ("007") stay texts so that nothing of them is lost.
std::optional<std::pair<double, QString>> readNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^-?(0|[1-9][0-9]{0,2}(,[0-9]{3})+|[1-9][0-9]*)(\\.([0-9]+))?$"));
    const QRegularExpressionMatch match = number.match(text);
    if (!match.hasMatch() || match.capturedLength(1) > 15)
        return std::nullopt;
    bool ok = false;
    const double value = QString(text).remove(QLatin1Char(',')).toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const bool grouped = match.capturedLength(2) > 0;
    const qsizetype decimals = match.capturedLength(4);
    QString format;
    if (grouped || decimals > 0) {
        format = grouped ? QStringLiteral("#,##0") : QStringLiteral("0");
        if (decimals > 0)
            format += QLatin1Char('.') + QString(decimals, QLatin1Char('0'));
    }
    return std::pair{value, format};
}

// Characters that take two columns: the East Asian wide and full-width ranges.
bool isFullWidth(char32_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0x303E) ||
           (c >= 0x3041 && c <= 0x33FF) || (c >= 0x3400 && c <= 0x4DBF) ||
           (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xA000 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6) || (c >= 0x1F300 && c <= 0x1F64F) ||
           (c >= 0x20000 && c <= 0x3FFFD);
}

QString sheetNameFromFile(const QString& path) {
    QString name = QFileInfo(path).completeBaseName();
    static const QRegularExpression forbidden(QStringLiteral("[:\\\\/?*\\[\\]]"));
    name.replace(forbidden, QStringLiteral("_"));
    name = name.left(31);
    while (name.startsWith(QLatin1Char('\'')))
        name.remove(0, 1);
    while (name.endsWith(QLatin1Char('\'')))
        name.chop(1);
    return name.isEmpty() ? QStringLiteral("Sheet1") : name;
}

} // namespace

std::optional<CellArea> parseRangeAddress(const QString& address) {
    const QStringList parts = address.trimmed().split(QLatin1Char(':'));
    if (parts.size() > 2)
        return std::nullopt;
    const auto first = parseCellAddress(parts.first());
    const auto last = parts.size() == 2 ? parseCellAddress(parts.last()) : first;
    if (!first || !last)
        return std::nullopt;
    return CellArea{std::min(first->first, last->first), std::min(first->second, last->second),
                    std::max(first->first, last->first), std::max(first->second, last->second)};
}

void CellFormat::apply(const FormatSetting& setting) {
    const QVariant& value = setting.value;
    switch (setting.property) {
    case FormatProperty::NumberFormat:
        numberFormat = value;
        break;
    case FormatProperty::BorderWeight:
        borderWeight = value.toInt();
        break;
    case FormatProperty::BorderColor:
        borderColor = value.toUInt();
        break;
    case FormatProperty::FillColor:
        fillColor = value.toUInt();
        break;
    case FormatProperty::FontSize:
        fontSize = value.toDouble();
        break;
    case FormatProperty::FontName:
        fontName = value.toString();
        break;
    case FormatProperty::FontColor:
        fontColor = value.toUInt();
        break;
    case FormatProperty::Bold:
        bold = value.toBool();
        break;
    case FormatProperty::Italic:
        italic = value.toBool();
        break;
    case FormatProperty::Strikethrough:
        strikethrough = value.toBool();
        break;
    }
}

QString Worksheet::text(int row, int column) const {
    const auto found = cells.find({row, column});
    return found == cells.end() ? QString() : found->second.text;
}

CellFormat Worksheet::formatAt(int row, int column) const {
    CellFormat format;
    for (const FormatSetting& setting : formats) {
        if (setting.area.contains(row, column))
            format.apply(setting);
    }
    return format;
}

int Worksheet::lastRow() const {
    return cells.empty() ? 0 : cells.rbegin()->first.first;
}

int Worksheet::lastColumn() const {
    int last = 0;
    for (const auto& [position, cell] : cells)
        last = std::max(last, position.second);
    return last;
}

void Worksheet::autoFit(int first, int last) {
    std::map<int, double> widest;
    for (const auto& [position, cell] : cells) {
        const int column = position.second;
        if (column < first || column > last || cell.text.isEmpty())
            continue;
        // Texts grow with their font; the default font is 11 points.
        const double size = formatAt(position.first, column).fontSize.value_or(11.0);
        const double width = textWidthUnits(cell.text) * size / 11.0;
        widest[column] = std::max(widest[column], width);
    }
    // A little room on either side of the text, as the spreadsheet leaves it.
    for (const auto& [column, width] : widest)
        columnWidths[column] = std::min(255.0, width + 1.0);
}

double textWidthUnits(const QString& text) {
    double units = 0;
    for (char32_t c : text.toUcs4())
        units += isFullWidth(c) ? 2 : 1;
    return units;
}

Workbook readCsvWorkbook(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AutomationError(QStringLiteral("The file %1 cannot be opened.").arg(path));
    const std::optional<QString> text = decodeCsvFile(file.readAll());
    if (!text)
        throw AutomationError(QStringLiteral("The file %1 is not text.").arg(path));

    Workbook book;
    book.name = QFileInfo(path).fileName();
    book.path = QFileInfo(path).absoluteFilePath();
    book.sheet.name = sheetNameFromFile(path);
    const QStringList lines = splitTextLines(*text);
    for (qsizetype row = 0; row < lines.size() && row < kSheetRows; ++row) {
        const QStringList values = splitCsvLine(lines[row]);
        for (qsizetype column = 0; column < values.size() && column < kSheetColumns; ++column) {
            const QString& value = values[column];
            if (value.isEmpty())
                continue;
            Cell cell{value, std::nullopt, QString()};
            if (const auto number = readNumber(value)) {
                cell.number = number->first;
                cell.numberFormat = number->second;
            }
            book.sheet.cells[{int(row) + 1, int(column) + 1}] = cell;
        }
    }
    return book;
}

bool isValidSheetName(const QString& name) {
    static const QRegularExpression forbidden(QStringLiteral("[:\\\\/?*\\[\\]]"));
    return !name.isEmpty() && name.size() <= 31 && !name.contains(forbidden) &&
           !name.startsWith(QLatin1Char('\'')) && !name.endsWith(QLatin1Char('\''));
}

} // namespace marubo::sheet
