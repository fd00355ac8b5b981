#pragma once

#include <QDate>
#include <QString>

namespace marubo::store {

// Display formats of numeric and date fields, as users of the grids write them.
//
// Numbers: "0" a digit always shown, "#" a digit shown when significant, "."
// the decimal point, "," anywhere in the integer part groups thousands, text
// in double or single quotes taken literally, other characters literally; up
// to three sections separated by ";" for positive, negative and zero values
// (a negative value in the first section gets a minus sign). Examples:
// "#,##0" gives 1,234; "0.00" gives 1234.50; "#,##0;(#,##0);-" gives (1,234) or -.
QString formatNumber(double value, const QString& format);

// Dates: "yyyy" or "yy" the year, "mm" or "m" the month, "dd" or "d" the day,
// quoted text and other characters literally. Example: "yyyy年m月d日".
QString formatDate(const QDate& date, const QString& format);

} // namespace marubo::store
