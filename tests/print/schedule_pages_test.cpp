#include "print/schedule_pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace zorvik {
namespace {

FundingPlan Plan(int rows, int16_t years) {
  FundingPlan plan;
  plan.customerName = "山田 太郎";
  plan.createdYear = 2026;
  plan.createdMonth = 12;
  plan.createdDay = 8;
  for (int i = 0; i < rows; ++i) {
    LoanRow& r = plan.rows[static_cast<size_t>(i)];
    r.loanName = "ローン" + std::to_string(i + 1);
    r.method = static_cast<uint16_t>(1 + i % 2);
    r.ratePercent = 1.5;
    r.periodYears = static_cast<int16_t>(years - i);
    r.loanAmount = 81990;
    r.bonusAmount = 32750;
  }
  return plan;
}

std::vector<std::string> Texts(const SchedulePage& page) {
  std::vector<std::string> texts;
  for (const PageOp& op : page.ops) {
    if (op.kind == PageOpKind::Text) texts.push_back(op.text);
  }
  return texts;
}

bool Contains(const std::vector<std::string>& texts, const std::string& t) {
  return std::find(texts.begin(), texts.end(), t) != texts.end();
}

TEST(SchedulePagesTest, TenRowsOverManyPages) {
  const FundingPlan plan = Plan(10, 99);
  const PlanSchedule s = BuildPlanSchedule(plan);
  const SchedulePages pages = BuildSchedulePages(plan, s);
  const size_t n = pages.pages.size();
  ASSERT_GT(n, 10u);
  EXPECT_EQ(pages.chartYears, s.years);
  // After the plan sheet in one document, the numbers count the sheet too.
  const SchedulePages afterSheet = BuildSchedulePages(plan, s, 1);
  EXPECT_EQ(Texts(afterSheet.pages.front()).back(), "2 / " + std::to_string(n + 1));
  EXPECT_EQ(Texts(afterSheet.pages.back()).back(), std::to_string(n + 1) + " / " + std::to_string(n + 1));

  // Page 1: summary, the ten rows and the chart below them.
  const std::vector<std::string> first = Texts(pages.pages[0]);
  EXPECT_TRUE(Contains(first, FormatScheduleYen(s.totals.totalRepaid)));
  EXPECT_TRUE(Contains(first, FormatScheduleYen(s.totals.totalInterest)));
  EXPECT_TRUE(Contains(first, "819,900万"));
  EXPECT_TRUE(Contains(first, "ローン10"));
  EXPECT_TRUE(Contains(first, kStoredPaymentsDifferText));  // the rows hold no stored payments
  ASSERT_TRUE(pages.pages[0].hasChart);
  EXPECT_GT(pages.pages[0].chartBox.bottom - pages.pages[0].chartBox.top, 2000);

  // Everything stays on the paper, every page is numbered, and the year column runs 1..n per
  // table, its header repeated where a table goes on over a page.
  std::vector<std::string> yearColumn;
  for (size_t i = 0; i < n; ++i) {
    const SchedulePage& page = pages.pages[i];
    for (const PageOp& op : page.ops) {
      if (op.kind == PageOpKind::Font) continue;
      EXPECT_GE(op.box.left, 0);
      EXPECT_GE(op.box.top, 0);
      EXPECT_LE(op.box.right, pages.width);
      EXPECT_LE(op.box.bottom, pages.height);
      if (i > 0 && op.kind == PageOpKind::Text && op.box.left == 240 && op.box.right == 800) {
        yearColumn.push_back(op.text);
      }
    }
    EXPECT_EQ(Texts(page).back(), std::to_string(i + 1) + " / " + std::to_string(n));
    if (i > 0) {
      EXPECT_FALSE(page.hasChart);
    }
  }
  std::vector<std::string> expected;
  auto table = [&expected](int years) {
    for (int y = 1; y <= years; ++y) expected.push_back(std::to_string(y));
  };
  table(99);
  for (int row = 0; row < 10; ++row) table(99 - row);
  std::vector<std::string> withoutHeaders;
  int headers = 0;
  for (const std::string& t : yearColumn) {
    if (t == "年目") {
      ++headers;
    } else {
      withoutHeaders.push_back(t);
    }
  }
  EXPECT_EQ(withoutHeaders, expected);
  EXPECT_GT(headers, 11);  // continuation pages repeat the header
  bool continued = false;
  for (const SchedulePage& page : pages.pages) continued = continued || Contains(Texts(page), "計画全体（続き）");
  EXPECT_TRUE(continued);
}

TEST(SchedulePagesTest, PlanWithoutLoansIsOnePageWithAMessage) {
  const FundingPlan plan = Plan(0, 35);
  const SchedulePages pages = BuildSchedulePages(plan, BuildPlanSchedule(plan));
  ASSERT_EQ(pages.pages.size(), 1u);
  EXPECT_FALSE(pages.pages[0].hasChart);
  EXPECT_TRUE(Contains(Texts(pages.pages[0]), kNoScheduleText));
  EXPECT_TRUE(Contains(Texts(pages.pages[0]), "  山田 太郎  様"));
  const std::string dump = FormatSchedulePages(pages);
  EXPECT_EQ(dump.rfind("page 1\n", 0), 0u);
  EXPECT_NE(dump.find("text middle-centre 240 6574 4480 6714 1 / 1\n"), std::string::npos);
}

}  // namespace
}  // namespace zorvik
