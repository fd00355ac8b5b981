#pragma once

#include "store/DataModule.h"

namespace marubo {

// The choice of sub-departments for the aggregation, on the Bumon table of the
// data set the handle AAA2 points at, without widgets. The selection dialog and
// the batch command share it.
//
// From the user's marks in F12 ("集計対象=1") and the hierarchy (F1: 1 for an
// input sub-department, NULL for a summary one; F4: the level), the recompute
// leaves F11 = 1 on the rows the collections take, the enclosing summary codes
// in F5..F8, and level marks in S1..S5.
class BumonSelection {
public:
    explicit BumonSelection(TDM& dm);

    // The 23 fields in table order; rows can be neither added nor removed.
    store::Table BumonTB;

    // Opens the table, clears F11 on every row and recomputes.
    void activate();
    // The recompute: clear, mark, four level passes and the final pass.
    void SetSelection();
    // One level pass over the filtered rows: gives each input row the code of
    // the summary row of that level met last before it.
    void SetParentCodes();
    // The final pass: F11 = 1 on the first row and on the marked rows below it,
    // up to the next row that is not deeper than the first.
    void MarkSelected();
    // What a key pressed on the grid does: F11 follows whether F12 holds a value.
    void keyRule();
    void close() { BumonTB.close(); }

    // The product codes whose data sets are read backwards by the level passes.
    static bool readsBackwards(const QString& passWord);

private:
    void inTransaction(const std::function<void()>& work);

    TDM& dm_;
};

} // namespace marubo
