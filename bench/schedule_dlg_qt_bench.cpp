// Speed of the repayment schedule window: opening it on a ten-row plan (schedule, summary,
// year table, chart, shown and painted off-screen), and following one edit of the plan.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>

#include "app/repayment_schedule_dlg.h"
#include "core/funding_plan.h"
#include "ui/ui_font.h"

namespace {

using namespace zorvik;

FundingPlan TenRowPlan() {
  FundingPlan plan;
  plan.customerName = "山田 太郎";
  for (int i = 0; i < kLoanRowCount; ++i) {
    LoanRow& row = plan.rows[static_cast<size_t>(i)];
    row.loanName = "住宅ローン" + std::to_string(i + 1);
    row.method = static_cast<uint16_t>(1 + i % 2);
    row.ratePercent = 0.5 + 0.25 * i;
    row.periodYears = static_cast<int16_t>(99 - 5 * i);
    row.loanAmount = 81990;
    row.bonusAmount = 32750;
  }
  return plan;
}

void BM_OpenScheduleWindow_TenRows(benchmark::State& state) {
  const FundingPlan plan = TenRowPlan();
  for (auto _ : state) {
    CRepaymentScheduleDlg dlg(plan, QString());
    dlg.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(dlg.grab().width());  // the first paint, chart included
    state.PauseTiming();
    dlg.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_OpenScheduleWindow_TenRows)->Unit(benchmark::kMillisecond);

void BM_FollowOneEdit_TenRows(benchmark::State& state) {
  FundingPlan plan = TenRowPlan();
  CRepaymentScheduleDlg dlg(plan, QString());
  dlg.show();
  QCoreApplication::processEvents();
  int32_t loan = 3000;
  for (auto _ : state) {
    plan.rows[0].loanAmount = loan;
    loan = loan == 3000 ? 3100 : 3000;
    dlg.Refresh();
    QCoreApplication::processEvents();
  }
}
BENCHMARK(BM_FollowOneEdit_TenRows)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  app.setFont(UiFont(9.0));
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
