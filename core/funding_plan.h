#pragma once
// The one plan record of the program: customer header, required funds, income, ten loan
// lines, the derived totals and a snapshot of the inputs as last saved or loaded.
//
// Units: required funds, income, loan amounts, bonus portions and their totals are whole
// 万円 (int32_t); a row's payments are whole yen (int32_t); payment totals and the yearly
// repayment are doubles holding whole yen; rates and the repayment ratio are percent.

#include <array>
#include <cstdint>
#include <string>

namespace zorvik {

inline constexpr int kLoanRowCount = 10;

// Stored in LoanRow::method and in plan files. The position in the method list is code - 1.
enum class RepaymentMethod : uint16_t {
  None = 0,
  EqualInstallment = 1,  // 元利均等
  EqualPrincipal = 2,    // 元金均等
};

inline constexpr uint16_t MethodCode(RepaymentMethod m) {
  return static_cast<uint16_t>(m);
}

// A calendar date as the plan stores it (four-digit year, month 1..12, day 1..31).
struct PlanDate {
  uint16_t year = 0;
  uint16_t month = 0;
  uint16_t day = 0;
};

struct LoanRow {
  std::string loanName;        // product name, picked from the rate master or typed
  uint16_t method = 0;         // RepaymentMethod code
  double ratePercent = 0.0;    // percent per year
  int16_t periodYears = 0;     // whole years
  int32_t loanAmount = 0;      // 万円
  int32_t bonusAmount = 0;     // 万円, the part repaid through the two yearly bonuses
  int32_t monthlyPayment = 0;  // yen, derived
  int32_t bonusPayment = 0;    // yen per bonus date, derived

  // A row takes part in the payment totals only when every input of the formula is present.
  bool IsComplete() const { return ratePercent != 0.0 && periodYears != 0 && method != 0 && loanAmount != 0; }
  // No input at all (the payments are not looked at).
  bool HasNoInputs() const {
    return loanName.empty() && method == 0 && ratePercent == 0.0 && periodYears == 0 && loanAmount == 0 &&
           bonusAmount == 0;
  }
};

// The inputs of one loan line, as the unsaved-changes check compares them.
struct LoanRowInputs {
  std::string loanName;
  uint16_t method = 0;
  double ratePercent = 0.0;
  int16_t periodYears = 0;
  int32_t loanAmount = 0;
  int32_t bonusAmount = 0;
  bool operator==(const LoanRowInputs&) const = default;
};

// Everything the user typed, and nothing derived: the saved baseline of a plan.
struct PlanInputs {
  std::string customerName;
  uint16_t createdYear = 0;
  uint16_t createdMonth = 0;
  uint16_t createdDay = 0;
  std::string otherCostLabel;
  int32_t landPrice = 0;
  int32_t buildingPrice = 0;
  int32_t consumptionTax = 0;
  int32_t otherCost = 0;
  int32_t miscCosts = 0;
  int32_t annualIncome = 0;
  std::array<LoanRowInputs, kLoanRowCount> rows{};
  bool operator==(const PlanInputs&) const = default;
};

// Texts a new plan starts with.
inline constexpr const char* kNewCustomerName = "新 規";
inline constexpr const char* kLandLabel = "土地価額";
inline constexpr const char* kBuildingLabel = "建物価額";
inline constexpr const char* kTaxLabel = "消費税";
inline constexpr const char* kFundsMinusLoansLabel = "所要資金－借入額";
inline constexpr const char* kMiscCostsLabel = " 諸費用 （概算）";
inline constexpr const char* kOwnFundsLabel = "自己資金必要額";

class FundingPlan {
 public:
  std::string customerName;
  uint16_t createdYear = 0;
  uint16_t createdMonth = 0;
  uint16_t createdDay = 0;
  std::string landLabel;
  std::string buildingLabel;
  std::string taxLabel;
  std::string otherCostLabel;
  std::string fundsMinusLoansLabel;
  std::string miscCostsLabel;
  std::string ownFundsLabel;
  int32_t landPrice = 0;
  int32_t buildingPrice = 0;
  int32_t consumptionTax = 0;
  int32_t otherCost = 0;
  int32_t requiredFundsTotal = 0;  // derived: the four items above
  int32_t fundsMinusLoans = 0;     // derived: requiredFundsTotal - totalLoan, may be negative
  int32_t miscCosts = 0;
  int32_t ownFundsNeeded = 0;  // derived: fundsMinusLoans + miscCosts, may be negative
  int32_t annualIncome = 0;
  std::array<LoanRow, kLoanRowCount> rows{};
  int32_t totalLoan = 0;                                // derived: sum of loanAmount
  int32_t totalBonusAmount = 0;                         // derived: sum of bonusAmount
  double totalMonthly = 0.0;                            // displayed monthly total, yen
  double totalBonus = 0.0;                              // displayed per-bonus total, yen
  double annualRepayment = 0.0;                         // 12 x totalMonthly + 2 x totalBonus
  double repaymentRatio = 0.0;                          // percent of the annual income
  double recalcMonthlySum = 0.0;                        // reference sum of the rows' monthly payments
  double recalcBonusSum = 0.0;                          // reference sum of the rows' bonus payments
  std::array<int32_t, kLoanRowCount> suggestedBonus{};  // last four-tenths proposal per row
  PlanInputs savedBaseline;

  // The inputs as they stand now.
  PlanInputs Inputs() const;
  // Copies the inputs into the baseline (after a successful save or load).
  void TakeBaseline() { savedBaseline = Inputs(); }
  // True when any input differs from the baseline; derived fields and fixed captions are not compared.
  bool HasUnsavedChanges() const { return !(Inputs() == savedBaseline); }

  // The state of a freshly started plan: name "新 規", the given date, the fixed captions, every
  // amount, row and total zero, and a baseline equal to those inputs.
  void ResetToNewPlan(const PlanDate& today);
  // Everything but the reference sums and the baseline emptied: strings "", numbers 0
  // (done before a plan file is read).
  void ClearForLoad();
};

// The four-tenths rule: four tenths of a loan amount, cut down to a multiple of 50万円.
// 3000 -> 1200, 3125 -> 1250, 124 -> 0.
int32_t SuggestBonusAmount(int32_t loanAmount);
// The variant used when a plan is loaded: the tenth is taken first, so 3125 -> 1200.
int32_t SuggestBonusAmountForLoadedPlan(int32_t loanAmount);

}  // namespace zorvik
