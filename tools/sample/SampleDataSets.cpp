#include "SampleDataSets.h"

#include "PackageLayouts.h"
#include "store/DataSetFile.h"
#include "store/Database.h"
#include "store/Session.h"
#include "store/Table.h"
#include "store/Transaction.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QVariant>
#include <array>

namespace marubo::sample {

using store::Table;

namespace {

// splitmix64: small, and the same sequence on every platform.
class Random {
public:
    explicit Random(quint64 seed) : state_(seed) {}
    quint64 next() {
        quint64 z = (state_ += 0x9E3779B97F4A7C15ULL);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
        return z ^ (z >> 31);
    }
    int between(int low, int high) { return low + int(next() % quint64(high - low + 1)); }
    bool chance(int percent) { return between(1, 100) <= percent; }

private:
    quint64 state_;
};

struct Account {
    QString code;
    QString name;
    int category; // 1 assets, 2 liabilities, 3 revenue, 4 expenses
};

struct SubDepartment {
    int code;
    QString name;
    bool input;
    int level;
    bool selected;
};

struct SubAccount {
    QString account;
    QString code;
    QString name;
};

const QList<Account>& accountCatalogue() {
    static const QList<Account> accounts = {
        {"1110", "現金", 1},
        {"1120", "普通預金", 1},
        {"1130", "定期預金", 1},
        {"1210", "未収金", 1},
        {"1310", "立替金", 1},
        {"2110", "未払金", 2},
        {"2120", "預り金", 2},
        {"2210", "短期運営資金借入金", 2},
        {"4110", "介護保険事業収益", 3},
        {"4120", "利用者負担金収益", 3},
        {"4210", "補助金事業収益", 3},
        {"4310", "受取利息配当金収益", 3},
        {"5110", "職員給料", 4},
        {"5120", "職員賞与", 4},
        {"5130", "非常勤職員給与", 4},
        {"5140", "法定福利費", 4},
        {"5210", "給食費", 4},
        {"5220", "消耗器具備品費", 4},
        {"5230", "水道光熱費", 4},
        {"5240", "通信運搬費", 4},
        {"5250", "賃借料", 4},
        {"5260", "保険料", 4},
        {"5270", "修繕費", 4},
        {"5280", "租税公課", 4},
        {"5310", "支払利息", 4},
    };
    return accounts;
}

const QList<SubAccount>& subAccountCatalogue() {
    static const QList<SubAccount> subAccounts = {
        {"1120", "001", "さくら銀行 本店"}, {"1120", "002", "ひかり信用金庫"},
        {"4110", "001", "介護報酬"},        {"4110", "002", "予防給付"},
        {"5250", "001", "事務所"},          {"5250", "002", "駐車場"},
    };
    return subAccounts;
}

QList<Account> chooseAccounts(int count) {
    QList<Account> accounts = accountCatalogue().mid(0, count);
    for (int extra = 1; accounts.size() < count; ++extra)
        accounts << Account{QStringLiteral("6%1").arg(extra, 3, 10, QLatin1Char('0')),
                            QStringLiteral("その他費用%1").arg(extra), 4};
    return accounts;
}

// Accounts whose common lines are shared out by ratios.
const QStringList& sharedAccounts() {
    static const QStringList codes = {"5230", "5240", "5250"};
    return codes;
}

QList<SubDepartment> planSubDepartments(int count, Random& random) {
    static const QStringList summaryNames = {"本部", "在宅サービス部", "施設サービス部",
                                             "地域支援部"};
    static const QStringList inputNames = {"総務課",       "経理課",   "訪問介護", "通所介護",
                                           "居宅介護支援", "特別養護", "短期入所", "配食サービス"};
    QList<SubDepartment> plan;
    plan << SubDepartment{0, QStringLiteral("法人全体"), false, 0, false};
    int summaries = 0, inputs = 0;
    for (int code = 1; code <= count; ++code) {
        // Every third code heads a group of the two that follow it.
        const bool summary = (code - 1) % 3 == 0 && code < count;
        if (summary) {
            const QString name = summaries < summaryNames.size()
                                     ? summaryNames[summaries]
                                     : QStringLiteral("部門グループ%1").arg(summaries + 1);
            ++summaries;
            plan << SubDepartment{code, name, false, 1, false};
        } else {
            const QString name = inputs < inputNames.size()
                                     ? inputNames[inputs]
                                     : QStringLiteral("課%1").arg(inputs + 1);
            const bool selected = inputs == 0 || random.chance(80);
            ++inputs;
            plan << SubDepartment{code, name, true, summaries > 0 ? 2 : 1, selected};
        }
    }
    return plan;
}

QString departmentName(int index) {
    static const QStringList names = {"さくら園", "ひまわり苑", "すみれ荘",
                                      "あおば館", "わかば園",   "もみじの里"};
    return index < names.size() ? names[index] : QStringLiteral("事業所%1").arg(index + 1);
}

// Appends one row, setting the given fields by name.
void appendRow(Table& table, const QList<std::pair<const char*, QVariant>>& values) {
    table.append();
    for (const auto& [name, value] : values)
        table.fieldByName(QString::fromUtf8(name)).setValue(value);
    table.post();
}

void createTables(store::Database& database, const QList<store::TableLayout>& layouts) {
    for (const store::TableLayout& layout : layouts)
        database.createTable(layout);
}

void writeHead(store::Session& session, const QString& database, const QString& facility) {
    Table head(session, database, QStringLiteral("Head"));
    head.open();
    appendRow(head, {{"法人名", QStringLiteral("社会福祉法人 さくら福祉会")},
                     {"施設名", facility},
                     {"代表者", QStringLiteral("山田 太郎")},
                     {"郵便番号", QStringLiteral("460-0001")},
                     {"住所", QStringLiteral("名古屋市中区三の丸一丁目1番1号")},
                     {"電話", QStringLiteral("052-000-0000")},
                     {"会計期首", QDate(2017, 4, 1)},
                     {"自期日", QDate(2017, 4, 1)},
                     {"至期日", QDate(2018, 3, 31)},
                     {"PassWord", samplePassWord()}});
}

// The amounts of one account for one sub-department.
struct Amounts {
    std::array<double, 6> values{}; // 当初予算, 補正額１, 前年度予算, 期首繰越, 借方, 貸方
    double lastYear = 0; // 前年実績
};

Amounts randomAmounts(const Account& account, Random& random) {
    Amounts amounts;
    amounts.values[0] = random.between(10, 900) * 1000.0;
    amounts.values[1] = random.chance(30) ? random.between(-50, 50) * 1000.0 : 0.0;
    amounts.values[2] = random.between(10, 900) * 1000.0;
    amounts.values[3] = account.category <= 2 ? random.between(0, 5000) * 100.0 : 0.0;
    amounts.values[4] = random.between(0, 200000) * 10.0;
    amounts.values[5] = random.between(0, 200000) * 10.0;
    amounts.lastYear = random.between(0, 900) * 1000.0;
    return amounts;
}

void setAmounts(Table& table, const Amounts& a, bool withLastYear) {
    const double budget = a.values[0] + a.values[1];
    const double balance = a.values[3] + a.values[4] - a.values[5];
    table.fieldByName(QStringLiteral("当初予算")).setAsFloat(a.values[0]);
    table.fieldByName(QStringLiteral("補正額１")).setAsFloat(a.values[1]);
    table.fieldByName(QStringLiteral("予算")).setAsFloat(budget);
    table.fieldByName(QStringLiteral("前年度予算")).setAsFloat(a.values[2]);
    table.fieldByName(QStringLiteral("予算増減額")).setAsFloat(budget - a.values[2]);
    table.fieldByName(QStringLiteral("期首繰越")).setAsFloat(a.values[3]);
    table.fieldByName(QStringLiteral("前残高")).setAsFloat(a.values[3]);
    table.fieldByName(QStringLiteral("借方")).setAsFloat(a.values[4]);
    table.fieldByName(QStringLiteral("貸方")).setAsFloat(a.values[5]);
    table.fieldByName(QStringLiteral("残高")).setAsFloat(balance);
    table.fieldByName(QStringLiteral("残高合計")).setAsFloat(balance);
    table.fieldByName(QStringLiteral("差異")).setAsFloat(budget - a.values[4]);
    table.fieldByName(QStringLiteral("比")).setAsFloat(budget == 0 ? 0 : a.values[4] / budget);
    table.fieldByName(QStringLiteral("次年度予算")).setAsFloat(budget);
    if (withLastYear)
        table.fieldByName(QStringLiteral("前年実績")).setAsFloat(a.lastYear);
}

Amounts sum(const QList<Amounts>& parts) {
    Amounts total;
    for (const Amounts& part : parts) {
        for (size_t i = 0; i < total.values.size(); ++i)
            total.values[i] += part.values[i];
        total.lastYear += part.lastYear;
    }
    return total;
}

class BLevelWriter {
public:
    BLevelWriter(store::Session& session, const QString& database, const SampleOptions& options,
                 Random& random)
        : session_(session), database_(database), options_(options), random_(random),
          accounts_(chooseAccounts(options.accounts)),
          plan_(planSubDepartments(options.subDepartments, random)) {
        for (const SubDepartment& sub : plan_)
            if (sub.input)
                inputs_ << sub.code;
        for (const SubAccount& subAccount : subAccountCatalogue())
            if (hasAccount(subAccount.account))
                subAccounts_ << subAccount;
        for (const Account& account : accounts_)
            if (sharedAccounts().contains(account.code))
                allocated_ << &account;
    }

