#pragma once

#include "SheetModel.h"

#include <QString>

namespace marubo::sheet {

// Writes the workbook as an .xlsx file: its values, the formats set on its
// ranges, the sheet-wide font, the column widths, the page header and
// orientation and the selected cell. The file is written under a temporary
// name in the same folder and then takes the place of `path`, so a failure
// never leaves half a file there. Throws AutomationError when it cannot be
// written.
void writeXlsx(const Workbook& book, const QString& path);

// A colour as the grids hold it (0x00BBGGRR, red in the low byte) as
// 0xRRGGBB; none for values that are no RGB colour (system colours, "no
// colour"), which leave the default in place.
std::optional<quint32> rgbOf(quint32 gridColour);

} // namespace marubo::sheet
