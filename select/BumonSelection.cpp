#include "BumonSelection.h"

#include "store/Transaction.h"
#include "util/Abort.h"

namespace marubo {

namespace {

QString fieldName(const char* prefix, qint64 number) {
    return QString::fromLatin1(prefix) + QString::number(number);
}

} // namespace

BumonSelection::BumonSelection(TDM& dm)
    : BumonTB(dm.Session1, QStringLiteral("AAA2"), QStringLiteral("Bumon")), dm_(dm) {
    QStringList fields{QStringLiteral("code"), QStringLiteral("Bumonmei"), QStringLiteral("Path")};
    for (int i = 1; i <= 15; ++i)
        fields << fieldName("F", i);
    for (int i = 1; i <= 5; ++i)
        fields << fieldName("S", i);
    BumonTB.setFieldNames(fields);
    // The list of sub-departments belongs to the data set: nothing here adds or removes one.
    BumonTB.setBeforeInsert([](store::DataSet&) { throw Abort(); });
    BumonTB.setBeforeDelete([](store::DataSet&) { throw Abort(); });
}

bool BumonSelection::readsBackwards(const QString& passWord) {
    return passWord == u"rotQ3W8" || passWord == u"rotL5B2";
}

void BumonSelection::inTransaction(const std::function<void()>& work) {
    // Many small writes: one transaction makes them fast and all-or-nothing.
    store::Database* database = BumonTB.database();
    if (!database || database->inTransaction()) {
        work();
        return;
    }
    store::Transaction transaction(*database);
    work();
    transaction.commit();
}

void BumonSelection::activate() {
    BumonTB.open();
    inTransaction([this] {
        BumonTB.disableControls();
        BumonTB.first();
        const qsizetype count = BumonTB.recordCount();
        store::Field& f11 = BumonTB.fieldByName(QStringLiteral("F11"));
        for (qsizetype i = 0; i < count; ++i) {
            BumonTB.edit();
            f11.clear();
            BumonTB.post();
            BumonTB.next();
        }
        BumonTB.enableControls();
        SetSelection();
    });
}

void BumonSelection::SetSelection() {
    inTransaction([this] {
        const store::Bookmark current = BumonTB.bookmark();
        BumonTB.first();
        BumonTB.disableControls();
        store::Field& level = BumonTB.fieldByName(QStringLiteral("F4"));
        store::Field& input = BumonTB.fieldByName(QStringLiteral("F1"));

        // Clear pass.
        QList<store::Field*> cleared;
        for (int i = 5; i <= 11; ++i)
            cleared << &BumonTB.fieldByName(fieldName("F", i));
        for (int i = 1; i <= 5; ++i)
            cleared << &BumonTB.fieldByName(fieldName("S", i));
        qsizetype count = BumonTB.recordCount();
        for (qsizetype i = 0; i < count; ++i) {
            BumonTB.edit();
            for (store::Field* field : cleared)
                field->setAsString(QString());
            BumonTB.post();
            BumonTB.next();
        }

        // Mark pass: a summary row of level L holds L×10 in S<L>; an input row of
        // level L holds "1" in S1..S<L-1> (S5 is the deepest there is).
        BumonTB.first();
        for (qsizetype i = 0; i < count; ++i) {
            const qint64 depth = level.asInteger();
            BumonTB.edit();
            if (input.isNull() && depth >= 1 && depth <= 4)
                BumonTB.fieldByName(fieldName("S", depth)).setAsInteger(depth * 10);
            if (input.asInteger() == 1)
                for (qint64 k = 1; k <= qMin<qint64>(depth - 1, 5); ++k)
                    BumonTB.fieldByName(fieldName("S", k)).setAsString(QStringLiteral("1"));
            BumonTB.post();
            BumonTB.next();
        }

        // Level passes.
        for (int k = 1; k <= 4; ++k) {
            BumonTB.setFilter(QStringLiteral("code>0 and (S%1 is not Null)").arg(k));
            BumonTB.setFiltered(true);
            SetParentCodes();
        }

        // Final pass.
        BumonTB.setFilter(QStringLiteral("code>=") + dm_.BumonCD);
        MarkSelected();

        BumonTB.setFilter(QString());
        BumonTB.setFiltered(false);
        if (current.isValid()) {
            try {
                BumonTB.gotoBookmark(current);
            } catch (const store::EngineError&) {
                BumonTB.first();
            }
        }
        BumonTB.enableControls();
    });
}

void BumonSelection::SetParentCodes() {
    const bool backwards = readsBackwards(dm_.APassWord);
    if (backwards)
        BumonTB.last();
    else
        BumonTB.first();
    store::Field& code = BumonTB.fieldByName(QStringLiteral("code"));
    store::Field& input = BumonTB.fieldByName(QStringLiteral("F1"));
    store::Field& level = BumonTB.fieldByName(QStringLiteral("F4"));
    qint64 parent = 0, parentLevel = 0;
    const qsizetype count = BumonTB.recordCount();
    for (qsizetype i = 0; i < count; ++i) {
        BumonTB.edit();
        const QString kind = input.asString();
        if (kind.isEmpty()) {
            parent = code.asInteger();
            parentLevel = level.asInteger();
        } else if (kind == u"1" && parentLevel > 0 && parentLevel <= 11) {
            BumonTB.fieldByName(fieldName("F", parentLevel + 4)).setAsInteger(parent);
        }
        BumonTB.post();
        if (backwards)
            BumonTB.prior();
        else
            BumonTB.next();
    }
}

void BumonSelection::MarkSelected() {
    BumonTB.first();
    if (BumonTB.isEmpty())
        return; // nothing to mark, and no row may be added
    store::Field& level = BumonTB.fieldByName(QStringLiteral("F4"));
    store::Field& chosen = BumonTB.fieldByName(QStringLiteral("F12"));
    store::Field& taken = BumonTB.fieldByName(QStringLiteral("F11"));
    const qint64 topLevel = level.asInteger();
    BumonTB.edit();
    taken.setAsInteger(1);
    BumonTB.post();
    BumonTB.next();
    const qsizetype count = BumonTB.recordCount();
    if (count < 2) {
        BumonTB.first();
        return;
    }
    for (qsizetype i = 0; i < count - 1; ++i) {
        if (level.asInteger() <= topLevel)
            return;
        if (chosen.asInteger() == 1) {
            BumonTB.edit();
            taken.setAsInteger(1);
            BumonTB.post();
        }
        BumonTB.next();
    }
    BumonTB.first();
}

void BumonSelection::keyRule() {
    if (!BumonTB.isActive() || BumonTB.isEmpty())
        return;
    const bool marked = !BumonTB.fieldByName(QStringLiteral("F12")).asString().isEmpty();
    BumonTB.edit();
    if (marked)
        BumonTB.fieldByName(QStringLiteral("F11")).setAsInteger(1);
    else
        BumonTB.fieldByName(QStringLiteral("F11")).clear();
    BumonTB.post();
}

} // namespace marubo
