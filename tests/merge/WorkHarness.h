#pragma once

#include "support/Levels.h"

#include "merge/Calc.h"
#include "store/DataModule.h"

#include <memory>

namespace marubo::test {

// A data module pointed at one B level and a work folder, for the work-data build.
struct WorkHarness {
    TestFolder folder;
    std::unique_ptr<TDM> dm = std::make_unique<TDM>();
    QString b;
    QString work;
    std::unique_ptr<TCalc> calc;

    explicit WorkHarness(int ratioColumns = 4) {
        b = makeBLevel(folder, QStringLiteral("B"), QStringLiteral("pw"), ratioColumns);
        work = folder.sub(QStringLiteral("WKData"));
        dm->Database2.setDirectory(b);
        dm->Database3.setDirectory(work);
        dm->MakeTableW.execSql();
        calc = std::make_unique<TCalc>(*dm);
    }
    ~WorkHarness() {
        calc.reset();
        dm.reset();
    }

    // Input sub-departments 1..count; those in `selected` carry F11 = 1.
    void subDepartments(int count, const QList<int>& selected, bool withWhole = false) {
        QList<Row> rows;
        if (withWhole)
            rows << Row{{"code", 0},
                        {"Bumonmei", "全体"},
                        {"F1", 1},
                        {"F4", 0},
                        {"F11", selected.contains(0) ? 1 : QVariant()}};
        for (int code = 1; code <= count; ++code)
            rows << Row{{"code", code},
                        {"Bumonmei", QStringLiteral("課%1").arg(code)},
                        {"F1", 1},
                        {"F4", 2},
                        {"F11", selected.contains(code) ? QVariant(1) : QVariant()}};
        putRows(b, QStringLiteral("Bumon"), rows);
    }

    static Row line(int number, int lineNo, int department, const QString& debitAccount,
                    const QString& creditAccount, double debit, double credit) {
        return {{"SNo", number},
                {"Sub_No", lineNo},
                {"hizuke", QDate(2017, 4, number)},
                {"Lcode", debitAccount},
                {"Rcode", creditAccount},
                {"Lkingaku", debit},
                {"Rkingaku", credit},
                {"tekiyou1", QStringLiteral("明細%1").arg(number)},
                {"FlgT", department},
                {"FlgW", 1}};
    }

    // An allocation row for `account`: ratio of sub-department n in column n.
    static Row allocation(const QString& account, const QList<qint64>& ratios) {
        Row row{{"kamoku_CD", account}, {"科目名", account}};
        for (qsizetype n = 0; n < ratios.size(); ++n)
            row << std::make_pair(QStringLiteral("比率%1").arg(n + 1), QVariant(ratios[n]));
        return row;
    }

    QStringList workLines() const {
        return rowsOf(work, QStringLiteral("denpyou1"),
                      {"SNo", "Sub_No", "FlgT", "Lkingaku", "Rkingaku", "FlgW"},
                      "SNo, Sub_No, FlgT");
    }
};

} // namespace marubo::test
