// Speed of the main plan form: building and showing it (template, menu, colours, the rate master
// of 20 products loaded into the ten lists), and one editing event end to end through the widgets
// (the loan amount typed and left: focus in, text change, focus out, recalculation, texts shown).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <string>

#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"
#include "io/cp932.h"

namespace {

using namespace zorvik;

QTemporaryDir* gDir = nullptr;

void WriteTwentyProducts(const QString& dir) {
  std::string text;
  for (int i = 0; i < 20; ++i) {
    text += "住宅ローン商品" + std::to_string(i + 1) + "," + std::to_string(0.5 + 0.125 * i) + ",\r\n";
  }
  QFile f(dir + QStringLiteral("/YushiMaster.txt"));
  if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    const std::string bytes = Utf8ToCp932(text);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
  }
}

void BM_BuildAndShowForm(benchmark::State& state) {
  CZorvikApp app;
  app.setProgramDirectory(gDir->path());
  for (auto _ : state) {
    CFundingPlanDlg form(app);
    form.setSaveSettingsOnDestroy(false);
    form.show();
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(form.control(ids::kLoanName[9]));
    state.PauseTiming();
    form.hide();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_BuildAndShowForm)->Unit(benchmark::kMillisecond);

void BM_LoadRateMaster(benchmark::State& state) {
  CZorvikApp app;
  app.setProgramDirectory(gDir->path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  for (auto _ : state) {
    form.LoadRateMaster(form.RateMasterPath());
  }
  auto* combo = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  state.counters["products"] = combo != nullptr ? combo->count() : 0;
}
BENCHMARK(BM_LoadRateMaster)->Unit(benchmark::kMicrosecond);

// Row 0 complete (method, rate, period); each iteration enters the loan box, changes the amount
// and leaves it for the bonus box, which re-suggests the bonus and recomputes the row and totals.
void BM_LoanAmountEditEndToEnd(benchmark::State& state) {
  CZorvikApp app;
  app.setProgramDirectory(gDir->path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.show();
  QApplication::setActiveWindow(&form);
  QCoreApplication::processEvents();
  QtFormView& view = form.qtView();
  view.SetSelection(ids::kMethod[0], 0);
  form.OnMethodSelChange(0);
  view.SetText(ids::kRate[0], "2.375");
  form.OnRateKillFocus(0);
  view.SetText(ids::kPeriod[0], "35");
  form.OnPeriodKillFocus(0);
  auto* loan = qobject_cast<QLineEdit*>(form.control(ids::kLoanAmount[0]));
  auto* bonus = qobject_cast<QLineEdit*>(form.control(ids::kBonusAmount[0]));
  bool odd = false;
  for (auto _ : state) {
    loan->setFocus(Qt::TabFocusReason);
    loan->setText(odd ? QStringLiteral("3000") : QStringLiteral("3100"));
    bonus->setFocus(Qt::TabFocusReason);
    odd = !odd;
  }
  state.counters["monthly"] = form.plan().rows[0].monthlyPayment;
}
BENCHMARK(BM_LoanAmountEditEndToEnd)->Unit(benchmark::kMicrosecond);

// Picking a product from a name list: rate and method applied, loan totals, row and reference sums.
void BM_ProductPickEndToEnd(benchmark::State& state) {
  CZorvikApp app;
  app.setProgramDirectory(gDir->path());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.qtView().SetText(ids::kPeriod[0], "35");
  form.OnPeriodKillFocus(0);
  form.qtView().SetText(ids::kLoanAmount[0], "3000");
  form.OnLoanAmountSetFocus(0);
  form.OnLoanAmountKillFocus(0);
  auto* combo = qobject_cast<QComboBox*>(form.control(ids::kLoanName[0]));
  int position = 0;
  for (auto _ : state) {
    combo->setCurrentIndex(position);
    emit combo->activated(position);
    position = (position + 1) % 20;
  }
}
BENCHMARK(BM_ProductPickEndToEnd)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  gDir = &dir;
  WriteTwentyProducts(dir.path());
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
