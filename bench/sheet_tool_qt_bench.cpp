// Speed of zorvik-sheet over many plans: 100 ten-row plans rendered to PDFs by one process (an
// office turning a folder of plans into PDFs), against one process for a single plan.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <string>

#include "core/funding_plan.h"
#include "core/repayment.h"
#include "io/plan_file.h"

namespace {

using namespace zorvik;

QTemporaryDir* gDir = nullptr;
QStringList gPlans;

void WritePlans(int count) {
  for (int p = 0; p < count; ++p) {
    FundingPlan plan;
    plan.ResetToNewPlan(PlanDate{2026, 12, 8});
    plan.customerName = "お客様 " + std::to_string(p + 1);
    for (int i = 0; i < kLoanRowCount; ++i) {
      LoanRow& row = plan.rows[static_cast<size_t>(i)];
      row.loanName = "住宅ローン" + std::to_string(i + 1);
      row.method = static_cast<uint16_t>(1 + i % 2);
      row.ratePercent = 0.5 + 0.25 * i;
      row.periodYears = static_cast<int16_t>(35 - i);
      row.loanAmount = 1000 + 100 * p % 3000;
      row.bonusAmount = 400;
      row.monthlyPayment =
          CalcMonthlyPayment(row.loanAmount, row.bonusAmount, row.method, row.periodYears, row.ratePercent);
      row.bonusPayment = CalcBonusPayment(row.bonusAmount, row.method, row.periodYears, row.ratePercent);
    }
    const QString path = gDir->filePath(QStringLiteral("plan_%1.zvk").arg(p + 1, 3, 10, QLatin1Char('0')));
    WritePlanFile(plan, path.toStdString());
    gPlans << path;
  }
}

QString SheetTool() {
  return QCoreApplication::applicationDirPath() + QStringLiteral("/../zorvik-sheet");
}

void RunTool(benchmark::State& state, const QStringList& arguments) {
  QProcess process;
  process.start(SheetTool(), arguments);
  if (!process.waitForFinished(120000) || process.exitCode() != 0) {
    state.SkipWithError(("zorvik-sheet failed: " + process.readAllStandardError().toStdString()).c_str());
  }
}

// Every plan into one folder, one process; state.range(0) != 0 adds the schedule pages.
void BM_HundredPlansOneCall(benchmark::State& state) {
  const QString out = gDir->filePath(QStringLiteral("out"));
  QDir().mkpath(out);
  QStringList arguments = gPlans;
  arguments << QStringLiteral("-o") << out;
  if (state.range(0) != 0) arguments << QStringLiteral("--schedule");
  for (auto _ : state) RunTool(state, arguments);
  state.counters["plans"] = static_cast<double>(gPlans.size());
}
BENCHMARK(BM_HundredPlansOneCall)
    ->ArgName("schedule")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime()
    ->Iterations(1);

// One plan, one process, as a separate call per plan costs.
void BM_OnePlanOneCall(benchmark::State& state) {
  const QString out = gDir->filePath(QStringLiteral("one.pdf"));
  for (auto _ : state) RunTool(state, {gPlans.front(), QStringLiteral("-o"), out});
}
BENCHMARK(BM_OnePlanOneCall)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QCoreApplication app(argc, argv);
  QTemporaryDir dir;
  gDir = &dir;
  WritePlans(100);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
