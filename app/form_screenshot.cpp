#include "app/form_screenshot.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>

#include "app/funding_plan_dlg.h"
#include "app/zorvik_app.h"
#include "core/control_ids.h"

namespace zorvik {

bool SaveFormScreenshot(const QString& path) {
  CZorvikApp app;
  app.setProgramDirectory(QCoreApplication::applicationDirPath());
  CFundingPlanDlg form(app);
  form.setSaveSettingsOnDestroy(false);
  form.setAttribute(Qt::WA_DontShowOnScreen, true);
  form.show();

  // The worked example, entered through the same handlers as typing does.
  QtFormView& view = form.qtView();
  view.SetText(ids::kCustomerName, "山田 太郎");
  const int row = 0;
  if (form.rateMaster().Entry(0) && !form.rateMaster().Entry(0)->productName.empty()) {
    view.SetText(ids::kLoanName[0], form.rateMaster().Entry(0)->productName);
  }
  view.SetSelection(ids::kMethod[0], 0);
  form.OnMethodSelChange(row);
  form.OnRateSetFocus(row);
  view.SetText(ids::kRate[0], "2.375");
  form.OnRateKillFocus(row);
  form.OnPeriodSetFocus(row);
  view.SetText(ids::kPeriod[0], "35");
  form.OnPeriodKillFocus(row);
  form.OnLoanAmountSetFocus(row);
  view.SetText(ids::kLoanAmount[0], "3000");
  form.OnLoanAmountKillFocus(row);
  view.SetText(ids::kLandPrice, "2500");
  view.SetText(ids::kBuildingPrice, "1800");
  view.SetText(ids::kConsumptionTax, "90");
  for (int id : {ids::kLandPrice, ids::kBuildingPrice, ids::kConsumptionTax}) form.OnRequiredFundsKillFocus(id);
  view.SetText(ids::kMiscCosts, "200");
  form.OnMiscCostsKillFocus(ids::kMiscCosts);
  view.SetText(ids::kAnnualIncome, "800");
  form.OnAnnualIncomeKillFocus(ids::kAnnualIncome);

  // The layout settles (the sheet's scroll area sees its final size) before the picture is taken.
  QCoreApplication::processEvents();
  const QPixmap picture = form.grab();
  const QString dir = QFileInfo(path).absolutePath();
  QDir().mkpath(dir);
  const bool ok = picture.save(path);
  form.hide();
  return ok;
}

}  // namespace zorvik
