#pragma once
// The payments of a loan part whose rate changes: 変動金利 under the five-year and 125 % rules, or a
// payment recomputed at every change. A thin entry over the schedule's own walk (PartPayments),
// which follows a part's rate timeline.
//
// 元利均等: the first payment is the level payment at the first rate over all payments. At a
// review (every `reviewEvery` payments from the first, or from the last reset) where the rate in
// force differs from the one the payment was last set at, or the last review was capped, the
// payment becomes the level payment of the principal balance over the remaining payments at the
// rate in force, but at most floor(previous payment x capRatio). Interest the payment does not
// cover is deferred (SchedulePayment::unpaidInterest), earns nothing, and is paid in full with the
// last payment. 元金均等: the principal share stays, the interest follows the rate.

#include <cstdint>
#include <vector>

#include "core/rate_timeline.h"
#include "core/repayment.h"
#include "core/repayment_schedule.h"

namespace zorvik {

// `rates` is sorted by fromPayment and rates[0].fromPayment == 1; anything else is refused (an
// empty result), as are a method other than 1 or 2, no principal or no payments.
std::vector<SchedulePayment> VariableRatePayments(uint16_t method, int64_t principal, int32_t paymentCount,
                                                  int32_t paymentsPerYear, const std::vector<RateChange>& rates,
                                                  const PaymentReview& review);

// Whether `rates` is a timeline a part can follow: not empty, starting at payment 1, strictly
// increasing payment numbers, every rate a finite number.
bool IsRateTimeline(const std::vector<RateChange>& rates);

}  // namespace zorvik
