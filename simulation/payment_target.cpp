// The payment-target procedures.
//
// Vocabulary used below:
//   - D: the desired total (yen); the target total is the monthly total in the monthly
//     simulation and the per-bonus total in the bonus simulation.
//   - A step changes one row: its bonus portion (in units of 50万円) or its loan amount (in
//     units of 10万円), then recomputes the row's payments and the running totals.
//   - Before each step the running totals and the row's four values are saved, so that at the
//     end of a phase the last step can be taken back when the state before it was strictly
//     closer to D (on a tie the step that passed D stays).
//   - A row's cap is its suggested (four-tenths) bonus portion; raising never goes past it.
//
// Rows with a higher rate cost the customer more per 万円, so money is moved off them first:
// lowering the monthly total raises bonus portions (or reduces loans) highest rate first;
// raising a total lowers portions or raises the loan of the lowest-rate row.
//
// Every loop here has a bound: a bonus portion moves monotonically toward its cap or 0, a loan
// moves monotonically toward 0 or kSimulationLoanLimit, and a position in a row order moves
// only forward and never onto an entry without a row.

#include "simulation/payment_target.h"

#include <algorithm>
#include <limits>

#include "core/number_scan.h"
#include "core/repayment.h"

namespace zorvik {
namespace {

constexpr int32_t kBonusUnit = 50;                  // 万円
constexpr int32_t kLoanUnit = kSimulationLoanUnit;  // 万円
constexpr double kFourTenthsPerUnit = 0.008;        // four tenths of a loan, counted in units of 50万円

// Four tenths of a loan in whole units of 50万円, formed in double and truncated toward zero.
int32_t FourTenthsInUnits(int32_t loanAmount) {
  return static_cast<int32_t>(static_cast<double>(loanAmount) * kFourTenthsPerUnit) * kBonusUnit;
}

// The next multiple of 10 above (a loan that is not a multiple first reaches the one above it).
int64_t NextLoanUp(int32_t loanAmount) {
  return static_cast<int64_t>(loanAmount) - loanAmount % kLoanUnit + kLoanUnit;
}

// For a positive loan: down to the multiple of 10 below, or by 10 when it is one already.
int32_t NextLoanDown(int32_t loanAmount) {
  const int32_t rest = loanAmount % kLoanUnit;
  return rest != 0 ? loanAmount - rest : loanAmount - kLoanUnit;
}

bool IsMultipleOfUnit(int32_t bonusAmount) {
  return bonusAmount % kBonusUnit == 0;
}

// The size of a raise step: the rest up to the cap when less than a unit is left, else a unit.
int64_t RaiseStepSize(int32_t bonusAmount, int32_t cap) {
  const int64_t left = static_cast<int64_t>(cap) - bonusAmount;
  return left < kBonusUnit ? left : kBonusUnit;
}

enum class Target { Monthly, Bonus };
enum class Direction { Lowered, Raised };  // how a phase moves the target total

struct RunningTotals {
  double monthly = 0.0;
  double bonus = 0.0;
  int32_t bonusAmount = 0;
  int32_t loan = 0;
};

struct SavedState {
  RunningTotals totals;
  int row = 0;
  int32_t loanAmount = 0;
  int32_t bonusAmount = 0;
  int32_t monthlyPayment = 0;
  int32_t bonusPayment = 0;
};

// Walks the ten positions of an order that hold a row; `count` is their number.
struct OrderView {
  const std::array<int32_t, kLoanRowCount>* entries = nullptr;
  int count = 0;
  int RowAt(int position) const { return (*entries)[static_cast<size_t>(position)]; }
  int last() const { return count - 1; }
};

class Simulation {
 public:
  Simulation(SimulationWork& work, PaymentEvaluation evaluation, Target target)
      : work_(work), target_(target), reuseFactors_(evaluation == PaymentEvaluation::ReusePreparedFactors) {
    D_ = work_.desiredAmount;
    // Method, period and rate never change during a run: their part of the formulas is
    // prepared once per row.
    for (size_t i = 0; i < factors_.size(); ++i) {
      const LoanRow& row = work_.rows[i];
      factors_[i] = PreparePaymentFactors(row.method, row.periodYears, row.ratePercent);
    }
  }

