#include "io/tax_credit_export.h"

#include "io/xlsx_workbook.h"

namespace zorvik {

WriteResult WriteTaxCreditXlsxFile(const std::string& path, const TaxCreditInputs& inputs,
                                   const TaxCreditEstimate& estimate, const std::string& note) {
  return WriteXlsxFileAtomically(path, [&](lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& lastRows) {
    const XlsxFormats f = MakeXlsxFormats(wb);
    lxw_worksheet* ws = workbook_add_worksheet(wb, kTaxCreditSheetName);
    if (ws == nullptr || !f.complete()) {
      error = LXW_ERROR_MEMORY_MALLOC_FAILED;
      return;
    }
    XlsxSheetWriter w(ws, error);
    w.Width(0, 0, 16);
    w.Width(1, 5, 16);
    w.Text(0, 0, "住宅ローン控除（概算）", f.title);
    lxw_row_t row = 2;
    auto condition = [&](const char* caption, const std::string& text) {
      w.Text(row, 0, caption, f.text);
      w.Text(row, 1, text, f.text);
      ++row;
    };
    auto amount = [&](const char* caption, int64_t yen) {
      w.Text(row, 0, caption, f.text);
      w.Number(row, 1, static_cast<double>(yen), f.yen);
      ++row;
    };
    condition("入居年", std::to_string(inputs.entryYear) + "年");
    condition("住宅の区分", HousingKindText(inputs.kind));
    condition("性能", HousingPerformanceText(inputs.performance));
    condition("世帯", inputs.childRearing ? "子育て世帯・若者夫婦世帯" : "一般");
    amount("取得対価", inputs.acquisitionCost);
    amount("借入限度額", estimate.limit);
    ++row;
    w.Headers(row++, {"年", "年末残高", "控除額", "うち所得税", "うち住民税", "控除しきれない額"}, f.header);
    const bool split = !estimate.upperBound;
    for (const TaxCreditRow& y : estimate.years) {
      w.Text(row, 0, std::to_string(y.year) + "年", f.text);
      w.Number(row, 1, static_cast<double>(y.yearEndBalance), f.yen);
      w.Number(row, 2, static_cast<double>(y.credit.credit), f.yen);
      if (split) {
        w.Number(row, 3, static_cast<double>(y.credit.fromIncomeTax), f.yen);
        w.Number(row, 4, static_cast<double>(y.credit.fromResidentTax), f.yen);
        w.Number(row, 5, static_cast<double>(y.credit.notReceived), f.yen);
      } else {
        for (lxw_col_t c = 3; c <= 5; ++c) w.Text(row, c, "－", f.text);
      }
      ++row;
    }
    w.Text(row, 0, "合計", f.header);
    w.Text(row, 1, "", f.text);
    w.Number(row, 2, static_cast<double>(estimate.total), f.yen);
    if (split) {
      int64_t income = 0;
      int64_t resident = 0;
      for (const TaxCreditRow& y : estimate.years) {
        income += y.credit.fromIncomeTax;
        resident += y.credit.fromResidentTax;
      }
      w.Number(row, 3, static_cast<double>(income), f.yen);
      w.Number(row, 4, static_cast<double>(resident), f.yen);
      w.Number(row, 5, static_cast<double>(estimate.totalNotReceived), f.yen);
    } else {
      for (lxw_col_t c = 3; c <= 5; ++c) w.Text(row, c, "－", f.text);
    }
    row += 2;
    if (estimate.upperBound) w.Text(row++, 0, "所得税額を入れていないため、控除額は上限です。", nullptr);
    if (!estimate.error.empty()) w.Text(row++, 0, estimate.error, nullptr);
    w.Text(row, 0, note, nullptr);
    lastRows.push_back(w.lastRow());
  });
}

}  // namespace zorvik