    qint64 write(const QString& facility) {
        writeHead(session_, database_, facility);
        writeBumon();
        writeAccounts(QStringLiteral("Mkamoku"), true);
        writeAccounts(QStringLiteral("Mkamoku2"), false);
        writeSubAccounts();
        writeAllocation();
        return writeVouchers();
    }

private:
    bool hasAccount(const QString& code) const {
        for (const Account& account : accounts_)
            if (account.code == code)
                return true;
        return false;
    }

    const Account& pick(int category) {
        QList<int> candidates;
        for (int i = 0; i < accounts_.size(); ++i)
            if (accounts_[i].category == category)
                candidates << i;
        if (candidates.isEmpty())
            return accounts_[random_.between(0, int(accounts_.size()) - 1)];
        return accounts_[candidates[random_.between(0, int(candidates.size()) - 1)]];
    }

    QString subAccountOf(const QString& account) {
        QStringList codes;
        for (const SubAccount& subAccount : subAccounts_)
            if (subAccount.account == account)
                codes << subAccount.code;
        return codes.isEmpty() ? QString() : codes[random_.between(0, int(codes.size()) - 1)];
    }

    void writeBumon() {
        Table bumon(session_, database_, QStringLiteral("Bumon"));
        bumon.open();
        for (const SubDepartment& sub : plan_) {
            bumon.append();
            bumon.fieldByName(QStringLiteral("code")).setAsInteger(sub.code);
            bumon.fieldByName(QStringLiteral("Bumonmei")).setAsString(sub.name);
            if (sub.input)
                bumon.fieldByName(QStringLiteral("F1")).setAsInteger(1);
            bumon.fieldByName(QStringLiteral("F4")).setAsInteger(sub.level);
            if (sub.selected)
                bumon.fieldByName(QStringLiteral("F12")).setAsInteger(1);
            bumon.post();
        }
    }

