// Speed of the printed sheet: the page model of a full ten-row plan, and that plan rendered to
// an A4 landscape PDF (target: under 100 ms on a 2-core machine).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QBuffer>
#include <QTemporaryDir>
#include <string>

#include "core/control_ids.h"
#include "core/memory_form_view.h"
#include "print/page_model.h"
#include "print/render/plan_printer.h"
#include "print/render/sheet_renderer.h"

namespace zorvik {
namespace {

// These tests fill the texts in an in-memory form and print what it shows.
PlanTexts TextsOf(const PlanFormView& view) {
  return ReadPlanTexts([&view](int id) { return view.Text(id); });
}

// Every box of the sheet filled, as the form shows a full plan.
MemoryFormView TenRowView() {
  MemoryFormView view;
  view.SetText(ids::kCustomerName, "佐々木 健一郎");
  view.SetText(ids::kLandLabel, kLandLabel);
  view.SetText(ids::kBuildingLabel, kBuildingLabel);
  view.SetText(ids::kTaxLabel, kTaxLabel);
  view.SetText(ids::kOtherCostLabel, "解体費");
  view.SetText(ids::kFundsMinusLoansLabel, kFundsMinusLoansLabel);
  view.SetText(ids::kMiscCostsLabel, kMiscCostsLabel);
  view.SetText(ids::kOwnFundsLabel, kOwnFundsLabel);
  view.SetText(ids::kLandPrice, "3,200万");
  view.SetText(ids::kBuildingPrice, "2,800万");
  view.SetText(ids::kConsumptionTax, "280万");
  view.SetText(ids::kOtherCost, "150万");
  view.SetText(ids::kRequiredFundsTotal, "6,430万");
  view.SetText(ids::kFundsMinusLoans, "-19,320万");
  view.SetText(ids::kMiscCosts, "320万");
  view.SetText(ids::kOwnFundsNeeded, "-19,000万");
  view.SetText(ids::kAnnualIncome, "1,250万");
  for (int r = 0; r < kLoanRowCount; ++r) {
    const size_t i = static_cast<size_t>(r);
    view.SetText(ids::kLoanName[i], "銀行固定金利型ローン" + std::to_string(r + 1));
    view.SetSelection(ids::kMethod[i], r % 2);
    view.SetText(ids::kRate[i], "1.875％");
    view.SetText(ids::kPeriod[i], "35年");
    view.SetText(ids::kLoanAmount[i], "2,500万");
    view.SetText(ids::kBonusAmount[i], "1,000万");
    view.SetText(ids::kMonthlyPayment[i], "49,015円");
    view.SetText(ids::kBonusPayment[i], "198,231円");
  }
  view.SetText(ids::kTotalLoan, "25,000万");
  view.SetText(ids::kTotalBonusAmount, "10,000万");
  view.SetText(ids::kTotalMonthly, "490,150円");
  view.SetText(ids::kTotalBonus, "1,982,310円");
  view.SetText(ids::kAnnualRepayment, "9,846,420円");
  view.SetText(ids::kRepaymentRatio, "78.77％");
  return view;
}

void BM_PageModelTenRows(benchmark::State& state) {
  const MemoryFormView view = TenRowView();
  for (auto _ : state) {
    PageModel model =
        BuildPageModel(kReferencePageWidth, kReferencePageHeight, 96, TextsOf(view), PlanDate{2026, 4, 1});
    benchmark::DoNotOptimize(model.ops.data());
  }
}
BENCHMARK(BM_PageModelTenRows);

void BM_RenderTenRowPlanToPdf(benchmark::State& state) {
  const MemoryFormView view = TenRowView();
  for (auto _ : state) {
    const PageModel model = BuildPdfPageModel(TextsOf(view), PlanDate{2026, 4, 1}, 96);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!WritePageModelPdf(buffer, model)) state.SkipWithError("PDF not written");
    benchmark::DoNotOptimize(bytes.data());
  }
  state.SetLabel("A4 landscape, 600 dpi");
}
BENCHMARK(BM_RenderTenRowPlanToPdf)->Unit(benchmark::kMillisecond);

void BM_WriteTenRowPdfFile(benchmark::State& state) {
  const MemoryFormView view = TenRowView();
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plan.pdf"));
  for (auto _ : state) {
    const PageModel model = BuildPdfPageModel(TextsOf(view), PlanDate{2026, 4, 1}, 96);
    if (!WritePlanSheetPdfFile(path, model)) state.SkipWithError("PDF file not written");
  }
}
BENCHMARK(BM_WriteTenRowPdfFile)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace zorvik

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
