// The repayment schedule of a plan.
//
// Walking a part: the balance starts at the part's principal. Each payment first takes the
// interest on the balance before it, balance x (rate in thousandths of a percent) / 1,200,000
// (or / 200,000 for a half-year) in whole numbers, truncated; what the payment
// repays of the principal follows from the method:
//   元利均等  level payment - interest (the level payment being the one the form shows),
//   元金均等  the form's payment - interest for the first payment, principal / count after it,
// and the last payment repays whatever is left. Because the level payment is truncated and
// each interest is truncated, the principals of the earlier payments do not add up to the
// principal exactly; the last payment absorbs the difference (a few yen, either way).
//
// The principal repaid by a payment is kept between 0 and the balance, which is what makes the
// balance end at exactly 0 for every input.

#include "core/repayment_schedule.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/plan_texts.h"
#include "core/repayment.h"
#include "core/text_forms.h"
#include "core/units.h"

namespace zorvik {
namespace {

// Rates from 10^15 percent up give the largest interest on any balance of a yen or more.
constexpr double kLargestShownRate = 1e15;
constexpr int64_t kLargestRateThousandths = 1000000000000000000;

uint64_t Magnitude(int64_t v) {
  return v < 0 ? uint64_t{0} - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
}

// balance x rateThousandths / divisor, truncated toward zero, within +-kMaxScheduleInterest. The
// product is formed in 64 unsigned bits; where it would not fit (above 2^64), the quotient by a
// divisor of at most 1,200,000 is above 2^43 and so beyond the limit anyway.
int64_t InterestOn(int64_t balance, int64_t rateThousandths, int64_t divisor) {
  if (balance == 0 || rateThousandths == 0 || divisor <= 0) return 0;
  const uint64_t b = Magnitude(balance);
  const uint64_t r = Magnitude(rateThousandths);
  const uint64_t limit = static_cast<uint64_t>(kMaxScheduleInterest);
  const uint64_t quotient =
      b > std::numeric_limits<uint64_t>::max() / r ? limit : std::min(b * r / static_cast<uint64_t>(divisor), limit);
  const int64_t interest = static_cast<int64_t>(quotient);
  return (balance < 0) != (rateThousandths < 0) ? -interest : interest;
}

// Complete, method 1 or 2, a positive period and something to repay (`row` already capped).
bool SchedulableButForPeriod(const LoanRow& row) {
  const bool knownMethod = row.method == MethodCode(RepaymentMethod::EqualInstallment) ||
                           row.method == MethodCode(RepaymentMethod::EqualPrincipal);
  const bool somethingToRepay = int64_t{row.loanAmount} - row.bonusAmount > 0 || row.bonusAmount > 0;
  return row.IsComplete() && row.periodYears > 0 && knownMethod && somethingToRepay;
}

void Add(ScheduleTotals& to, const ScheduleTotals& from) {
  to.principal += from.principal;
  to.totalRepaid += from.totalRepaid;
  to.totalInterest += from.totalInterest;
  to.paymentCount += from.paymentCount;
  to.unpaidInterest += from.unpaidInterest;
  to.years = std::max(to.years, from.years);
}

// Adds `from` into `to` year by year; balances add as well (a schedule that has ended owes 0).
void AddYears(std::vector<ScheduleYear>& to, const std::vector<ScheduleYear>& from) {
  if (to.size() < from.size()) {
    const size_t old = to.size();
    to.resize(from.size());
    for (size_t i = old; i < to.size(); ++i) to[i].year = static_cast<int32_t>(i + 1);
  }
  for (size_t i = 0; i < from.size(); ++i) {
    to[i].payment += from[i].payment;
    to[i].principal += from[i].principal;
    to[i].interest += from[i].interest;
    to[i].balance += from[i].balance;
    to[i].unpaidInterest += from[i].unpaidInterest;
  }
}

// Walks one part, adding its payments to `totals` and its years to a year view of its own.
std::vector<ScheduleYear> WalkPart(const SchedulePart& part, ScheduleTotals& totals) {
  std::vector<ScheduleYear> years;
  if (!part.HasPayments()) return years;
  years.reserve(static_cast<size_t>(part.paymentCount / part.paymentsPerYear));
  totals.principal += part.principal;
  PartPayments walk(part);
  SchedulePayment p;
  while (walk.Next(p)) {
    if (years.empty() || years.back().year != p.year) years.push_back(ScheduleYear{p.year, 0, 0, 0, 0, 0});
    ScheduleYear& y = years.back();
    y.payment += p.payment;
    y.principal += p.principal;
    y.interest += p.interest;
    y.balance = p.balance;
    y.unpaidInterest += p.unpaidInterest;
    totals.totalRepaid += p.payment;
    totals.totalInterest += p.interest;
    totals.unpaidInterest += p.unpaidInterest;
    if (p.prepayment) continue;
    ++totals.paymentCount;
    totals.years = std::max(totals.years, p.year);
  }
  return years;
}

}  // namespace

const char* SchedulePartText(SchedulePartKind kind) {
  return kind == SchedulePartKind::Monthly ? "月払" : "ボーナス払";
}

const char* PaymentLineText(SchedulePartKind kind, const SchedulePayment& payment) {
  return payment.prepayment ? "繰上返済" : SchedulePartText(kind);
}

int64_t RateInThousandths(double ratePercent) {
  if (!std::isfinite(ratePercent)) return 0;
  if (ratePercent >= kLargestShownRate) return kLargestRateThousandths;
  if (ratePercent <= -kLargestShownRate) return -kLargestRateThousandths;
  // The digits of the text the box shows ("2.375％"), without the point.
  int64_t value = 0;
  bool negative = false;
  for (const char c : FormatRate(ratePercent)) {
    if (c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      value = value * 10 + (c - '0');
    } else if (c != '.') {
      break;
    }
  }
  return negative ? -value : value;
}

LoanRow ScheduledLoan(const LoanRow& row) {
  LoanRow loan = row;
  loan.bonusAmount = std::min(row.bonusAmount, row.loanAmount);
  return loan;
}

bool HasSchedule(const LoanRow& row) {
  const LoanRow loan = ScheduledLoan(row);
  return SchedulableButForPeriod(loan) && loan.periodYears <= kMaxSchedulePeriodYears;
}

bool IsLeftOutOfSchedule(const LoanRow& row) {
  const LoanRow loan = ScheduledLoan(row);
  return SchedulableButForPeriod(loan) && loan.periodYears > kMaxSchedulePeriodYears;
}

bool StoredPaymentsDiffer(const LoanRow& row) {
  if (!HasSchedule(row)) return false;
  return row.monthlyPayment != MakeSchedulePart(row, SchedulePartKind::Monthly).firstPayment ||
         row.bonusPayment != MakeSchedulePart(row, SchedulePartKind::Bonus).firstPayment;
}

SchedulePart MakeSchedulePart(const LoanRow& row, SchedulePartKind kind) {
  const LoanRow loan = ScheduledLoan(row);
  SchedulePart part;
  part.kind = kind;
  part.method = loan.method;
  part.paymentsPerYear = kind == SchedulePartKind::Monthly ? 12 : 2;
  part.interestDivisor = kind == SchedulePartKind::Monthly ? kMonthlyInterestDivisor : kBonusInterestDivisor;
  if (!HasSchedule(loan)) return part;

  const int64_t bonusYen = int64_t{loan.bonusAmount} * kYenPerManYen;
  const int64_t principal =
      kind == SchedulePartKind::Monthly ? int64_t{loan.loanAmount} * kYenPerManYen - bonusYen : bonusYen;
  if (principal <= 0) return part;

  // The payment the form shows comes from its own formula; only the interest is exact.
  const PaymentFactors factors = PreparePaymentFactors(loan.method, loan.periodYears, loan.ratePercent);
  part.principal = principal;
  part.paymentCount = int32_t{loan.periodYears} * part.paymentsPerYear;
  part.rateThousandths = RateInThousandths(loan.ratePercent);
  part.firstPayment = kind == SchedulePartKind::Monthly ? MonthlyPaymentWith(factors, loan.loanAmount, loan.bonusAmount)
                                                        : BonusPaymentWith(factors, loan.bonusAmount);
  part.equalPrincipal = principal / part.paymentCount;
  return part;
}

PartPayments::PartPayments(const SchedulePart& part)
    : part_(part), balance_(part.principal), rate_(part.rateThousandths), level_(part.firstPayment) {}

void PartPayments::MoveToRateOf(int32_t number) {
  const int64_t previousRate = rate_;
  bool reset = false;
  while (nextChange_ < part_.rates.size() && part_.rates[nextChange_].fromPayment <= number) {
    const RateChange& change = part_.rates[nextChange_++];
    rate_ = RateInThousandths(change.ratePercent);
    ratePercent_ = change.ratePercent;
    reset = reset || (change.resetsPayment && change.fromPayment == number);
  }
  if (number == 1) {
    levelRate_ = rate_;
    return;
  }
  // Only a level payment is reviewed; an equal-principal payment follows its interest anyway.
  if (part_.method != MethodCode(RepaymentMethod::EqualInstallment)) return;
  const int32_t remaining = part_.paymentCount - number + 1;
  const PaymentReview& review = part_.review;
  if (reset || (!review.fiveYearRule && rate_ != previousRate)) {
    level_ = LevelPayment(balance_, ratePercent_, remaining, part_.paymentsPerYear);
    levelRate_ = rate_;
    lastCapped_ = false;
    if (reset) clockStart_ = number;
    return;
  }
  if (!review.fiveYearRule) return;
  const int32_t every = review.reviewEvery > 0 ? review.reviewEvery : 5 * part_.paymentsPerYear;
  if ((number - clockStart_) % every != 0) return;
  if (rate_ == levelRate_ && !lastCapped_ && !review.recomputeWhenUnchanged) return;
  const int64_t recomputed = LevelPayment(balance_, ratePercent_, remaining, part_.paymentsPerYear);
  const double ceiling = std::floor(static_cast<double>(level_) * review.capRatio);
  const int64_t cap = ceiling >= 9.0e18 ? std::numeric_limits<int64_t>::max() : static_cast<int64_t>(ceiling);
  lastCapped_ = recomputed > cap;
  level_ = std::min(recomputed, cap);
  levelRate_ = rate_;
}

std::pair<int64_t, double> PartPayments::RateOf(int32_t number) const {
  std::pair<int64_t, double> rate{rate_, ratePercent_};
  if (part_.rates.empty()) rate.second = static_cast<double>(part_.rateThousandths) / 1000.0;
  for (size_t i = nextChange_; i < part_.rates.size() && part_.rates[i].fromPayment <= number; ++i) {
    rate = {RateInThousandths(part_.rates[i].ratePercent), part_.rates[i].ratePercent};
  }
  return rate;
}

void PartPayments::Prepay(const PartPrepayment& prepayment, SchedulePayment& out) {
  const int64_t amount = std::clamp<int64_t>(prepayment.amount, 0, balance_);
  balance_ -= amount;
  part_.paymentCount = std::max(number_, part_.paymentCount - std::max(prepayment.removePayments, 0));
  int64_t interest = 0;
  if (balance_ == 0) {
    // 一括返済: the part ends here and pays the interest deferred until now.
    part_.paymentCount = number_;
    interest = deferred_;
    deferred_ = 0;
  } else if (prepayment.recompute && part_.paymentCount > number_) {
    // 返済額軽減型: the same remaining payments at once at the rate of the next payment, outside the
    // review rules; it counts as the payment's last recomputation.
    const int32_t remaining = part_.paymentCount - number_;
    const auto [thousandths, percent] = RateOf(number_ + 1);
    if (part_.method == MethodCode(RepaymentMethod::EqualInstallment)) {
      level_ = LevelPayment(balance_, percent, remaining, part_.paymentsPerYear);
      levelRate_ = thousandths;
      lastCapped_ = false;
    } else {
      part_.equalPrincipal = balance_ / remaining;
    }
  }
  principalReset_ = true;
  out.number = number_;
  out.year = number_ == 0 ? 1 : (number_ - 1) / part_.paymentsPerYear + 1;
  out.payment = amount + interest;
  out.principal = amount;
  out.interest = interest;
  out.balance = balance_;
  out.unpaidInterest = 0;
  out.prepayment = true;
}

bool PartPayments::Next(SchedulePayment& out) {
  if (!part_.HasPayments() || balance_ <= 0) return false;
  while (nextPrepayment_ < part_.prepayments.size() && part_.prepayments[nextPrepayment_].afterPayment < number_) {
    ++nextPrepayment_;  // out of order or beyond the part: not paid
  }
  if (nextPrepayment_ < part_.prepayments.size() && part_.prepayments[nextPrepayment_].afterPayment == number_ &&
      number_ < part_.paymentCount) {
    Prepay(part_.prepayments[nextPrepayment_++], out);
    return true;
  }
  if (number_ >= part_.paymentCount) return false;
  ++number_;
  MoveToRateOf(number_);
  const int64_t interest = InterestOn(balance_, rate_, part_.interestDivisor);
  const bool level = part_.method == MethodCode(RepaymentMethod::EqualInstallment);
  // With one rate throughout, a level payment below its interest is raised to the interest; once
  // the rate moves, the payment stays and the interest it leaves is deferred.
  const bool defers = level && part_.rates.size() > 1;
  int64_t principal = 0;
  int64_t paidInterest = interest;
  int64_t unpaid = 0;
  if (number_ == part_.paymentCount) {
    principal = balance_;
  } else if (level) {
    if (defers && level_ < interest) {
      paidInterest = std::max<int64_t>(level_, 0);
      unpaid = interest - paidInterest;
    } else {
      principal = level_ - interest;
    }
  } else {
    principal = number_ == 1 && !principalReset_ ? part_.firstPayment - interest : part_.equalPrincipal;
  }
  principal = std::clamp<int64_t>(principal, 0, balance_);
  balance_ -= principal;
  deferred_ += unpaid;
  if (balance_ == 0) {
    // The payment that ends the part pays every deferred yen with it.
    paidInterest += deferred_;
    deferred_ = 0;
  }
  out.number = number_;
  out.year = (number_ - 1) / part_.paymentsPerYear + 1;
  out.payment = principal + paidInterest;
  out.principal = principal;
  out.interest = paidInterest;
  out.balance = balance_;
  out.unpaidInterest = unpaid;
  out.prepayment = false;
  return true;
}

std::vector<SchedulePayment> PartPaymentList(const SchedulePart& part) {
  std::vector<SchedulePayment> list;
  if (part.HasPayments()) list.reserve(static_cast<size_t>(part.paymentCount));
  PartPayments walk(part);
  SchedulePayment p;
  while (walk.Next(p)) list.push_back(p);
  return list;
}

RowSchedule BuildRowSchedule(const LoanRow& row, int rowIndex, const RowTimeline& timeline) {
  RowSchedule s;
  s.row = rowIndex;
  s.loan = ScheduledLoan(row);
  s.monthly = MakeSchedulePart(row, SchedulePartKind::Monthly);
  s.bonus = MakeSchedulePart(row, SchedulePartKind::Bonus);
  if (timeline) timeline(s);
  AddYears(s.years, WalkPart(s.monthly, s.monthlyTotals));
  AddYears(s.years, WalkPart(s.bonus, s.bonusTotals));
  Add(s.totals, s.monthlyTotals);
  Add(s.totals, s.bonusTotals);
  return s;
}

PlanSchedule BuildPlanSchedule(const FundingPlan& plan, const RowTimeline& timeline) {
  PlanSchedule s;
  for (int i = 0; i < kLoanRowCount; ++i) {
    const LoanRow& row = plan.rows[static_cast<size_t>(i)];
    if (IsLeftOutOfSchedule(row)) s.leftOutRows.push_back(i);
    if (!HasSchedule(row)) continue;
    s.storedPaymentsDiffer = s.storedPaymentsDiffer || StoredPaymentsDiffer(row);
    RowSchedule rs = BuildRowSchedule(row, i, timeline);
    Add(s.totals, rs.totals);
    AddYears(s.years, rs.years);
    s.rows.push_back(std::move(rs));
  }
  return s;
}

const RowSchedule* PlanSchedule::FindRow(int row) const {
  for (const RowSchedule& r : rows) {
    if (r.row == row) return &r;
  }
  return nullptr;
}

std::string ScheduleRowTitle(int row, const std::string& loanName) {
  std::string title = std::to_string(row + 1) + "行目";
  if (!loanName.empty()) title += " " + loanName;
  return title;
}

std::string ScheduleRowDetails(const LoanRow& row) {
  std::string text = MethodText(row.method);
  text += "  " + FormatRate(row.ratePercent) + "  " + FormatPeriod(row.periodYears) + "  " +
          FormatScheduleManYen(row.loanAmount);
  if (row.bonusAmount != 0) text += "（内ボーナス " + FormatScheduleManYen(row.bonusAmount) + "）";
  return text;
}

std::string LeftOutRowText(int row) {
  return std::to_string(row + 1) + "行目 " + kLeftOutOfScheduleText;
}

std::vector<std::string> ScheduleNotes(const PlanSchedule& schedule) {
  std::vector<std::string> notes;
  for (const int row : schedule.leftOutRows) notes.push_back(LeftOutRowText(row));
  if (schedule.storedPaymentsDiffer) notes.emplace_back(kStoredPaymentsDifferText);
  return notes;
}

std::string FormatPayoffYears(int32_t years) {
  return years > 0 ? std::to_string(years) + "年" : std::string();
}

std::string FormatScheduleYen(int64_t yen) {
  return GroupedInteger(yen) + "円";
}

std::string FormatScheduleManYen(int64_t manYen) {
  return GroupedInteger(manYen) + "万";
}

}  // namespace zorvik
