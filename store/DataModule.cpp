#include "DataModule.h"

#include "Allocation.h"
#include "EngineError.h"
#include "FieldGroups.h"
#include "WorkScripts.h"
#include "util/Mylib.h"

#include <QDir>
#include <QHash>

namespace marubo {

TDM::TDM() {
    using namespace store;
    AheadTB.setFieldNames({QStringLiteral("PassWord")});
    A2headTB.setFieldNames({QStringLiteral("PassWord")});
    MakeTableW.setSql(workFolderScript());
    // A B level must have these fields; the flags FlgM, FlgN and FlgP are bound
    // although nothing reads them.
    const QStringList flags{QStringLiteral("FlgM"), QStringLiteral("FlgN"), QStringLiteral("FlgP")};
    MkamokuTB.setFieldNames(QStringList{QStringLiteral("B_ID"), QStringLiteral("code")} +
                            accountBodyFields() +
                            QStringList{QStringLiteral("前年実績"), QStringLiteral("差異２"),
                                        QStringLiteral("実績比"), QStringLiteral("SNo")} +
                            flags);
    Mkamoku2TB.setFieldNames(QStringList{QStringLiteral("B_ID"), QStringLiteral("SNo")} +
                             accountBodyFields() + QStringList{QStringLiteral("code")} + flags);
    MhojokamokuTB.setFieldNames(QStringList{QStringLiteral("B_ID"), QStringLiteral("kamoku_CD"),
                                            QStringLiteral("hojo_CD")} +
                                subAccountBodyFields());
    // Of a B level's sub-account list only the key and the name are read.
    hojokamokuTB.setFieldNames(
        {QStringLiteral("kamoku_CD"), QStringLiteral("hojo_CD"), QStringLiteral("補助科目名")});
    den1TB.setIndexFieldNames(QStringLiteral("SNo;Sub_No"));
    DataModuleCreate();
}

QString TDM::privateFolder() {
    return QDir::toNativeSeparators(QDir::temp().filePath(QStringLiteral("$$"))) +
           QDir::separator();
}

void TDM::DataModuleCreate() {
    Session1.setActive(false);
    // The folder is a convenience for the engine: when it cannot be made or
    // used, the engine keeps its own place for temporary files.
    MakeDirPath(privateFolder());
    try {
        Session1.setPrivateDir(privateFolder());
    } catch (const store::EngineError&) {
    }
}

namespace {

// Copies the first `count` fields of the current row of `from` into the row
// being edited in `to`, position by position.
void copyByPosition(store::DataSet& from, store::DataSet& to, qsizetype count) {
    for (qsizetype i = 0; i < count; ++i)
        to.field(i).setValue(from.field(i).value());
}

// The ratio columns of the current allocation row: the fields after the first six.
QList<qint64> ratiosOf(store::Table& allocation) {
    QList<qint64> ratios;
    for (qsizetype i = 6; i < allocation.fieldCount(); ++i)
        ratios << allocation.field(i).asInteger();
    return ratios;
}

} // namespace

void TDM::WdenpyoMake() {
    using store::EngineError;
    const qint64 n = BumonNo;
    const store::ClosedAtEnd closeAll({&den1TB, &Wden1TB, &anbunwariTB});
    Wden1TB.open();
    anbunwariTB.open();
    den1TB.close();
    den1TB.setFilter(QStringLiteral("FlgT=0 or FlgT=") + BumonCD);
    den1TB.setFiltered(n != 0); // sub-department 0 takes every line
    den1TB.open();

    const qsizetype lineFields = den1TB.fieldCount();
    const qsizetype workFields = Wden1TB.fieldCount();
    // A B line is copied position by position: the two tables must have the same fields.
    const auto fieldCountsDiffer = [&] {
        return EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral(
                "B階層「%1」の denpyou1 の項目数（%2 個）が、作業用の denpyou1（%3 個）と"
                "合いません。")
                .arg(QDir::toNativeSeparators(Database2.directory()))
                .arg(lineFields)
                .arg(workFields));
    };
    if (lineFields > workFields)
        throw fieldCountsDiffer();
    store::Field& code = Wden1TB.fieldByName(QStringLiteral("SNo"));
    store::Field& line = Wden1TB.fieldByName(QStringLiteral("Sub_No"));
    store::Field& debitAccount = Wden1TB.fieldByName(QStringLiteral("Lcode"));
    store::Field& creditAccount = Wden1TB.fieldByName(QStringLiteral("Rcode"));
    store::Field& debit = Wden1TB.fieldByName(QStringLiteral("Lkingaku"));
    store::Field& credit = Wden1TB.fieldByName(QStringLiteral("Rkingaku"));
    store::Field& department = Wden1TB.fieldByName(QStringLiteral("FlgT"));
    store::Field& shared = Wden1TB.fieldByName(QStringLiteral("FlgW"));