    void writeAccounts(const QString& tableName, bool byCode) {
        Table table(session_, database_, tableName);
        table.open();
        for (int i = 0; i < accounts_.size(); ++i) {
            const Account& account = accounts_[i];
            QList<Amounts> parts;
            for (qsizetype k = 0; k < inputs_.size(); ++k)
                parts << randomAmounts(account, random_);
            for (qsizetype k = -1; k < inputs_.size(); ++k) {
                table.append();
                table.fieldByName(QStringLiteral("B_ID")).setAsInteger(k < 0 ? 0 : inputs_[k]);
                table.fieldByName(QStringLiteral("code")).setAsString(account.code);
                table.fieldByName(QStringLiteral("SNo")).setAsInteger(i + 1);
                table.fieldByName(QStringLiteral("科目名")).setAsString(account.name);
                table.fieldByName(QStringLiteral("FlgA")).setAsInteger(account.category);
                table.fieldByName(QStringLiteral("FlgB")).setAsInteger(1);
                table.fieldByName(QStringLiteral("FlgC")).setAsInteger(account.category * 10);
                table.fieldByName(QStringLiteral("FlgF")).setAsInteger(9);
                table.fieldByName(QStringLiteral("FlgH")).setAsInteger(i % 5);
                for (const char* flag : {"FlgM", "FlgN", "FlgP"})
                    table.fieldByName(QString::fromLatin1(flag)).setAsInteger(0);
                if (account.category == 4 && i % 4 == 0)
                    table.fieldByName(QStringLiteral("注記"))
                        .setAsString(QStringLiteral("按分対象"));
                setAmounts(table, k < 0 ? sum(parts) : parts[k], byCode);
                table.post();
            }
        }
    }

