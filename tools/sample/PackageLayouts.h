#pragma once

#include "store/TableLayout.h"

#include <QList>

namespace marubo::sample {

// The tables of the accounting package's data sets that this system reads and
// writes, in the package's layouts; used to build sample and test data sets.

// A level: Head, BUMON, Mkamoku, Mkamoku2, Mhojokamoku, denpyou1 and the
// kamoku, kamoku2, hojokamoku tables the system never opens.
QList<store::TableLayout> aLevelLayouts();

// B level: Head, Bumon, Mkamoku and Mkamoku2 (with FlgM, FlgN, FlgP),
// Mhojokamoku, hojokamoku, denpyou1 and anbunwari with `ratioColumns` ratio
// columns after its first six fields.
QList<store::TableLayout> bLevelLayouts(int ratioColumns);

// The allocation table: a text key in the first of six leading fields, then the
// ratio of sub-department n (in thousandths) in field 6 + n.
store::TableLayout anbunwariLayout(int ratioColumns);

} // namespace marubo::sample