    auto post = [&] {
        try {
            Wden1TB.post();
        } catch (const EngineError& error) {
            if (error.kind() != EngineError::Kind::KeyViolation)
                throw;
            throw EngineError(
                EngineError::Kind::KeyViolation,
                QStringLiteral(
                    "B階層「%1」の伝票番号 %2 の %3 行目が、部門 %4 の明細として二つあります"
                    "（同じ伝票番号・行番号の明細が重なっています）。併合処理を中断します。")
                    .arg(QDir::toNativeSeparators(Database2.directory()), code.asString(),
                         line.asString())
                    .arg(n));
        }
    };

    // The allocation rows, read once: looked up twice for every common line.
    // A key that occurs more than once gives its first row in key order.
    QHash<QString, QList<qint64>> allocations;
    if (anbunwariTB.layout().primaryKey.isEmpty())
        throw EngineError(
            EngineError::Kind::NotFound,
            QStringLiteral("B階層「%1」の anbunwari には科目コードの主キーがありません。")
                .arg(QDir::toNativeSeparators(Database2.directory())));
    store::Field& allocationKey = anbunwariTB.fieldByName(anbunwariTB.layout().primaryKey.first());
    for (anbunwariTB.first(); !anbunwariTB.eof(); anbunwariTB.next())
        if (!allocations.contains(allocationKey.asString()))
            allocations.insert(allocationKey.asString(), ratiosOf(anbunwariTB));

    const qsizetype count = den1TB.recordCount();
    den1TB.first();
    for (qsizetype i = 0; i < count; ++i) {
        Wden1TB.append();
        copyByPosition(den1TB, Wden1TB, lineFields);
        qint64 amountL = toTenThousandths(debit.asFloat());
        qint64 amountR = toTenThousandths(credit.asFloat());
        const qint64 tag = department.asInteger();
        if (n != 0 && tag == 0) {
            // A common line: this sub-department's share, by the debit account's
            // ratios, then by the credit account's from that share.
            if (const auto ratios = allocations.constFind(debitAccount.asString());
                ratios != allocations.cend()) {
                amountL = amountR = shareOut(AnbunKin, amountL, *ratios, n);
                debit.setAsFloat(fromTenThousandths(amountL));
                credit.setAsFloat(fromTenThousandths(amountR));
                shared.setAsInteger(0);
            }
            if (const auto ratios = allocations.constFind(creditAccount.asString());
                ratios != allocations.cend()) {
                amountL = amountR = shareOut(AnbunKin, amountR, *ratios, n);
                debit.setAsFloat(fromTenThousandths(amountL));
                credit.setAsFloat(fromTenThousandths(amountR));
                shared.setAsInteger(0);
            }
        }
        department.setAsInteger(n);
        if (tag == 0 && amountL == 0 && amountR == 0) {
            Wden1TB.cancel(); // a common line of which this sub-department gets nothing
        } else {
            post();
        }
        if (tag == 0 && (amountL != 0 || amountR != 0)) {
            // The control row (tagged 0) sums what the sub-departments received.
            const qint64 voucher = code.asInteger();
            const qint64 voucherLine = line.asInteger();
            qint64 sumL = 0, sumR = 0;
            if (Wden1TB.findKey({voucher, voucherLine, 0})) {
                Wden1TB.edit();
                sumL = toTenThousandths(debit.asFloat());
                sumR = toTenThousandths(credit.asFloat());
            } else {
                Wden1TB.append();
            }
            if (lineFields < workFields)
                throw fieldCountsDiffer();
            copyByPosition(den1TB, Wden1TB, workFields);
            department.setAsInteger(0);
            debit.setAsFloat(fromTenThousandths(sumL + amountL));
            credit.setAsFloat(fromTenThousandths(sumR + amountR));
            post();
        }
        den1TB.next();
    }
}

} // namespace marubo