  SimulationOutcome RunMonthly();
  SimulationOutcome RunBonus();

 private:
  LoanRow& Row(int index) { return work_.rows[static_cast<size_t>(index)]; }
  int32_t Cap(int index) const { return work_.suggestedBonus[static_cast<size_t>(index)]; }
  bool KeepsLoans() const { return work_.keepLoanAmounts != 0; }

  int32_t Monthly(int index, int32_t loanAmount, int32_t bonusAmount) {
    if (reuseFactors_) return MonthlyPaymentWith(factors_[static_cast<size_t>(index)], loanAmount, bonusAmount);
    const LoanRow& row = Row(index);
    return CalcMonthlyPayment(loanAmount, bonusAmount, row.method, row.periodYears, row.ratePercent);
  }
  int32_t Bonus(int index, int32_t bonusAmount) {
    if (reuseFactors_) return BonusPaymentWith(factors_[static_cast<size_t>(index)], bonusAmount);
    const LoanRow& row = Row(index);
    return CalcBonusPayment(bonusAmount, row.method, row.periodYears, row.ratePercent);
  }

  // A row without a loan keeps its payments whatever happens to its bonus portion.
  void Recompute(int index) {
    LoanRow& row = Row(index);
    if (row.loanAmount == 0) return;
    row.monthlyPayment = Monthly(index, row.loanAmount, row.bonusAmount);
    row.bonusPayment = Bonus(index, row.bonusAmount);
  }

  void StartFromCurrentTotals() {
    run_.monthly = work_.currentMonthly;
    run_.bonus = work_.currentBonus;
    run_.bonusAmount = SumBonusAmounts();
    run_.loan = work_.totalLoan;
  }

  int32_t SumBonusAmounts() const {
    int64_t sum = 0;
    for (const LoanRow& row : work_.rows) sum += row.bonusAmount;
    return SaturateCast<int32_t>(sum);
  }

  // After a bonus-portion step: the payment totals over the rows of the order walked (rows
  // outside it have rate 0 and pay nothing); the bonus-portion total over all ten rows, so that
  // it stays the plain sum of the rows that the plan keeps. Payment totals count complete rows
  // only, as the form's totals do: a row whose period box was emptied still carries the
  // payments it showed, but they are no longer part of any total.
  void ResumOverOrder(const OrderView& order) {
    double monthly = 0.0;
    double bonus = 0.0;
    for (int p = 0; p < order.count; ++p) {
      const LoanRow& row = Row(order.RowAt(p));
      if (!row.IsComplete()) continue;
      monthly += row.monthlyPayment;
      bonus += row.bonusPayment;
    }
    run_.monthly = monthly;
    run_.bonus = bonus;
    run_.bonusAmount = SumBonusAmounts();
  }

  double SumMonthlyPayments() const {
    double sum = 0.0;
    for (const LoanRow& row : work_.rows) sum += row.IsComplete() ? row.monthlyPayment : 0;
    return sum;
  }
  double SumBonusPayments() const {
    double sum = 0.0;
    for (const LoanRow& row : work_.rows) sum += row.IsComplete() ? row.bonusPayment : 0;
    return sum;
  }
  void SumAllRows() {
    run_.monthly = SumMonthlyPayments();
    run_.bonus = SumBonusPayments();
    run_.bonusAmount = SumBonusAmounts();
    int64_t loan = 0;
    for (const LoanRow& row : work_.rows) loan += row.loanAmount;
    run_.loan = SaturateCast<int32_t>(loan);
  }

  // --- previous state and the closest-value choice ---
  void BeginPhase() { stepMade_ = false; }
  void Save(int index) {
    const LoanRow& row = Row(index);
    saved_ = {run_, index, row.loanAmount, row.bonusAmount, row.monthlyPayment, row.bonusPayment};
    stepMade_ = true;
  }
  void Undo() {
    run_ = saved_.totals;
    LoanRow& row = Row(saved_.row);
    row.loanAmount = saved_.loanAmount;
    row.bonusAmount = saved_.bonusAmount;
    row.monthlyPayment = saved_.monthlyPayment;
    row.bonusPayment = saved_.bonusPayment;
  }
  double TargetOf(const RunningTotals& totals) const {
    return target_ == Target::Monthly ? totals.monthly : totals.bonus;
  }
  // Takes the last step back when the state before it was strictly closer to D.
  void ChooseClosest(Direction direction) {
    if (!stepMade_) return;
    const double S = TargetOf(run_);
    const double P = TargetOf(saved_.totals);
    const bool previousCloser = direction == Direction::Lowered ? (P - D_) < (D_ - S) : (D_ - P) < (S - D_);
    if (previousCloser) Undo();
    stepMade_ = false;
  }

