#pragma once
// 繰上返済: paying part of a loan early, and what it saves.
//
// 期間短縮型 (元利均等), as lenders do it: the money pays the principal shares of the next j scheduled
// payments, those j payments disappear, and every later payment keeps its amount and split, so the
// loan ends j payments early. The amount actually prepaid is the sum of those shares, so it
// differs from the amount typed: AtLeastAmount takes the smallest j whose shares reach the typed
// amount, AtMostAmount the largest j whose shares stay within it. The interest saved is the
// interest of the removed payments. 元金均等 likewise removes j principal shares; the later
// payments' interest follows the lower balance.
//
// 返済額軽減型: the balance falls by exactly the amount and the payment is recomputed over the same
// remaining payments (元金均等: the new principal share is balance / remaining, truncated). The
// interest saved is the difference of the interest totals.
//
// Under a variable rate a 返済額軽減型 recomputation happens at once at the rate of the next payment,
// outside the five-year and 125 % rules; a 期間短縮型 one changes no payment. Interest already
// deferred stays deferred to the last payment.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/repayment_schedule.h"

namespace zorvik {

enum class PrepaymentKind { ShortenTerm, ReducePayment };  // 期間短縮型, 返済額軽減型
enum class ShortenRule { AtLeastAmount, AtMostAmount };    // how many whole payments an amount buys

enum class PrepaymentRefusal {
  None,
  NoAmount,          // 0 or less
  AboveBalance,      // above the balance after that payment
  AfterOutOfRange,   // not 0 .. N - 1
  BelowFirstShare,   // AtMostAmount: less than the next payment's principal share
  NeedsLastPayment,  // AtLeastAmount: only the whole balance reaches it (一括返済 is offered)
  BonusShorten,      // 期間短縮型 on the bonus part of a row: it acts on the row
  NoSuchPart,        // the row has no such part
};

struct PrepaymentResult {
  int32_t paymentsRemoved = 0;  // 期間短縮型: payments that disappear
  int64_t amount = 0;           // yen actually prepaid
  int64_t interestSaved = 0;    // 利息軽減額, exact
  int64_t newPayment = 0;       // 返済額軽減型: the payment from the next one on (期間短縮型: unchanged)
  PrepaymentRefusal refused = PrepaymentRefusal::None;
  bool paysOff = false;  // the amount is the whole balance: 一括返済
};

// One prepayment on `part` (with the prepayments it already holds), `afterPayment` from 0 to N - 1
// as the part is numbered then, `amount` in yen.
PrepaymentResult PrepayPart(const SchedulePart& part, int32_t afterPayment, int64_t amount, PrepaymentKind kind,
                            ShortenRule rule = ShortenRule::AtLeastAmount);
// The event that applies `result` to the part (for a result that is not refused).
PartPrepayment PrepaymentEvent(int32_t afterPayment, PrepaymentKind kind, const PrepaymentResult& result);

// A prepayment the user plans on a loan row.
struct PlannedPrepayment {
  int row = 0;               // 0..9
  int32_t afterPayment = 0;  // of the monthly part (or of the bonus part with `bonusPart`)
  int64_t amount = 0;        // yen
  PrepaymentKind kind = PrepaymentKind::ShortenTerm;
  ShortenRule rule = ShortenRule::AtLeastAmount;
  bool bonusPart = false;  // 返済額軽減型 only
  bool operator==(const PlannedPrepayment&) const = default;
};

// Applies `planned` to the row's parts (in order; each with the ones before it). For a row with a
// bonus part, 期間短縮型 acts on the row: each step removes the next six monthly payments and the
// one bonus payment among them; the result then sums both parts.
PrepaymentResult PrepayRow(RowSchedule& row, const PlannedPrepayment& planned);

// The message of a refusal, naming the payment and the amount; "" for none.
std::string PrepaymentRefusalText(PrepaymentRefusal refusal);
// "1年4か月" for 16 payments of 12 a year ("6か月", "2年").
std::string ShortenedTermText(int32_t payments, int32_t paymentsPerYear);

// A prepayment written "ROW:AFTER:AMOUNT:shorten|reduce[:bonus]" (the sheet tool's --prepay): ROW the
// form's row number 1-10, AFTER the payment of the part after which it is paid (0: at the start),
// AMOUNT in yen, or in 万円 when it ends in 万 ("100万"). On a malformed text: none, and `error`
// names it. Whether the rules accept it is for PrepayRow to say.
std::optional<PlannedPrepayment> ParsePrepaymentOption(const std::string& text, std::string* error = nullptr);

}  // namespace zorvik
