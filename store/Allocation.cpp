#include "Allocation.h"

#include "FieldDef.h"

#include <algorithm>

namespace marubo {

namespace {
__extension__ typedef __int128 Wide; // ratio × amount can exceed 64 bits
} // namespace

qint64 shareOut(std::vector<qint64>& shares, qint64 base, const QList<qint64>& ratios,
                qint64 subDepartment) {
    const size_t columns = size_t(ratios.size());
    shares.assign(std::max<size_t>(columns, size_t(std::max<qint64>(subDepartment, 0))) + 1, 0);
    qint64 largest = 0;
    size_t receiver = 0;
    for (size_t u = 1; u <= columns; ++u) {
        const qint64 ratio = ratios[qsizetype(u - 1)];
        // ratio × base / 1000 / 10000, truncated toward zero to whole units,
        // exactly (the product can exceed what a double holds exactly).
        const Wide units = Wide(ratio) * Wide(base) / 10000000;
        shares[u] = qint64(units) * 10000;
        shares[0] += shares[u];
        if (ratio > largest) {
            largest = ratio;
            receiver = u;
        }
    }
    if (receiver != 0)
        shares[receiver] += base - shares[0];
    return subDepartment >= 0 ? shares[size_t(subDepartment)] : 0;
}

qint64 toTenThousandths(double amount) {
    return qint64(store::roundHalfEven(amount * 10000.0));
}

double fromTenThousandths(qint64 amount) {
    return double(amount) / 10000.0;
}

} // namespace marubo
