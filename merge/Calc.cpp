#include "Calc.h"

#include "store/FieldGroups.h"

namespace marubo {

namespace {

QStringList names(std::initializer_list<const char*> list) {
    QStringList result;
    for (const char* name : list)
        result << QString::fromUtf8(name);
    return result;
}

// The work tables' amount fields: from 当初予算 to 予算増減額２.
QStringList workAmountFields() {
    QStringList amounts = store::summedAccountFields();
    amounts << QStringLiteral("予算増減額２");
    return amounts;
}

} // namespace

TCalc::TCalc(TDM& dataModule)
    : dm(dataModule), BumonQry(dm.Session1, QStringLiteral("AAA2")),
      WkamokuTB(dm.Session1, QStringLiteral("WWW"), QStringLiteral("kamoku")),
      Wkamoku2TB(dm.Session1, QStringLiteral("WWW"), QStringLiteral("kamoku2")),
      WhojoTB(dm.Session1, QStringLiteral("WWW"), QStringLiteral("hojokamoku")) {
    const QStringList flags =
        names({"FlgA", "FlgB", "FlgC", "FlgD", "FlgE", "FlgF", "FlgG", "FlgH"});
    WkamokuTB.setFieldNames(QStringList{QStringLiteral("code"), QStringLiteral("科目名")} + flags +
                            workAmountFields() +
                            names({"注記", "注記２", "前年実績", "差異２", "実績比"}));
    Wkamoku2TB.setFieldNames(QStringList{QStringLiteral("SNo"), QStringLiteral("科目名")} + flags +
                             workAmountFields() + names({"注記", "注記２", "code"}));
    WhojoTB.setFieldNames(QStringList{QStringLiteral("kamoku_CD"), QStringLiteral("hojo_CD")} +
                          store::subAccountBodyFields());
}

QString TCalc::selectedSubDepartmentsSql() {
    return QStringLiteral(" Select * From bumon Where (F1=1) and (F11=1) Order By code ");
}

void TCalc::makeDenpyou() {
    dm.Wden1TB.emptyTable();
    BumonQry.close();
    BumonQry.setSql(selectedSubDepartmentsSql());
    BumonQry.open();
    const store::ClosedAtEnd closeQuery({&BumonQry});
    BumonQry.first();
    const qsizetype count = BumonQry.recordCount();
    for (qsizetype i = 0; i < count; ++i) {
        dm.BumonNo = BumonQry.fieldByName(QStringLiteral("code")).asInteger();
        dm.BumonCD = BumonQry.fieldByName(QStringLiteral("code")).asString();
        dm.WdenpyoMake();
        BumonQry.next();
        if (processEvents)
            processEvents();
    }
}

void TCalc::copyList(store::Table& from, store::Table& to, const QStringList& fields) {
    const store::ClosedAtEnd closeBoth({&to, &from});
    to.open();
    from.open();
    std::vector<std::pair<store::Field*, store::Field*>> pairs;
    for (const QString& name : fields)
        pairs.emplace_back(&from.fieldByName(name), &to.fieldByName(name));
    const qsizetype count = from.recordCount();
    from.first();
    for (qsizetype i = 0; i < count; ++i) {
        to.append();
        for (const auto& [source, target] : pairs)
            target->setValue(source->value());
        to.post();
        from.next();
    }
}

void TCalc::sumOver(store::Table& from, store::Table& to, const QStringList& keys,
                    const QStringList& fields) {
    // `to` is open; for each selected sub-department, every row of `from` with
    // its number is added into the `to` row with the same key.
    BumonQry.first();
    for (; !BumonQry.eof(); BumonQry.next()) {
        from.setFilter(QStringLiteral("B_ID = ") +
                       BumonQry.fieldByName(QStringLiteral("code")).asString());
        from.setFiltered(true);
        from.open();
        std::vector<std::pair<store::Field*, store::Field*>> pairs;
        for (const QString& name : fields)
            pairs.emplace_back(&from.fieldByName(name), &to.fieldByName(name));
        std::vector<store::Field*> keyFields;
        for (const QString& key : keys)
            keyFields.push_back(&from.fieldByName(key));
        for (from.first(); !from.eof(); from.next()) {
            QVariantList key;
            for (store::Field* field : keyFields)
                key << field->value();
            if (!to.findKey(key))
                continue; // an account the data set itself does not list
            to.edit();
            for (const auto& [source, target] : pairs)
                target->setAsFloat(target->asFloat() + source->asFloat()); // NULL counts as 0
            to.post();
        }
    }
}

void TCalc::SetTable() {
    dm.MkamokuTB.close();
    dm.Mkamoku2TB.close();
    dm.MkamokuTB.setFilter(QStringLiteral("B_ID=0"));
    dm.MkamokuTB.setFiltered(true);
    dm.Mkamoku2TB.setFilter(QStringLiteral("B_ID=0"));
    dm.Mkamoku2TB.setFiltered(true);
    WkamokuTB.emptyTable();
    Wkamoku2TB.emptyTable();
    WhojoTB.emptyTable();
    WkamokuTB.setIndexFieldNames(QStringLiteral("Code"));
    Wkamoku2TB.setIndexFieldNames(QStringLiteral("SNo"));
    WhojoTB.setIndexFieldNames(QStringLiteral("kamoku_CD;hojo_CD"));

    // The data set's own lists of accounts and sub-accounts.
    const QStringList flags = names({"FlgA", "FlgB", "FlgC", "FlgD", "FlgE", "FlgG", "FlgH"});
    copyList(dm.MkamokuTB, WkamokuTB,
             QStringList{QStringLiteral("code"), QStringLiteral("科目名")} + flags +
                 names({"注記", "注記２"}));
    copyList(dm.Mkamoku2TB, Wkamoku2TB,
             QStringList{QStringLiteral("SNo"), QStringLiteral("科目名")} + flags +
                 names({"code", "注記", "注記２"}));
    dm.MkamokuTB.setFiltered(false);
    dm.Mkamoku2TB.setFiltered(false);
    copyList(dm.hojokamokuTB, WhojoTB, names({"kamoku_CD", "hojo_CD", "補助科目名"}));

    // The amounts, summed over the selected sub-departments.
    BumonQry.close();
    BumonQry.setSql(selectedSubDepartmentsSql());
    BumonQry.open();
    const store::ClosedAtEnd closeAll({&BumonQry, &WkamokuTB, &Wkamoku2TB, &WhojoTB});
    WkamokuTB.open();
    sumOver(dm.MkamokuTB, WkamokuTB, {QStringLiteral("code")},
            store::summedAccountFields() << QStringLiteral("前年実績"));
    WkamokuTB.close();
    Wkamoku2TB.open();
    sumOver(dm.Mkamoku2TB, Wkamoku2TB, {QStringLiteral("SNo")}, store::summedAccountFields());
    Wkamoku2TB.close();
    WhojoTB.open();
    sumOver(dm.MhojokamokuTB, WhojoTB, {QStringLiteral("kamoku_CD"), QStringLiteral("hojo_CD")},
            {QStringLiteral("期首繰越")});
}

} // namespace marubo
