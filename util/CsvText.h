#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace marubo {

// The text rules of the grids' CSV exchange.

// `text` without the characters of code 32 and below at either end.
QString trimControl(const QString& text);

// One exported value: enclosed in double quotes, a double quote inside doubled
// so that the file reads back to the same value.
QString quoteCsvValue(const QString& value);

// One exported line. Each item is a grid column that is exported: its position
// in the grid's column list and its value (none for a column without a field,
// which contributes its separator only). The separator goes in front of every
// column whose position is above 0.
struct CsvColumnValue {
    qsizetype position = 0;
    std::optional<QString> value;
};
QString csvLine(const QList<CsvColumnValue>& columns, const QString& separator);

// The values of one imported line: TABs become commas when the line has one,
// spaces are protected while the line is split as a comma list with
// double-quote quoting, then restored.
QStringList splitCsvLine(const QString& line);

// The export file: UTF-16 little-endian with its byte-order mark, CR LF after
// every line.
QByteArray encodeCsvFile(const QStringList& lines);

// The text of an imported file: by its byte-order mark (UTF-8, UTF-16 LE or BE);
// without one, UTF-16 LE or BE when its zero bytes show it, else UTF-8 when it
// decodes cleanly, else Windows-31J. None when the bytes are not text in any
// of these (zero bytes that show no UTF-16 pattern, for one).
std::optional<QString> decodeCsvFile(const QByteArray& bytes);

// Lines of a text, ending at CR LF, LF or CR; a final line break adds no line.
QStringList splitTextLines(const QString& text);

} // namespace marubo
