#pragma once

#include <QList>
#include <vector>

namespace marubo {

// Shares a common voucher amount out among sub-departments by an allocation
// row's ratios (thousandths). Amounts are fixed point in ten-thousandths.
//
// `shares` becomes the share table: entry u (1..) is the share of the
// sub-department in ratio column u, truncated toward zero to a whole unit;
// entry 0 is the sum of the shares before the remainder. The remainder (base
// minus that sum) goes to the first column with the largest positive ratio, so
// the shares add up to the base. The table is sized for every column and for
// `subDepartment`; a sub-department without a ratio column gets 0.
// Returns the share of `subDepartment`.
qint64 shareOut(std::vector<qint64>& shares, qint64 base, const QList<qint64>& ratios,
                qint64 subDepartment);

// An amount in ten-thousandths: the value times 10000, a half rounded to the
// even neighbour; and back.
qint64 toTenThousandths(double amount);
double fromTenThousandths(qint64 amount);

} // namespace marubo
