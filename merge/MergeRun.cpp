#include "MergeRun.h"

#include "store/FieldGroups.h"
#include "store/Transaction.h"
#include "util/PathText.h"

#include <QDir>
#include <QFileInfo>
#include <QScopeGuard>
#include <QSet>

namespace marubo {

namespace {

const QString kNoDepartments =
    QStringLiteral("集計する部門がありません。部門の一覧を確認してください。");
const QString kOtherProduct =
    QStringLiteral("　　この部門は他の会計ソフトのデータなので閉業処理ができません。");
const QString kStopped = QStringLiteral("併合処理を中断します。");
const QString kOldVersion =
    QStringLiteral("B階層の会計ソフトのバージョンが古いために併合処理が出来ません。");

// Voucher numbers of 1000000 and above are the package's own control numbers.
constexpr qint64 kFirstExcludedVoucher = 1000000;

QStringList kamokuFields() {
    // The work kamoku as the run reads it: 注記 and 注記２ at the end, in that
    // reverse order, and the previous year's figures after the amounts.
    QStringList body = store::accountBodyFields();
    body.removeAll(QStringLiteral("注記"));
    body.removeAll(QStringLiteral("注記２"));
    return QStringList{QStringLiteral("code")} + body +
           QStringList{QStringLiteral("前年実績"), QStringLiteral("差異２"),
                       QStringLiteral("実績比"), QStringLiteral("注記２"), QStringLiteral("注記")};
}

QStringList kamoku2Fields() {
    return QStringList{QStringLiteral("SNo")} + store::accountBodyFields() +
           QStringList{QStringLiteral("code")};
}

QStringList hojokamokuFields() {
    return QStringList{QStringLiteral("kamoku_CD"), QStringLiteral("hojo_CD")} +
           store::subAccountBodyFields();
}

QStringList withDepartmentNumber(const QStringList& fields) {
    return QStringList{QStringLiteral("B_ID")} + fields;
}

void bind(store::Table& table, const QString& database, const QString& name,
          const QStringList& fields) {
    table.setDatabaseName(database);
    table.setTableName(name);
    table.setFieldNames(fields);
}

} // namespace

MergeRun::MergeRun(TDM& dm, TCalc& calc, store::Table& departments, MergeUi& ui)
    : kamokuTestTB(dm.Session1), DelTable(dm.Session1, QStringLiteral("AAA")),
      kamokuTB(dm.Session1), MkamokuTB(dm.Session1), kamoku2TB(dm.Session1),
      Mkamoku2TB(dm.Session1), hojokamokuTB(dm.Session1), MhojokamokuTB(dm.Session1),
      denpyou1TB(dm.Session1), Mdenpyou1TB(dm.Session1), dm_(dm), calc_(calc),
      departments_(departments), ui_(ui) {
    const QString work = QStringLiteral("WWW");
    const QString aLevel = QStringLiteral("AAA");
    bind(kamokuTB, work, QStringLiteral("kamoku"), kamokuFields());
    bind(MkamokuTB, aLevel, QStringLiteral("Mkamoku"), withDepartmentNumber(kamokuFields()));
    bind(kamoku2TB, work, QStringLiteral("kamoku2"), kamoku2Fields());
    bind(Mkamoku2TB, aLevel, QStringLiteral("Mkamoku2"), withDepartmentNumber(kamoku2Fields()));
    bind(hojokamokuTB, work, QStringLiteral("hojokamoku"), hojokamokuFields());
    bind(MhojokamokuTB, aLevel, QStringLiteral("Mhojokamoku"),
         withDepartmentNumber(hojokamokuFields()));
    bind(denpyou1TB, work, QStringLiteral("denpyou1"), store::voucherLineFields());
    bind(Mdenpyou1TB, aLevel, QStringLiteral("denpyou1"), store::voucherLineFields());
    denpyou1TB.setIndexName(QStringLiteral("hizuke"));
    Mdenpyou1TB.setIndexName(QStringLiteral("hizuke"));
}

QString MergeRun::confirmationText() {
    return QStringLiteral("B階層のデータをA階層のデータフォルダに集計します");
}

MergeRun::Outcome MergeRun::run() {
    const qsizetype count = departments_.recordCount();
    if (count == 0) {
        ui_.showMessage(kNoDepartments);
        return Outcome::Stopped;
    }
    if (!ui_.confirm(confirmationText()))
        return Outcome::Declined;
    total_ = 0;
    departments_.first();
    for (qsizetype i = 0; i < count; ++i) {
        ui_.progress(i, count - 1);
        if (oneDepartment(i) == Step::Stop)
            return Outcome::Stopped;
        departments_.next();
    }
    departments_.first();
    ui_.showMessage(QStringLiteral("集計処理が完了しました。集計レコード数【%1】").arg(total_));
    return Outcome::Completed;
}

MergeRun::Step MergeRun::oneDepartment(qsizetype index) {
    dm_.BumonCD = QStringLiteral("0");
    dm_.BumonNo = 0;
    dm_.BumonPath = departments_.fieldByName(QStringLiteral("Path")).asString();
    if (dm_.BumonPath.isEmpty())
        return Step::Next;
    dm_.BumonPath = withTrailingSeparator(dm_.BumonPath);
    if (!QFileInfo(dm_.BumonPath).isDir()) {
        ui_.showMessage(QStringLiteral("このパス名は間違っています。【%1】").arg(dm_.BumonPath));
        return Step::Next;
    }

    dm_.Database2.close();
    dm_.Database2.setDirectory(dm_.BumonPath);
    dm_.A2headTB.open();
    const QString passWord = dm_.A2headTB.fieldByName(QStringLiteral("PassWord")).asString();
    dm_.A2headTB.close();
    if (passWord != dm_.APassWord) {
        ui_.showMessage(departments_.fieldByName(QStringLiteral("Bumonmei")).asString() +
                        kOtherProduct + QChar(13) + kStopped);
        return Step::Stop;
    }

    // A department whose selection is cancelled keeps its previous contribution.
    if (!ui_.selectSubDepartments())
        return Step::Next;

    // The account totals are built with 前年実績: a work folder of an older
    // layout is reported before the build, which could not bind the field.
    kamokuTestTB.close();
    kamokuTestTB.setDatabaseName(QStringLiteral("WWW"));
    kamokuTestTB.setTableName(QStringLiteral("kamoku"));
    kamokuTestTB.open();
    const bool current = kamokuTestTB.findField(QStringLiteral("前年実績")) != nullptr;
    kamokuTestTB.close();
    if (!current) {
        ui_.showMessage(kOldVersion);
        return Step::Stop;
    }

    buildWorkData();
    replaceContribution(index + 1);
    return Step::Next;
}

void MergeRun::buildWorkData() {
    // The work folder is scratch space: one transaction makes the build fast.
    store::Transaction transaction(dm_.Database3);
    // The form outlives this run: its hook into the run goes when the build ends.
    const auto unhook = qScopeGuard([this] { calc_.processEvents = nullptr; });
    calc_.processEvents = [this] { ui_.processEvents(); };
    calc_.makeDenpyou();
    calc_.SetTable();
    transaction.commit();
}

void MergeRun::replaceContribution(qint64 department) {
    // Deleting the old rows and writing the new ones is one transaction: a
    // failure anywhere leaves the department's previous contribution whole.
    store::Transaction transaction(dm_.Database1);
    const QString number = QString::number(department);
    DelTable.setSql(QStringLiteral("Delete from Mkamoku where B_ID=") + number);
    DelTable.execSql();
    DelTable.setSql(QStringLiteral("Delete from Mkamoku2 where B_ID=") + number);
    DelTable.execSql();
    DelTable.setSql(QStringLiteral("Delete from Mhojokamoku where B_ID=") + number);
    DelTable.execSql();
    DelTable.setSql(QStringLiteral("Delete from denpyou1 where FlgT=") + number);
    DelTable.execSql();

    copyAccounts(kamokuTB, MkamokuTB, department);
    copyAccounts(kamoku2TB, Mkamoku2TB, department);
    copyAccounts(hojokamokuTB, MhojokamokuTB, department);
    total_ += copyVouchers(department);
    transaction.commit();
}

void MergeRun::copyAccounts(store::Table& work, store::Table& aLevel, qint64 department) {
    const store::ClosedAtEnd closeBoth({&work, &aLevel});
    aLevel.open();
    work.open();
    std::vector<std::pair<store::Field*, store::Field*>> pairs;
    for (qsizetype i = 0; i < work.fieldCount(); ++i)
        pairs.emplace_back(&work.field(i), &aLevel.fieldByName(work.field(i).fieldName()));
    std::vector<store::Field*> cleared;
    for (const QString& name : store::clearedBalanceFields())
        cleared.push_back(&aLevel.fieldByName(name));
    store::Field& departmentNumber = aLevel.fieldByName(QStringLiteral("B_ID"));
    for (work.first(); !work.eof(); work.next()) {
        aLevel.append();
        departmentNumber.setAsInteger(department);
        for (const auto& [source, target] : pairs)
            target->setValue(source->value());
        for (store::Field* field : cleared)
            field->clear();
        aLevel.post();
    }
}

qint64 MergeRun::copyVouchers(qint64 department) {
    const store::ClosedAtEnd closeBoth({&denpyou1TB, &Mdenpyou1TB});
    Mdenpyou1TB.open();
    denpyou1TB.setFilter(QStringLiteral("FlgT<>0"));
    denpyou1TB.setFiltered(true);
    denpyou1TB.open();
    const qsizetype fields = denpyou1TB.fieldCount();
    store::Field& workNumber = denpyou1TB.fieldByName(QStringLiteral("SNo"));
    store::Field& workLine = denpyou1TB.fieldByName(QStringLiteral("Sub_No"));
    store::Field& workDebit = denpyou1TB.fieldByName(QStringLiteral("Lkingaku"));
    store::Field& workCredit = denpyou1TB.fieldByName(QStringLiteral("Rkingaku"));
    store::Field& number = Mdenpyou1TB.fieldByName(QStringLiteral("SNo"));
    store::Field& tag = Mdenpyou1TB.fieldByName(QStringLiteral("FlgT"));
    store::Field& debit = Mdenpyou1TB.fieldByName(QStringLiteral("Lkingaku"));
    store::Field& credit = Mdenpyou1TB.fieldByName(QStringLiteral("Rkingaku"));

    qint64 appended = 0;
    qint64 lastNumber = 0, vouchers = 0;
    qint64 previousNumber = 0, previousLine = 0;
    QSet<qint64> linesOfNumber; // the Sub_No values under the current A-level number
    for (denpyou1TB.first(); !denpyou1TB.eof(); denpyou1TB.next()) {
        const qint64 voucher = workNumber.asInteger();
        if (voucher >= kFirstExcludedVoucher)
            continue;
        const qint64 line = workLine.asInteger();
        if (appended > 0 && voucher == previousNumber && line == previousLine) {
            // The same voucher line received by several sub-departments: one
            // A-level line with the amounts added, each rounded to whole units.
            Mdenpyou1TB.edit();
            debit.setAsFloat(double(debit.asInteger() + workDebit.asInteger()));
            credit.setAsFloat(double(credit.asInteger() + workCredit.asInteger()));
            Mdenpyou1TB.post();
            continue;
        }
        ++appended;
        // A new number for each run of lines with one SNo; also when a line
        // number comes back within the run (the same SNo of another
        // sub-department on another day), which would repeat the A-level key.
        if (voucher != lastNumber || linesOfNumber.contains(line)) {
            ++vouchers;
            linesOfNumber.clear();
        }
        linesOfNumber.insert(line);
        lastNumber = voucher;
        Mdenpyou1TB.append();
        for (qsizetype i = 0; i < fields; ++i)
            Mdenpyou1TB.field(i).setValue(denpyou1TB.field(i).value());
        number.setAsInteger(department * 10000 + vouchers);
        tag.setAsInteger(department);
        Mdenpyou1TB.post();
        previousNumber = voucher;
        previousLine = line;
    }
    return appended;
}

} // namespace marubo
