#pragma once

#include <QStringList>

namespace marubo::store {

// Runs of fields that several accounting tables share, in their order.

// The account body: 科目名, the flags FlgA to FlgL and FlgAN, the amounts from
// 当初予算 to 差異, 比, 次年度予算, 予算増減額２, 注記, 注記２ (35 fields).
QStringList accountBodyFields();

// The sub-account body: 補助科目名, the amounts from 予算 to 差異, 比 (10 fields).
QStringList subAccountBodyFields();

// A voucher line: SNo, Sub_No, hizuke, the debit and credit codes, sub-account
// codes and amounts, two descriptions and the flags (17 fields).
QStringList voucherLineFields();

// The account amounts summed over sub-departments (18 fields, 当初予算 to 次年度予算).
QStringList summedAccountFields();

// The balance fields left empty in every account row written to the A level (7 fields).
QStringList clearedBalanceFields();

} // namespace marubo::store
