#pragma once

#include "Database.h"
#include "Query.h"
#include "Session.h"
#include "Table.h"

#include <QString>
#include <vector>

namespace marubo {

// The data module: the session BBB with its three database handles, the Head
// tables of the A and B levels, the work folder's creation script, and the
// values the whole process shares while it merges. Created once at start-up.
class TDM {
public:
    TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Deactivates the session and gives it its private folder for temporary files.
    void DataModuleCreate();

    // The folder under the system's temporary location that serves as the
    // engine's private folder.
    static QString privateFolder();

    store::Session Session1{QStringLiteral("BBB")};
    store::Database Database1{Session1, QStringLiteral("AAA")};  // the A level
    store::Database Database2{Session1, QStringLiteral("AAA2")}; // the B level being merged
    store::Database Database3{Session1, QStringLiteral("WWW")};  // the work folder
    store::Table AheadTB{Session1, QStringLiteral("AAA"), QStringLiteral("Head")};
    store::Table A2headTB{Session1, QStringLiteral("AAA2"), QStringLiteral("Head")};
    store::Query MakeTableW{Session1, QStringLiteral("WWW")}; // the work folder's creation script

    // The B level's tables read by the work-data build.
    store::Table MkamokuTB{Session1, QStringLiteral("AAA2"), QStringLiteral("Mkamoku")};
    store::Table Mkamoku2TB{Session1, QStringLiteral("AAA2"), QStringLiteral("Mkamoku2")};
    store::Table MhojokamokuTB{Session1, QStringLiteral("AAA2"), QStringLiteral("Mhojokamoku")};
    store::Table hojokamokuTB{Session1, QStringLiteral("AAA2"), QStringLiteral("hojokamoku")};
    // The voucher collection: the work lines, the B level's lines and its allocation ratios.
    store::Table Wden1TB{Session1, QStringLiteral("WWW"), QStringLiteral("denpyou1")};
    store::Table den1TB{Session1, QStringLiteral("AAA2"), QStringLiteral("denpyou1")};
    store::Table anbunwariTB{Session1, QStringLiteral("AAA2"), QStringLiteral("anbunwari")};

    // Collects the voucher lines of sub-department BumonNo into the work
    // denpyou1: its own lines as they are, common lines (FlgT 0) shared out by
    // the allocation ratios of their debit and credit accounts, each tagged with
    // BumonNo, plus a control row (tagged 0) per common line kept.
    void WdenpyoMake();

    // Process-wide values of the merge.
    QString APassWord;  // PassWord of the A level's Head
    QString BumonPath;  // folder of the department being merged, with a trailing separator
    qint64 BumonNo = 0; // sub-department being collected
    QString BumonCD = QStringLiteral("0"); // the same number as text
    QString ProgName;                      // the program's name on the download server
    std::vector<qint64> AnbunKin;          // share table in ten-thousandths; entry 0 holds the sum
};

} // namespace marubo
