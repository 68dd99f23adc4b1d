#include "core/plan_form_writer.h"

#include <gtest/gtest.h>

#include <map>
#include <utility>
#include <vector>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "core/plan_recalc.h"

namespace zorvik {
namespace {

// Remembers every selection the writer asks for, also positions the lists do not hold.
class RecordingView : public MemoryFormView {
 public:
  void SetSelection(int id, int position) override {
    asked.emplace_back(id, position);
    MemoryFormView::SetSelection(id, position);
  }
  std::vector<std::pair<int, int>> asked;
};

// A method code that is not on the list selects nothing; it is never handed on as code - 1.
TEST(PlanFormWriterTest, MethodListPositionOnlyForListedCodes) {
  const struct {
    uint16_t code;
    int position;
  } rows[] = {{0, -1}, {1, 0}, {2, 1}, {3, -1}, {9, -1}, {65535, -1}};
  for (const auto& r : rows) {
    RecordingView view;
    LoanRow loan;
    loan.method = r.code;
    ShowLoanRow(loan, 4, view);
    const std::vector<std::pair<int, int>> expected = {{ids::kLoanName[4], -1}, {ids::kMethod[4], r.position}};
    EXPECT_EQ(view.asked, expected) << r.code;
  }
}

// Every path that shows rows leaves the same boxes: an accepted simulation's rows, an opened
// plan and a deleted row.
TEST(PlanFormWriterTest, RowsShowTheirTexts) {
  FundingPlan plan;
  plan.rows[0] = LoanRow{"フラット35", 1, 2.375, 35, 3000, 1200, 63149, 253397};
  plan.rows[1] = LoanRow{"", 2, 0.5, 20, 500, 0, 20000, 0};
  MemoryFormView rows;
  ShowLoanRows(plan, rows);
  MemoryFormView opened;
  FundingPlan copy = plan;
  ShowLoadedPlan(copy, opened);
  const PlanTexts texts = MakePlanTexts(plan);
  for (size_t i = 0; i < 2; ++i) {
    for (int id : {ids::kLoanName[i], ids::kMethod[i], ids::kRate[i], ids::kPeriod[i], ids::kLoanAmount[i],
                   ids::kBonusAmount[i], ids::kMonthlyPayment[i], ids::kBonusPayment[i]}) {
      EXPECT_EQ(rows.Text(id), texts.Text(id)) << id;
      EXPECT_EQ(opened.Text(id), texts.Text(id)) << id;
    }
  }
  EXPECT_EQ(rows.Text(ids::kMethod[1]), "元金均等");
  PlanRecalculator(copy, opened).OnDeleteRow(0);
  for (int id : {ids::kLoanName[0], ids::kMethod[0], ids::kRate[0], ids::kMonthlyPayment[0]}) {
    EXPECT_EQ(opened.Text(id), "") << id;
  }
  EXPECT_EQ(opened.Selection(ids::kMethod[0]), -1);
}

}  // namespace
}  // namespace zorvik