  // --- row predicates of the top-up rule ---
  bool AllRowsNearCap() const {
    for (size_t i = 0; i < work_.rows.size(); ++i) {
      const LoanRow& row = work_.rows[i];
      if (row.monthlyPayment != 0 && static_cast<int64_t>(work_.suggestedBonus[i]) - row.bonusAmount >= kBonusUnit) {
        return false;
      }
    }
    return true;
  }
  bool AllRowsNearZero() const {
    for (const LoanRow& row : work_.rows) {
      if (row.monthlyPayment != 0 && row.bonusAmount >= kBonusUnit) return false;
    }
    return true;
  }

  // --- steps on a bonus portion ---
  // Monthly dialog: t follows every step; a portion off the unit grid snaps to (t / 50) x 50.
  void RaiseStepMonthly(int index, int64_t& t) {
    LoanRow& row = Row(index);
    t += RaiseStepSize(row.bonusAmount, Cap(index));
    row.bonusAmount = IsMultipleOfUnit(row.bonusAmount)
                          ? SaturateCast<int32_t>(static_cast<int64_t>(row.bonusAmount) + kBonusUnit)
                          : SaturateCast<int32_t>(t / kBonusUnit * kBonusUnit);
  }
  // Bonus dialog: a portion on the grid moves by the step; t only follows off-grid steps.
  void RaiseStepBonus(int index, int64_t& t) {
    LoanRow& row = Row(index);
    const int64_t step = RaiseStepSize(row.bonusAmount, Cap(index));
    if (IsMultipleOfUnit(row.bonusAmount)) {
      row.bonusAmount = SaturateCast<int32_t>(row.bonusAmount + step);
    } else {
      t += step;
      row.bonusAmount = SaturateCast<int32_t>(t / kBonusUnit * kBonusUnit);
    }
  }
  // Both dialogs (only called for a positive portion); s is the portion when the turn began.
  void LowerStep(int index, int32_t s) {
    LoanRow& row = Row(index);
    row.bonusAmount = IsMultipleOfUnit(row.bonusAmount) ? row.bonusAmount - kBonusUnit : s / kBonusUnit * kBonusUnit;
  }

  // One step of the top-up rule: the row's portion set to `value`.
  void SetPortionStep(int index, int32_t value, const OrderView& order) {
    Save(index);
    Row(index).bonusAmount = value;
    Recompute(index);
    ResumOverOrder(order);
  }

  // --- phases ---
  void SetEveryRowToSuggestion();
  void RaisePortionsForLowerMonthly();
  void LowerPortionsForHigherMonthly();
  void LowerPortionsForLowerBonus();
  void RaisePortionsForHigherBonus();
  void ReduceLoansForLowerMonthly();
  void IncreaseLoanForHigherMonthly();
  void IncreaseLoanForHigherBonus();

  SimulationOutcome Outcome(SimulationStatus status, int32_t loanTotal) const {
    SimulationOutcome outcome;
    outcome.status = status;
    outcome.loanTotalBefore = work_.totalLoan;
    outcome.monthlyTotalBefore = work_.currentMonthly;
    outcome.bonusTotalBefore = work_.currentBonus;
    outcome.loanTotal = loanTotal;
    outcome.monthlyTotal = run_.monthly;
    outcome.bonusTotal = run_.bonus;
    outcome.bonusAmountTotal = run_.bonusAmount;
    return outcome;
  }
  SimulationOutcome NotRun(SimulationStatus status) const {
    SimulationOutcome outcome;
    outcome.status = status;
    outcome.loanTotalBefore = outcome.loanTotal = work_.totalLoan;
    outcome.monthlyTotalBefore = outcome.monthlyTotal = work_.currentMonthly;
    outcome.bonusTotalBefore = outcome.bonusTotal = work_.currentBonus;
    outcome.bonusAmountTotal = work_.totalBonusAmount;
    return outcome;
  }

