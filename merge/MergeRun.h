#pragma once

#include "Calc.h"
#include "MergeUi.h"

namespace marubo {

// The merge run: for each department of the A level's list, in order, builds
// its work data from the sub-departments chosen for it and replaces its previous
// contribution to the A level (account masters tagged B_ID = d, voucher lines
// tagged FlgT = d, d being the row's position in the list, counted from 1).
//
// A department's replacement is one transaction on the A level: it is written
// whole or not at all. A department whose selection is cancelled is skipped.
class MergeRun {
public:
    // `departments` is the A level's department list (BUMON, code > 0), open.
    MergeRun(TDM& dm, TCalc& calc, store::Table& departments, MergeUi& ui);

    enum class Outcome {
        Completed, // the completion message was shown
        Declined,  // the confirmation was not answered yes
        Stopped,   // a check stopped the run after its message
    };
    // Runs the merge. Engine errors propagate; what was merged before stays.
    Outcome run();

    // Voucher lines appended to the A level by the last run.
    qint64 total() const { return total_; }

    static QString confirmationText();

    // The run's tables: the work folder's (W) and the A level's (A).
    store::Table kamokuTestTB;
    store::Query DelTable;
    store::Table kamokuTB, MkamokuTB;
    store::Table kamoku2TB, Mkamoku2TB;
    store::Table hojokamokuTB, MhojokamokuTB;
    store::Table denpyou1TB, Mdenpyou1TB;

private:
    enum class Step { Next, Stop };
    Step oneDepartment(qsizetype index);
    void buildWorkData();
    void replaceContribution(qint64 department);
    void copyAccounts(store::Table& work, store::Table& aLevel, qint64 department);
    qint64 copyVouchers(qint64 department);

    TDM& dm_;
    TCalc& calc_;
    store::Table& departments_;
    MergeUi& ui_;
    qint64 total_ = 0;
};

} // namespace marubo
