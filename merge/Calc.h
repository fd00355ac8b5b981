#pragma once

#include "store/DataModule.h"

#include <functional>

namespace marubo {

// The work-data build of one department data set (the B level that AAA2 points
// at): its vouchers and its account totals over the selected sub-departments,
// written into the work folder (WWW).
class TCalc {
public:
    explicit TCalc(TDM& dm);

    // The selected sub-departments: input ones marked for the aggregation.
    static QString selectedSubDepartmentsSql();

    // Collects the voucher lines of every selected sub-department into the work
    // denpyou1 (emptied first).
    void makeDenpyou();
    // Rebuilds the work kamoku, kamoku2 and hojokamoku from the data set's own
    // account lists, with the amounts summed over the selected sub-departments.
    void SetTable();

    // Called after each sub-department's vouchers, so that a window can repaint.
    std::function<void()> processEvents;

    TDM& dm;
    store::Query BumonQry;
    store::Table WkamokuTB;
    store::Table Wkamoku2TB;
    store::Table WhojoTB;

private:
    void copyList(store::Table& from, store::Table& to, const QStringList& fields);
    void sumOver(store::Table& from, store::Table& to, const QStringList& keys,
                 const QStringList& fields);
};

} // namespace marubo
