#pragma once
// The repayment schedule (返済予定表) of a plan: every payment of every loan row, the totals
// (総返済額, 利息総額) and the year-by-year view.
//
// A complete row (rate, period, method and loan not 0) with method 元利均等 or 元金均等 and a
// period from 1 to 99 years has two parts, each with its own principal and number of payments.
// The bonus portion is capped at the loan, as the form caps it:
//   月払       P = (loan - bonus portion) x 10,000円, 12 x years payments
//   ボーナス払 B = bonus portion x 10,000円,           2 x years payments
// A part whose principal is not above 0 has no payments. A row whose period is above the form's
// limit of 99 years takes no part in the schedule; the schedule names it instead
// (PlanSchedule::leftOutRows).
//
// Each payment's interest is computed in whole numbers, as lenders compute it: with t the rate in
// thousandths of a percent as the rate box shows it (three decimals, rounded),
//   月払       balance x t / 1,200,000     ボーナス払  balance x t / 200,000
// truncated toward zero to the yen (3.000 % on 30,000,000円 is exactly 75,000円 a month).
//   元利均等: every payment but the last is the level payment the form shows
//             (CalcMonthlyPayment / CalcBonusPayment, the form's own formula); its principal is
//             payment - interest. The last payment is the remaining balance plus its interest,
//             so it takes up whatever the truncations left over.
//   元金均等: the first payment is the payment the form shows (principal = payment - interest);
//             every later payment repays the principal divided by the number of payments,
//             truncated to the yen, plus its interest; the last one repays the remaining balance.
// Whatever the inputs, a payment's principal lies between 0 and the balance before it: the
// principals of a part add up to its principal exactly and the balance ends at exactly 0. When
// the truncations let the payments reach 0 before the last one (tiny loans over long periods),
// the payment that reaches it repays only what is left and the part ends there. Where a level
// payment does not even cover the interest, its principal is 0 and the payment is the interest:
// inputs beyond the form's limits (from a file), or rates of some 40 % and more over the longest
// periods, where the annuity is all but the interest and the form's formula falls a yen short.
// Interest is kept within +-kMaxScheduleInterest yen a payment so that no product or sum can
// overflow 64 bits; a rate the form would refuse (negative, or too small to show) still gives a
// defined schedule.
//
// All amounts are whole yen in int64_t.

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "core/funding_plan.h"
#include "core/rate_timeline.h"

namespace zorvik {

enum class SchedulePartKind { Monthly, Bonus };

// "月払" or "ボーナス払".
const char* SchedulePartText(SchedulePartKind kind);
struct SchedulePayment;
// The 区分 of one schedule line: the part's "月払" / "ボーナス払", or "繰上返済" for a prepayment.
const char* PaymentLineText(SchedulePartKind kind, const SchedulePayment& payment);

// 2^39 yen: with at most 12 x 99 payments a part and twenty parts a plan, sums stay in int64_t.
inline constexpr int64_t kMaxScheduleInterest = int64_t{1} << 39;
// The longest period a schedule is made for: the form's limit.
inline constexpr int16_t kMaxSchedulePeriodYears = 99;
// Divisors of balance x rate in thousandths of a percent: 100,000 x 12 months, 100,000 x 2 halves.
inline constexpr int64_t kMonthlyInterestDivisor = 1200000;
inline constexpr int64_t kBonusInterestDivisor = 200000;

// The rate as the rate box shows it (three decimals, rounded), in thousandths of a percent:
// 2.375 -> 2375, 1.0005 -> 1000 (the double lies just below the half). Not a finite number: 0.
// Kept within +-10^18 (a rate that large already gives the largest interest on any balance).
int64_t RateInThousandths(double ratePercent);

// One payment. `year` is 年目: (number - 1) / 12 + 1 for 月払, (number - 1) / 2 + 1 for ボーナス払.
struct SchedulePayment {
  int32_t number = 0;  // 回, from 1
  int32_t year = 0;
  int64_t payment = 0;
  int64_t principal = 0;
  int64_t interest = 0;
  int64_t balance = 0;  // after the payment
  // Interest of this payment that the payment did not cover and that is deferred to the last
  // payment (未払利息); `interest` is what the payment itself paid of interest.
  int64_t unpaidInterest = 0;
  // A prepayment (繰上返済) line: paid after payment `number` (0: before the first), its payment is
  // its principal (and, when it pays the part off, the interest deferred until then).
  bool prepayment = false;
  bool operator==(const SchedulePayment&) const = default;
};

// What a part's payments are computed from.
struct SchedulePart {
  SchedulePartKind kind = SchedulePartKind::Monthly;
  uint16_t method = 0;
  int64_t principal = 0;     // yen; the part has payments only when this is above 0
  int32_t paymentCount = 0;  // 12 x years or 2 x years; 0 when the part has no payments
  int32_t paymentsPerYear = 12;
  int64_t rateThousandths = 0;                        // RateInThousandths of the row's rate
  int64_t interestDivisor = kMonthlyInterestDivisor;  // or kBonusInterestDivisor
  int64_t firstPayment = 0;    // the payment the form shows (元利均等: every payment but the last)
  int64_t equalPrincipal = 0;  // 元金均等: principal / paymentCount, truncated
  // The rate of each payment after the first when it is not the row's rate throughout, sorted by
  // fromPayment and starting at payment 1; empty for a fixed-rate part. See core/rate_timeline.h.
  std::vector<RateChange> rates;
  PaymentReview review;
  // Prepayments in the order they are paid (by afterPayment, numbered as the part is paid then).
  std::vector<PartPrepayment> prepayments;

