#include "FieldGroups.h"

namespace marubo::store {

QStringList accountBodyFields() {
    return {"科目名",   "FlgA",       "FlgB",         "FlgC",       "FlgD",       "FlgE",
            "FlgF",     "FlgG",       "FlgH",         "FlgI",       "FlgJ",       "FlgK",
            "FlgL",     "FlgAN",      "当初予算",     "補正額１",   "補正額２",   "補正額３",
            "補正額４", "補正額５",   "予算",         "前年度予算", "予算増減額", "期首繰越",
            "前残高",   "借方",       "貸方",         "残高",       "残高合計",   "差異",
            "比",       "次年度予算", "予算増減額２", "注記",       "注記２"};
}

QStringList subAccountBodyFields() {
    return {"補助科目名", "予算", "期首繰越", "前残高", "借方",
            "貸方",       "残高", "残高合計", "差異",   "比"};
}

QStringList voucherLineFields() {
    return {"SNo",    "Sub_No",   "hizuke",   "Lcode",    "Rcode",    "LHcode",
            "RHcode", "Lkingaku", "Rkingaku", "tekiyou1", "tekiyou2", "LflgS",
            "RflgS",  "FlgT",     "FlgU",     "FlgV",     "FlgW"};
}

QStringList summedAccountFields() {
    return {"当初予算", "補正額１",   "補正額２",   "補正額３", "補正額４", "補正額５",
            "予算",     "前年度予算", "予算増減額", "期首繰越", "前残高",   "借方",
            "貸方",     "残高",       "残高合計",   "差異",     "比",       "次年度予算"};
}

QStringList clearedBalanceFields() {
    return {"前残高", "借方", "貸方", "残高", "残高合計", "差異", "比"};
}

} // namespace marubo::store
