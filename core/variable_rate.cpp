#include "core/variable_rate.h"

#include <cmath>

#include "core/funding_plan.h"

namespace zorvik {

bool IsRateTimeline(const std::vector<RateChange>& rates) {
  if (rates.empty() || rates.front().fromPayment != 1) return false;
  for (size_t i = 0; i < rates.size(); ++i) {
    if (!std::isfinite(rates[i].ratePercent)) return false;
    if (i > 0 && rates[i].fromPayment <= rates[i - 1].fromPayment) return false;
  }
  return true;
}

std::vector<SchedulePayment> VariableRatePayments(uint16_t method, int64_t principal, int32_t paymentCount,
                                                  int32_t paymentsPerYear, const std::vector<RateChange>& rates,
                                                  const PaymentReview& review) {
  const bool knownMethod =
      method == MethodCode(RepaymentMethod::EqualInstallment) || method == MethodCode(RepaymentMethod::EqualPrincipal);
  if (!knownMethod || principal <= 0 || paymentCount <= 0 || paymentsPerYear <= 0 || !IsRateTimeline(rates)) {
    return {};
  }
  SchedulePart part;
  part.kind = paymentsPerYear == 2 ? SchedulePartKind::Bonus : SchedulePartKind::Monthly;
  part.method = method;
  part.principal = principal;
  part.paymentCount = paymentCount;
  part.paymentsPerYear = paymentsPerYear;
  part.interestDivisor = int64_t{100000} * paymentsPerYear;
  const double first = rates.front().ratePercent;
  part.rateThousandths = RateInThousandths(first);
  part.firstPayment = method == MethodCode(RepaymentMethod::EqualInstallment)
                          ? LevelPayment(principal, first, paymentCount, paymentsPerYear)
                          : FirstEqualPrincipalPayment(principal, first, paymentCount, paymentsPerYear);
  part.equalPrincipal = principal / paymentCount;
  part.rates = rates;
  part.review = review;
  return PartPaymentList(part);
}

}  // namespace zorvik