  bool HasPayments() const { return paymentCount > 0 && principal > 0; }
};

// The row as the schedule reads it: the bonus portion capped at the loan, as the form caps it.
LoanRow ScheduledLoan(const LoanRow& row);
// The monthly or bonus part of `row` (capped as above); a part without payments when the row has
// no schedule.
SchedulePart MakeSchedulePart(const LoanRow& row, SchedulePartKind kind);
// Whether `row` has a schedule at all: complete, method 1 or 2, a period from 1 to 99 years and a
// part with a principal above 0.
bool HasSchedule(const LoanRow& row);
// Whether `row` would have a schedule but for its period above 99 years: it is left out of the
// schedule, its exports and its windows, and named instead.
bool IsLeftOutOfSchedule(const LoanRow& row);
// Whether `row` has a schedule and its stored payments (the plan's 月払 and ボーナス払, as read from
// a file) are not the ones its inputs give, which the schedule uses.
bool StoredPaymentsDiffer(const LoanRow& row);

// The payments of a part, one at a time, in order, without memory beyond itself.
class PartPayments {
 public:
  explicit PartPayments(const SchedulePart& part);
  // The next payment; false after the last.
  bool Next(SchedulePayment& out);

 private:
  void MoveToRateOf(int32_t number);
  // The rate (thousandths, percent) of payment `number` without moving to it.
  std::pair<int64_t, double> RateOf(int32_t number) const;
  void Prepay(const PartPrepayment& prepayment, SchedulePayment& out);

  SchedulePart part_;
  int64_t balance_ = 0;
  int32_t number_ = 0;
  // The timeline's state: the rate in force, the payment of 元利均等 as last set, the rate it was
  // computed at, where the review clock started, whether the last review was capped, and the
  // interest deferred so far.
  size_t nextChange_ = 0;
  int64_t rate_ = 0;
  double ratePercent_ = 0.0;
  int64_t level_ = 0;
  int64_t levelRate_ = 0;
  int32_t clockStart_ = 1;
  bool lastCapped_ = false;
  int64_t deferred_ = 0;
  size_t nextPrepayment_ = 0;
  bool principalReset_ = false;  // 元金均等: a prepayment set the principal share before payment 1
};

// Every payment of a part (for tests and small views).
std::vector<SchedulePayment> PartPaymentList(const SchedulePart& part);

// Sums of a part, a row or the plan.
struct ScheduleTotals {
  int64_t principal = 0;      // 借入額 in yen
  int64_t totalRepaid = 0;    // 総返済額, the sum of the payments
  int64_t totalInterest = 0;  // 利息総額, the sum of the interest
  int32_t years = 0;          // 完済年数: 年目 of the last payment (0 without payments)
  int64_t paymentCount = 0;
  int64_t unpaidInterest = 0;  // 未払利息: yen deferred to the last payment
  bool operator==(const ScheduleTotals&) const = default;
};

// One year of the year view: 年目, 年間返済額, うち元金, うち利息, 年末残高.
struct ScheduleYear {
  int32_t year = 0;
  int64_t payment = 0;
  int64_t principal = 0;
  int64_t interest = 0;
  int64_t balance = 0;         // after the last payment of the year
  int64_t unpaidInterest = 0;  // yen deferred in the year
  bool operator==(const ScheduleYear&) const = default;
};

struct RowSchedule {
  int row = 0;   // 0..9
  LoanRow loan;  // as the schedule reads it (ScheduledLoan)
  SchedulePart monthly;
  SchedulePart bonus;
  ScheduleTotals monthlyTotals;     // of the 月払 part
  ScheduleTotals bonusTotals;       // of the ボーナス払 part
  ScheduleTotals totals;            // of both
  std::vector<ScheduleYear> years;  // 1.. totals.years
};

// The plan's schedule: the rows that have one, in order, and the whole plan's totals and year
// view (a row that ends earlier adds nothing to the later years).
struct PlanSchedule {
  std::vector<RowSchedule> rows;
  ScheduleTotals totals;
  std::vector<ScheduleYear> years;
  std::vector<int> leftOutRows;       // rows (0..9) left out for a period above 99 years
  bool storedPaymentsDiffer = false;  // a row in the schedule whose stored payments differ

