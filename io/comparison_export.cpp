#include "io/comparison_export.h"

#include "io/xlsx_workbook.h"

namespace zorvik {
namespace {

// Excel's name of column `col` (0-based, fewer than 26 columns here).
std::string ColumnName(lxw_col_t col) {
  return std::string(1, static_cast<char>('A' + col));
}

// The cell format of a unit, and the number a stored value stands for in it.
lxw_format* UnitFormat(const XlsxFormats& f, ComparisonUnit unit) {
  switch (unit) {
    case ComparisonUnit::ManYen:
      return f.man;
    case ComparisonUnit::Yen:
      return f.yen;
    case ComparisonUnit::RatioPercent:
      return f.ratio;
    case ComparisonUnit::Years:
      return f.years;
    case ComparisonUnit::Text:
      return f.text;
  }
  return f.text;
}

double UnitNumber(int64_t value, ComparisonUnit unit) {
  return unit == ComparisonUnit::RatioPercent ? static_cast<double>(value) / 100.0 : static_cast<double>(value);
}

void WriteSheet(XlsxSheetWriter& w, const Comparison& c, const XlsxFormats& f, const std::string& customer,
                const std::string& date) {
  const size_t n = c.columnTitles.size();
  w.Text(0, 0, kComparisonTitle, f.title);
  w.Text(1, 0, customer.empty() ? std::string() : customer + " 様", nullptr);
  w.Text(1, 2, date, nullptr);
  w.Width(0, 0, 26);
  // Columns: caption, A案, then per further plan its figure and its difference.
  const auto figureColumn = [](size_t i) { return static_cast<lxw_col_t>(i == 0 ? 1 : 2 * i); };
  const lxw_row_t head = 3;
  w.Text(head, 0, "項目", f.header);
  for (size_t i = 0; i < n; ++i) {
    w.Text(head, figureColumn(i), c.columnTitles[i] + " " + c.planLabels[i], f.header);
    w.Width(figureColumn(i), figureColumn(i), 22);
    if (i > 0) {
      w.Text(head, figureColumn(i) + 1, c.columnTitles[i] + " A案との差", f.header);
      w.Width(figureColumn(i) + 1, figureColumn(i) + 1, 16);
    }
  }
  lxw_row_t r = head + 1;
  for (const ComparisonLine& line : c.lines) {
    w.Text(r, 0, line.caption, f.text);
    lxw_format* format = UnitFormat(f, line.unit);
    for (size_t i = 0; i < n && i < line.cells.size(); ++i) {
      const lxw_col_t col = figureColumn(i);
      const bool hasValue = line.unit != ComparisonUnit::Text && i < line.values.size() && line.values[i].has_value();
      const int64_t value = hasValue ? line.values[i].value_or(0) : 0;
      if (!hasValue) {
        w.Text(r, col, line.cells[i].text, f.text);
      } else {
        w.Number(r, col, UnitNumber(value, line.unit), format);
      }
      if (i == 0) continue;
      const bool hasBase = !line.values.empty() && line.values[0].has_value();
      const int64_t base = hasBase ? line.values[0].value_or(0) : 0;
      if (hasValue && hasBase) {
        const std::string formula = "=" + ColumnName(col) + std::to_string(r + 1) + "-B" + std::to_string(r + 1);
        w.Formula(r, col + 1, formula, UnitNumber(value, line.unit) - UnitNumber(base, line.unit), format);
      } else {
        w.Text(r, col + 1, std::string(), f.text);
      }
    }
    ++r;
  }
  w.Text(r + 1, 0, std::string("金利シナリオ: ") + c.scenarioName, nullptr);
}

}  // namespace

WriteResult WriteComparisonXlsxFile(const std::string& path, const Comparison& comparison,
                                    const std::string& customerName, const std::string& dateText) {
  return WriteXlsxFileAtomically(path, [&](lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& rows) {
    const XlsxFormats f = MakeXlsxFormats(wb);
    lxw_worksheet* sheet = workbook_add_worksheet(wb, kComparisonSheetName);
    if (!f.complete() || sheet == nullptr) {
      error = LXW_ERROR_MEMORY_MALLOC_FAILED;
      return;
    }
    XlsxSheetWriter w(sheet, error);
    WriteSheet(w, comparison, f, customerName, dateText);
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 1);
    worksheet_set_paper(sheet, 9);  // A4
    rows.push_back(w.lastRow());
  });
}

}  // namespace zorvik