  SimulationWork& work_;
  Target target_;
  bool reuseFactors_;
  double D_ = 0.0;
  std::array<PaymentFactors, kLoanRowCount> factors_{};
  OrderView order_;        // rateOrder
  OrderView orderStable_;  // rateOrderStable (monthly simulation only)
  RunningTotals run_;
  SavedState saved_;
  bool stepMade_ = false;
};

// Rows at or below their suggestion take it; rows above keep theirs. No closest-value choice.
void Simulation::SetEveryRowToSuggestion() {
  for (int p = 0; p < order_.count; ++p) {
    const int index = order_.RowAt(p);
    LoanRow& row = Row(index);
    if (row.bonusAmount <= Cap(index)) {
      row.bonusAmount = Cap(index);
      Recompute(index);
    }
  }
  SumAllRows();
}

void Simulation::RaisePortionsForLowerMonthly() {
  BeginPhase();
  for (int p = 0; p < order_.count; ++p) {
    const int index = order_.RowAt(p);
    int64_t t = Row(index).bonusAmount;
    while (run_.monthly > D_ && Row(index).bonusAmount < Cap(index)) {
      Save(index);
      RaiseStepMonthly(index, t);
      Recompute(index);
      ResumOverOrder(order_);
    }
  }
  ChooseClosest(Direction::Lowered);
}

void Simulation::LowerPortionsForHigherMonthly() {
  BeginPhase();
  for (int p = orderStable_.last(); p >= 0; --p) {
    const int index = orderStable_.RowAt(p);
    const int32_t s = Row(index).bonusAmount;
    while (Row(index).bonusAmount > 0 && run_.monthly < D_) {
      Save(index);
      LowerStep(index, s);
      Recompute(index);
      ResumOverOrder(orderStable_);
    }
    if (AllRowsNearZero() && Row(index).bonusAmount > 0 && run_.monthly <= D_) {
      SetPortionStep(index, 0, orderStable_);
    }
  }
  ChooseClosest(Direction::Raised);
}

void Simulation::LowerPortionsForLowerBonus() {
  // The bonus payment of one unit (or less) of the lowest-rate row that still has a portion:
  // a per-bonus total below it cannot be told apart from none at all.
  int32_t unitPayment = 0;
  for (int p = order_.last(); p >= 0; --p) {
    const int index = order_.RowAt(p);
    if (Row(index).bonusAmount > 0) {
      unitPayment = Bonus(index, std::min(Row(index).bonusAmount, kBonusUnit));
      break;
    }
  }

  BeginPhase();
  for (int p = 0; p < order_.count; ++p) {
    const int index = order_.RowAt(p);
    const int32_t s = Row(index).bonusAmount;
    while (Row(index).bonusAmount > 0 && run_.bonus >= D_) {
      Save(index);
      LowerStep(index, s);
      Recompute(index);
      ResumOverOrder(order_);
    }
    if (AllRowsNearZero()) {
      for (int q = 0; q < order_.count && run_.bonus > D_; ++q) {
        SetPortionStep(order_.RowAt(q), 0, order_);
      }
    }
  }
  ChooseClosest(Direction::Lowered);

  if (unitPayment > run_.bonus) run_.bonus = 0.0;
}

void Simulation::RaisePortionsForHigherBonus() {
  BeginPhase();
  for (int p = order_.last(); p >= 0; --p) {
    const int index = order_.RowAt(p);
    int64_t t = Row(index).bonusAmount;
    while (Row(index).bonusAmount < Cap(index) && run_.bonus < D_) {
      Save(index);
      RaiseStepBonus(index, t);
      Recompute(index);
      ResumOverOrder(order_);
    }
    if (AllRowsNearCap() && Row(index).bonusAmount < Cap(index) && run_.bonus <= D_) {
      SetPortionStep(index, Cap(index), order_);
    }
  }
  ChooseClosest(Direction::Raised);
}

// Loans are reduced highest rate first, 10万円 at a time, each row's portion following as four
// tenths of its loan. A row whose loan reaches 0 hands over to the next one; the row at the last
// position is reduced only when every row before it had no loan to begin with. The phase never
// takes a loan below 0 and never reads an order entry that holds no row.
void Simulation::ReduceLoansForLowerMonthly() {
  BeginPhase();
  if (order_.count == 0) return;
  const int last = order_.last();
  int position = 0;
  while (run_.monthly >= D_) {
    bool nothingLeft = false;
    while (Row(order_.RowAt(position)).loanAmount <= 0) {
      LoanRow& passed = Row(order_.RowAt(position));
      passed.bonusAmount = 0;
      passed.monthlyPayment = 0;
      passed.bonusPayment = 0;
      if (position == last) {
        nothingLeft = true;  // no loan left to reduce: the reachable limit
        break;
      }
      ++position;
    }
    if (nothingLeft) break;

    const int index = order_.RowAt(position);
    LoanRow& row = Row(index);
    Save(index);
    row.loanAmount = NextLoanDown(row.loanAmount);
    row.bonusAmount = FourTenthsInUnits(row.loanAmount);
    if (row.loanAmount != 0) {
      Recompute(index);
    } else {
      row.monthlyPayment = 0;
      row.bonusPayment = 0;
      ++position;
      if (position >= last) break;  // ends on reaching the last position, or past it
    }
    run_.monthly = SumMonthlyPayments();
  }
  ChooseClosest(Direction::Lowered);
}

// The loan of the lowest-rate row grows 10万円 at a time up to kSimulationLoanLimit.
void Simulation::IncreaseLoanForHigherMonthly() {
  BeginPhase();
  if (orderStable_.count == 0) return;
  const int index = orderStable_.RowAt(orderStable_.last());
  LoanRow& row = Row(index);
  while (run_.monthly <= D_) {
    const int64_t next = NextLoanUp(row.loanAmount);
    if (next > kSimulationLoanLimit) break;
    Save(index);
    row.loanAmount = static_cast<int32_t>(next);
    if (row.bonusAmount > 0) {
      row.bonusAmount = FourTenthsInUnits(row.loanAmount);
      row.bonusPayment = Bonus(index, row.bonusAmount);
    }
    row.monthlyPayment = Monthly(index, row.loanAmount, row.bonusAmount);
    SumAllRows();
  }
  ChooseClosest(Direction::Raised);
}

void Simulation::IncreaseLoanForHigherBonus() {
  BeginPhase();
  if (order_.count == 0) return;
  const int index = order_.RowAt(order_.last());
  LoanRow& row = Row(index);
  while (run_.bonus <= D_) {
    const int64_t next = NextLoanUp(row.loanAmount);
    if (next > kSimulationLoanLimit) break;
    Save(index);
    row.loanAmount = static_cast<int32_t>(next);
    row.bonusAmount = FourTenthsInUnits(row.loanAmount);
    if (row.loanAmount != 0) Recompute(index);
    run_.bonus = SumBonusPayments();
  }
  ChooseClosest(Direction::Raised);
}

SimulationOutcome Simulation::RunMonthly() {
  if (D_ == 0.0) return NotRun(SimulationStatus::AmountMissing);
  if (D_ == work_.currentMonthly) return NotRun(SimulationStatus::SameAsCurrent);

  order_ = {&work_.rateOrder, BuildRateOrder(work_)};
  orderStable_ = {&work_.rateOrderStable, BuildRateOrderStable(work_)};
  StartFromCurrentTotals();
  const bool lower = D_ < work_.currentMonthly;

  if (KeepsLoans()) {
    if (work_.recalcBonusSum == 0.0 || (work_.totalBonusAmount == 0 && D_ > work_.currentMonthly)) {
      // Nothing can move: the result shows the current totals.
      run_ = {work_.currentMonthly, work_.currentBonus, work_.totalBonusAmount, work_.totalLoan};
    } else if (D_ < work_.recalcMonthlySum && lower) {
      SetEveryRowToSuggestion();  // the lowest monthly total that bonus portions can reach
    } else if (lower) {
      RaisePortionsForLowerMonthly();
    } else {
      LowerPortionsForHigherMonthly();
    }
    return Outcome(SimulationStatus::Done, work_.totalLoan);
  }

  if (D_ < work_.recalcMonthlySum && lower) {
    SetEveryRowToSuggestion();
  } else if (lower) {
    RaisePortionsForLowerMonthly();
  } else {
    LowerPortionsForHigherMonthly();
  }
  if (lower) {
    ReduceLoansForLowerMonthly();
  } else {
    IncreaseLoanForHigherMonthly();
  }
  SumAllRows();
  return Outcome(SimulationStatus::Done, run_.loan);
}

SimulationOutcome Simulation::RunBonus() {
  if (D_ == 0.0) return NotRun(SimulationStatus::AmountMissing);
  if (D_ == work_.currentBonus) return NotRun(SimulationStatus::SameAsCurrent);

  order_ = {&work_.rateOrder, BuildRateOrder(work_)};
  StartFromCurrentTotals();
  const bool lower = D_ < work_.currentBonus;

  if (D_ >= work_.recalcBonusSum) {
    SetEveryRowToSuggestion();  // the highest per-bonus total that bonus portions can reach
  } else if (lower) {
    LowerPortionsForLowerBonus();
  } else {
    RaisePortionsForHigherBonus();
  }

  if (KeepsLoans() || D_ <= work_.currentBonus) return Outcome(SimulationStatus::Done, work_.totalLoan);

  IncreaseLoanForHigherBonus();
  SumAllRows();
  return Outcome(SimulationStatus::Done, run_.loan);
}

// Insertion over rows 0..9 in index order; `frontWhenEqual` decides ties with the entries
// already placed: true puts the later (higher-index) row first, false after them.
int BuildOrder(const SimulationWork& work, std::array<int32_t, kLoanRowCount>& order, bool frontWhenEqual) {
  order.fill(kNoRowInOrder);
  auto rateAt = [&](int position) {
    return work.rows[static_cast<size_t>(order[static_cast<size_t>(position)])].ratePercent;
  };
  int count = 0;
  for (int index = 0; index < kLoanRowCount; ++index) {
    const double rate = work.rows[static_cast<size_t>(index)].ratePercent;
    if (rate == 0.0) continue;
    int insertAt = count;
    if (count == 0 || (frontWhenEqual ? rate >= rateAt(0) : rate > rateAt(0))) {
      insertAt = 0;
    } else {
      for (int p = 0; p < count; ++p) {
        if (frontWhenEqual ? rateAt(p) <= rate : rateAt(p) < rate) {
          insertAt = p;
          break;
        }
      }
    }
    for (int p = count; p > insertAt; --p) order[static_cast<size_t>(p)] = order[static_cast<size_t>(p - 1)];
    order[static_cast<size_t>(insertAt)] = index;
    ++count;
  }
  return count;
}

}  // namespace

int BuildRateOrder(SimulationWork& work) {
  return BuildOrder(work, work.rateOrder, true);
}
int BuildRateOrderStable(SimulationWork& work) {
  return BuildOrder(work, work.rateOrderStable, false);
}

SimulationOutcome SimulateMonthlyTarget(SimulationWork& work) {
  return SimulateMonthlyTarget(work, PaymentEvaluation::ReusePreparedFactors);
}
SimulationOutcome SimulateMonthlyTarget(SimulationWork& work, PaymentEvaluation evaluation) {
  return Simulation(work, evaluation, Target::Monthly).RunMonthly();
}

SimulationOutcome SimulateBonusTarget(SimulationWork& work) {
  return SimulateBonusTarget(work, PaymentEvaluation::ReusePreparedFactors);
}
SimulationOutcome SimulateBonusTarget(SimulationWork& work, PaymentEvaluation evaluation) {
  return Simulation(work, evaluation, Target::Bonus).RunBonus();
}

void ApplySimulationOutcome(SimulationWork& work, const SimulationOutcome& outcome) {
  if (outcome.status != SimulationStatus::Done) return;
  work.resultMonthly = outcome.monthlyTotal;
  work.resultBonus = outcome.bonusTotal;
  work.totalBonusAmount = outcome.bonusAmountTotal;
  work.totalLoan = outcome.loanTotal;
  work.annualRepayment = 12 * work.resultMonthly + 2 * work.resultBonus;
}

}  // namespace zorvik