  // The row schedule of plan row `row` (0..9), or nullptr when that row has none.
  const RowSchedule* FindRow(int row) const;
};

// Sets the timelines (rates, prepayments) of a row's parts once they are made from the row, before
// they are paid.
using RowTimeline = std::function<void(RowSchedule&)>;

RowSchedule BuildRowSchedule(const LoanRow& row, int rowIndex, const RowTimeline& timeline = nullptr);
// The plan's schedule, each part at its row's rate throughout or, with `timeline`, on the timeline
// it sets.
PlanSchedule BuildPlanSchedule(const FundingPlan& plan, const RowTimeline& timeline = nullptr);

// Texts of the schedule wherever it is shown (dialog, printout, workbook).
inline constexpr const char* kScheduleTitle = "返済予定表";
inline constexpr const char* kWholePlanText = "計画全体";
inline constexpr const char* kLoanAmountLabel = "借入額";
inline constexpr const char* kTotalRepaidLabel = "総返済額";
inline constexpr const char* kTotalInterestLabel = "利息総額";
inline constexpr const char* kPayoffYearsLabel = "完済年数";
inline constexpr const char* kNoScheduleText = "返済予定のある融資がありません。";
inline constexpr const char* kStoredPaymentsDifferText =
    "保存された返済額と計算上の返済額が異なります。返済予定表は計算上の返済額によります。";
inline constexpr const char* kLeftOutOfScheduleText = "返済期間が99年を超えるため、返済予定表に含めていません";
// Columns of a year view.
inline constexpr const char* kScheduleYearHeaders[5] = {"年目", "年間返済額", "うち元金", "うち利息", "年末残高"};
// How the year view counts the bonus payments (SchedulePayment::year).
inline constexpr const char* kBonusYearNote =
    "ボーナス払いは年2回で、各年目の2回分をその年目に数えています（j 回目を月払いの 6j 回目と同じ月とします）。";

// "1行目 フラット35" (row number from 1, then the loan name when there is one).
std::string ScheduleRowTitle(int row, const std::string& loanName);
// "元利均等  2.375％  35年  3,000万（内ボーナス 1,200万）".
std::string ScheduleRowDetails(const LoanRow& row);
// "3行目 返済期間が99年を超えるため、返済予定表に含めていません" for row 2.
std::string LeftOutRowText(int row);
// The notes that go with the schedule wherever it is shown (window, pages, workbook), one a line:
// each row left out, then the notice that stored payments differ. Empty when there is nothing to
// say.
std::vector<std::string> ScheduleNotes(const PlanSchedule& schedule);
// "35年" for a payoff after 35 years, "" for none.
std::string FormatPayoffYears(int32_t years);

// Whole yen grouped by thousands with "円": 1234567 -> "1,234,567円" (any int64_t).
std::string FormatScheduleYen(int64_t yen);
// 万円 grouped by thousands with "万": 12345 -> "12,345万".
std::string FormatScheduleManYen(int64_t manYen);

}  // namespace zorvik
