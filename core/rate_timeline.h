#pragma once
// The timeline of a loan part: the rate of each of its payments and how its payment follows a
// change of rate. A fixed-rate part has one rate from its first payment to its last.
//
// Lenders review the payment of a variable equal-instalment (元利均等) loan only every five years
// (5年ルール) and let it rise by at most a quarter at a review (125%ルール); interest the payment
// does not cover is deferred (未払利息) and paid with the last payment. At the end of a fixed
// period (固定期間選択型) the payment is recomputed once, without a cap, and the five-year clock
// starts again there.

#include <cstdint>

namespace zorvik {

struct RateChange {
  int32_t fromPayment = 1;  // the rate for the interest of this payment (1-based) and later ones
  double ratePercent = 0.0;
  // The payment is recomputed here without a cap even when the rate is unchanged, and the review
  // clock restarts here: the switch at the end of a fixed period.
  bool resetsPayment = false;
};

struct PaymentReview {
  bool fiveYearRule = true;             // 5年ルール・125%ルール; false: recomputed at every rate change
  int32_t reviewEvery = 0;              // payments between reviews; 0 means 60 for 月払, 10 for ボーナス払
  double capRatio = 1.25;               // a reviewed payment is at most floor(previous payment x capRatio)
  bool recomputeWhenUnchanged = false;  // recompute at a review even when the rate did not change
};

// A prepayment (繰上返済) on a part's timeline, as it is applied: after payment `afterPayment` (0:
// before the first), `amount` yen repay principal at once. 期間短縮型 removes the next
// `removePayments` payments (the amount is their principal shares, so every later payment keeps
// its amount and the part ends that many payments early); 返済額軽減型 (`recompute`) keeps the
// number of payments and recomputes the payment over them at the rate of the next payment,
// outside the review rules. An amount that reaches the balance pays the part off (一括返済).
struct PartPrepayment {
  int32_t afterPayment = 0;
  int64_t amount = 0;
  int32_t removePayments = 0;
  bool recompute = false;
};

}  // namespace zorvik