    void writeSubAccounts() {
        Table list(session_, database_, QStringLiteral("hojokamoku"));
        Table master(session_, database_, QStringLiteral("Mhojokamoku"));
        list.open();
        master.open();
        for (const SubAccount& subAccount : subAccounts_) {
            appendRow(list, {{"kamoku_CD", subAccount.account},
                             {"hojo_CD", subAccount.code},
                             {"補助科目名", subAccount.name},
                             {"予算", random_.between(1, 500) * 1000.0}});
            QList<double> carried;
            for (qsizetype k = 0; k < inputs_.size(); ++k)
                carried << random_.between(0, 9000) * 100.0;
            double total = 0;
            for (double value : carried)
                total += value;
            for (qsizetype k = -1; k < inputs_.size(); ++k)
                appendRow(master, {{"B_ID", k < 0 ? 0 : inputs_[k]},
                                   {"kamoku_CD", subAccount.account},
                                   {"hojo_CD", subAccount.code},
                                   {"補助科目名", subAccount.name},
                                   {"期首繰越", k < 0 ? total : carried[k]}});
        }
    }

    void writeAllocation() {
        Table allocation(session_, database_, QStringLiteral("anbunwari"));
        allocation.open();
        for (const Account& account : accounts_) {
            if (!sharedAccounts().contains(account.code) || inputs_.isEmpty())
                continue;
            // Ratios in thousandths over the input sub-departments.
            QList<int> weights;
            for (qsizetype k = 0; k < inputs_.size(); ++k)
                weights << (account.code == u"5250" ? random_.between(1, 9) : 1);
            int weightTotal = 0;
            for (int weight : weights)
                weightTotal += weight;
            allocation.append();
            allocation.fieldByName(QStringLiteral("kamoku_CD")).setAsString(account.code);
            allocation.fieldByName(QStringLiteral("科目名")).setAsString(account.name);
            allocation.fieldByName(QStringLiteral("按分区分")).setAsInteger(1);
            allocation.fieldByName(QStringLiteral("合計")).setAsInteger(1000);
            int given = 0;
            for (qsizetype k = 0; k < inputs_.size(); ++k) {
                const int ratio =
                    k + 1 == inputs_.size() ? 1000 - given : 1000 * weights[k] / weightTotal;
                given += ratio;
                allocation.fieldByName(QStringLiteral("比率%1").arg(inputs_[k]))
                    .setAsInteger(ratio);
            }
            for (const SubDepartment& sub : plan_)
                if (!sub.input && sub.code > 0)
                    allocation.fieldByName(QStringLiteral("比率%1").arg(sub.code)).setAsInteger(0);
            allocation.post();
        }
    }

    qint64 writeVouchers() {
        Table lines(session_, database_, QStringLiteral("denpyou1"));
        lines.open();
        qint64 written = 0;
        const QDate start(2017, 4, 1);
        for (int number = 1; number <= options_.vouchers; ++number) {
            const QDate date = start.addDays(random_.between(0, 364));
            const int flag = inputs_.isEmpty() || random_.chance(options_.commonPercent)
                                 ? 0
                                 : inputs_[random_.between(0, int(inputs_.size()) - 1)];
            const int lineCount = random_.between(1, 3);
            for (int sub = 1; sub <= lineCount; ++sub) {
                const int kind = random_.between(1, 10);
                const Account& debit =
                    flag == 0 && options_.commonLinesAllocated && !allocated_.isEmpty()
                        ? *allocated_[random_.between(0, int(allocated_.size()) - 1)]
                    : kind <= 6 ? pick(4)
                                : pick(1);
                const Account& credit = kind <= 6 ? pick(1) : (kind <= 9 ? pick(3) : pick(1));
                double amount = random_.between(100, 50000) * 10.0;
                if (random_.chance(20))
                    amount += random_.between(1, 9);
                lines.append();
                lines.fieldByName(QStringLiteral("SNo")).setAsInteger(number);
                lines.fieldByName(QStringLiteral("Sub_No")).setAsInteger(sub);
                lines.fieldByName(QStringLiteral("hizuke")).setAsDate(date);
                lines.fieldByName(QStringLiteral("Lcode")).setAsString(debit.code);
                lines.fieldByName(QStringLiteral("Rcode")).setAsString(credit.code);
                lines.fieldByName(QStringLiteral("LHcode")).setAsString(subAccountOf(debit.code));
                lines.fieldByName(QStringLiteral("RHcode")).setAsString(subAccountOf(credit.code));
                lines.fieldByName(QStringLiteral("Lkingaku")).setAsFloat(amount);
                lines.fieldByName(QStringLiteral("Rkingaku")).setAsFloat(amount);
                lines.fieldByName(QStringLiteral("tekiyou1"))
                    .setAsString(QStringLiteral("%1 %2月分").arg(debit.name).arg(date.month()));
                lines.fieldByName(QStringLiteral("tekiyou2")).setAsString(credit.name);
                for (const char* zero : {"LflgS", "RflgS", "FlgU", "FlgV"})
                    lines.fieldByName(QString::fromLatin1(zero)).setAsInteger(0);
                lines.fieldByName(QStringLiteral("FlgT")).setAsInteger(flag);
                lines.fieldByName(QStringLiteral("FlgW")).setAsInteger(1);
                lines.post();
                ++written;
            }
        }
        return written;
    }

    store::Session& session_;
    QString database_;
    const SampleOptions& options_;
    Random& random_;
    QList<Account> accounts_;
    QList<SubDepartment> plan_;
    QList<int> inputs_;
    QList<SubAccount> subAccounts_;
    QList<const Account*> allocated_; // accounts with allocation ratios
};

void checkOptions(const SampleOptions& options) {
    auto outside = [](int value, int low, int high) { return value < low || value > high; };
    if (outside(options.departments, 1, 999))
        throw SampleError(QStringLiteral("部門の数は 1～999 で指定してください。"));
    if (outside(options.subDepartments, 1, 100))
        throw SampleError(QStringLiteral("下位部門の数は 1～100 で指定してください。"));
    if (outside(options.accounts, 1, 999))
        throw SampleError(QStringLiteral("科目の数は 1～999 で指定してください。"));
    if (outside(options.vouchers, 0, 9999999))
        throw SampleError(QStringLiteral("伝票の数は 0～9999999 で指定してください。"));
}

} // namespace

QString samplePassWord() {
    return QStringLiteral("smpL7K2");
}

SampleSummary writeSampleDataSets(const QString& dir, const SampleOptions& options) {
    checkOptions(options);
    const QDir root(QDir(dir).absolutePath());
    const int width = qMax(2, int(QString::number(options.departments).size()));
    SampleSummary summary;
    summary.aLevel = root.filePath(QStringLiteral("A"));
    for (int i = 1; i <= options.departments; ++i)
        summary.bLevels << root.filePath(QStringLiteral("B%1").arg(i, width, 10, QLatin1Char('0')));

    const QStringList folders = QStringList{summary.aLevel} + summary.bLevels;
    for (const QString& folder : folders) {
        const QString file = store::tablesFilePath(folder);
        if (!QFileInfo::exists(file))
            continue;
        if (!options.replace)
            throw SampleError(QStringLiteral("「%1」にはすでにデータがあります。置き換えるときは "
                                             "--force を指定してください。")
                                  .arg(QDir::toNativeSeparators(folder)));
        if (!QFile::remove(file))
            throw SampleError(
                QStringLiteral("「%1」を置き換えられません。").arg(QDir::toNativeSeparators(file)));
    }
    for (const QString& folder : folders)
        if (!root.mkpath(folder))
            throw SampleError(QStringLiteral("フォルダ「%1」を作成できません。")
                                  .arg(QDir::toNativeSeparators(folder)));

    Random random(options.seed);
    store::Session session(QStringLiteral("sample"));
    for (int i = 0; i < options.departments; ++i) {
        store::Database database(session, QStringLiteral("B"), summary.bLevels[i]);
        database.connection(true); // creates the folder's tables file
        store::Transaction transaction(database);
        createTables(database, bLevelLayouts(options.subDepartments));
        BLevelWriter writer(session, QStringLiteral("B"), options, random);
        summary.voucherLines += writer.write(departmentName(i));
        transaction.commit();
    }

    store::Database aLevel(session, QStringLiteral("A"), summary.aLevel);
    aLevel.connection(true);
    store::Transaction transaction(aLevel);
    createTables(aLevel, aLevelLayouts());
    writeHead(session, QStringLiteral("A"), QStringLiteral("法人本部（集計）"));
    Table bumon(session, QStringLiteral("A"), QStringLiteral("BUMON"));
    bumon.open();
    appendRow(bumon, {{"code", 0}});
    appendRow(bumon, {{"code", 1}, {"Bumonmei", QStringLiteral("合　計")}, {"F1", 1}});
    for (int i = 0; i < options.departments; ++i)
        appendRow(bumon,
                  {{"code", i + 2},
                   {"Bumonmei", departmentName(i)},
                   {"Path", QDir::toNativeSeparators(summary.bLevels[i]) + QDir::separator()},
                   {"F1", 1}});
    bumon.close();
    transaction.commit();
    return summary;
}

} // namespace marubo::sample
