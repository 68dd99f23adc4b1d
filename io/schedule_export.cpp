#include "io/schedule_export.h"

#include <xlsxwriter.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <utility>

#include "core/plan_texts.h"
#include "core/text_forms.h"
#include "core/units.h"
#include "io/file_access.h"
#include "io/plan_file.h"
#include "io/xlsx_workbook.h"

namespace zorvik {
namespace {

// ---- CSV ----------------------------------------------------------------------------------------

void AppendCsvField(std::string& out, std::string_view field) {
  if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
    out += field;
    return;
  }
  out += '"';
  for (char c : field) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

// A text cell. A spreadsheet evaluates a cell that starts with =, +, -, @ (or a tab or carriage
// return before one) as a formula when it opens the file; the usual leading apostrophe makes it
// open as the text it is.
void AppendCsvText(std::string& out, std::string_view text) {
  if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
    AppendCsvField(out, "'" + std::string(text));
  } else {
    AppendCsvField(out, text);
  }
}

// The lines of one part; with `unpaidColumn` each ends with the payment's 未払利息.
void AppendCsvPart(std::string& out, const RowSchedule& row, const SchedulePart& part, bool unpaidColumn) {
  const std::string prefix = [&] {
    std::string p = std::to_string(row.row + 1) + ",";
    AppendCsvText(p, row.loan.loanName);
    p += ",";
    return p;
  }();
  PartPayments walk(part);
  SchedulePayment p;
  while (walk.Next(p)) {
    out += prefix;
    out += PaymentLineText(part.kind, p);
    out += ',';
    for (const int64_t v : {int64_t{p.number}, int64_t{p.year}, p.payment, p.principal, p.interest}) {
      out += std::to_string(v);
      out += ',';
    }
    out += std::to_string(p.balance);
    if (unpaidColumn) {
      out += ',';
      out += std::to_string(p.unpaidInterest);
    }
    out += "\r\n";
  }
}

// ---- workbook -----------------------------------------------------------------------------------

constexpr const char* kTooManyRowsReason = "返済予定表の行数が表計算ソフトの上限（1,048,576行）を超えます。";

using Formats = XlsxFormats;
using SheetWriter = XlsxSheetWriter;

// A caption without the blanks that place it in the form's box (" 諸費用 （概算）" there): a
// spreadsheet cell aligns its text itself.
std::string TrimBlanks(std::string_view t) {
  constexpr std::string_view kBlank = " ";
  constexpr std::string_view kIdeographicBlank = "\xE3\x80\x80";
  const auto starts = [&t](std::string_view b) { return t.substr(0, b.size()) == b; };
  const auto ends = [&t](std::string_view b) { return t.size() >= b.size() && t.substr(t.size() - b.size()) == b; };
  for (;;) {
    if (starts(kBlank)) {
      t.remove_prefix(kBlank.size());
    } else if (starts(kIdeographicBlank)) {
      t.remove_prefix(kIdeographicBlank.size());
    } else {
      break;
    }
  }
  for (;;) {
    if (ends(kBlank)) {
      t.remove_suffix(kBlank.size());
    } else if (ends(kIdeographicBlank)) {
      t.remove_suffix(kIdeographicBlank.size());
    } else {
      break;
    }
  }
  return std::string(t);
}

void WritePlanSheet(SheetWriter& w, const FundingPlan& plan, const Formats& f) {
  w.Width(0, 0, 8);
  w.Width(1, 1, 30);
  w.Width(2, 8, 14);
  w.Text(0, 0, "資 金 計 画 表", f.title);
  w.Text(2, 0, "お客様", f.heading);
  w.Text(2, 1, plan.customerName + " 様", nullptr);
  w.Text(3, 0, "作成日", f.heading);
  w.Text(3, 1, CompactDateText(CreatedDate(plan)), nullptr);

  // Required funds, one label and value a line.
  struct Item {
    std::string label;
    int32_t value;
  };
  const Item funds[] = {
      {plan.landLabel, plan.landPrice},
      {plan.buildingLabel, plan.buildingPrice},
      {plan.taxLabel, plan.consumptionTax},
      {plan.otherCostLabel, plan.otherCost},
      {kRequiredFundsTotalCaption, plan.requiredFundsTotal},
      {plan.fundsMinusLoansLabel, plan.fundsMinusLoans},
      {plan.miscCostsLabel, plan.miscCosts},
      {plan.ownFundsLabel, plan.ownFundsNeeded},
      {kIncomeCaption, plan.annualIncome},
  };
  lxw_row_t r = 5;
  for (const Item& item : funds) {
    w.Text(r, 1, TrimBlanks(item.label), f.text);
    w.NumberOrBlank(r, 2, item.value, f.man);
    ++r;
  }

  // The loan table.
  r += 1;
  w.Headers(r++, {"行", "融資名", "返済方法", "金利", "返済期間", "借入額", "内ボーナス", "月払", "ボーナス払"},
            f.header);
  for (int i = 0; i < kLoanRowCount; ++i, ++r) {
    const LoanRow& row = plan.rows[static_cast<size_t>(i)];
    w.Number(r, 0, i + 1, f.integer);
    w.Text(r, 1, row.loanName, f.text);
    w.Text(r, 2, MethodText(row.method), f.text);
    w.NumberOrBlank(r, 3, row.ratePercent, f.rate);
    w.NumberOrBlank(r, 4, row.periodYears, f.years);
    w.NumberOrBlank(r, 5, row.loanAmount, f.man);
    w.NumberOrBlank(r, 6, row.bonusAmount, f.man);
    w.NumberOrBlank(r, 7, row.monthlyPayment, f.yen);
    w.NumberOrBlank(r, 8, row.bonusPayment, f.yen);
  }
  w.Text(r, 1, "合  計", f.header);
  w.NumberOrBlank(r, 5, plan.totalLoan, f.man);
  w.NumberOrBlank(r, 6, plan.totalBonusAmount, f.man);
  w.NumberOrBlank(r, 7, plan.totalMonthly, f.yen);
  w.NumberOrBlank(r, 8, plan.totalBonus, f.yen);
  r += 2;
  w.Text(r, 1, kAnnualRepaymentCaption, f.text);
  w.NumberOrBlank(r, 2, plan.annualRepayment, f.yen);
  ++r;
  w.Text(r, 1, kRatioCaption, f.text);
  w.NumberOrBlank(r, 2, ShowsRatio(plan) ? plan.repaymentRatio : 0.0, f.ratio);
}

// The summary lines and the year view of one schedule; returns the next free row.
lxw_row_t WriteYearTable(SheetWriter& w, lxw_row_t r, const std::string& title, const std::string& details,
                         const ScheduleTotals& totals, const std::vector<ScheduleYear>& years, const Formats& f) {
  w.Text(r, 0, title, f.heading);
  if (!details.empty()) w.Text(r, 2, details, nullptr);
  ++r;
  w.Text(r, 0, kLoanAmountLabel, f.text);
  w.Number(r, 1, static_cast<double>(WholeManYen(totals.principal)), f.man);
  w.Text(r, 2, kTotalRepaidLabel, f.text);
  w.Number(r, 3, static_cast<double>(totals.totalRepaid), f.yen);
  ++r;
  w.Text(r, 0, kPayoffYearsLabel, f.text);
  w.Number(r, 1, totals.years, f.years);
  w.Text(r, 2, kTotalInterestLabel, f.text);
  w.Number(r, 3, static_cast<double>(totals.totalInterest), f.yen);
  r += 2;
  w.Headers(r++,
            {kScheduleYearHeaders[0], kScheduleYearHeaders[1], kScheduleYearHeaders[2], kScheduleYearHeaders[3],
             kScheduleYearHeaders[4]},
            f.header);
  for (const ScheduleYear& y : years) {
    w.Number(r, 0, y.year, f.integer);
    w.Number(r, 1, static_cast<double>(y.payment), f.yen);
    w.Number(r, 2, static_cast<double>(y.principal), f.yen);
    w.Number(r, 3, static_cast<double>(y.interest), f.yen);
    w.Number(r, 4, static_cast<double>(y.balance), f.yen);
    ++r;
    if (!w.ok()) break;
  }
  return r + 1;
}

void WriteYearSheet(SheetWriter& w, const PlanSchedule& s, const Formats& f) {
  w.Width(0, 0, 12);
  w.Width(1, 4, 18);
  w.Text(0, 0, kScheduleTitle, f.title);
  lxw_row_t r = 2;
  const std::vector<std::string> notes = ScheduleNotes(s);
  for (const std::string& note : notes) w.Text(r++, 0, note, nullptr);
  if (!notes.empty()) ++r;
  if (s.rows.empty()) {
    w.Text(r, 0, kNoScheduleText, nullptr);
    return;
  }
  r = WriteYearTable(w, r, kWholePlanText, std::string(), s.totals, s.years, f);
  for (const RowSchedule& row : s.rows) {
    if (!w.ok()) return;
    r = WriteYearTable(w, r, ScheduleRowTitle(row.row, row.loan.loanName), ScheduleRowDetails(row.loan), row.totals,
                       row.years, f);
  }
}

// Every payment, one a line; with `unpaidColumn` a last column 未払利息.
void WriteMonthSheet(SheetWriter& w, lxw_worksheet* sheet, const PlanSchedule& s, const Formats& f,
                     bool unpaidColumn = false) {
  w.Width(0, 0, 6);
  w.Width(1, 1, 24);
  w.Width(2, 2, 12);
  w.Width(3, 4, 7);
  w.Width(5, unpaidColumn ? 9 : 8, 16);
  w.Headers(0, {"行", "融資名", "区分", "回", "年目", "返済額", "うち元金", "うち利息", "残高"}, f.header);
  if (unpaidColumn) w.Text(0, 9, kUnpaidInterestColumn, f.header);
  worksheet_freeze_panes(sheet, 1, 0);
  worksheet_repeat_rows(sheet, 0, 0);  // the header row on every printed page
  lxw_row_t r = 1;
  for (const RowSchedule& row : s.rows) {
    for (const SchedulePart* part : {&row.monthly, &row.bonus}) {
      PartPayments walk(*part);
      SchedulePayment p;
      while (walk.Next(p) && w.ok()) {
        w.Number(r, 0, row.row + 1, f.integer);
        w.Text(r, 1, row.loan.loanName, f.text);
        w.Text(r, 2, PaymentLineText(part->kind, p), f.text);
        w.Number(r, 3, p.number, f.integer);
        w.Number(r, 4, p.year, f.integer);
        w.Number(r, 5, static_cast<double>(p.payment), f.yen);
        w.Number(r, 6, static_cast<double>(p.principal), f.yen);
        w.Number(r, 7, static_cast<double>(p.interest), f.yen);
        w.Number(r, 8, static_cast<double>(p.balance), f.yen);
        if (unpaidColumn) w.Number(r, 9, static_cast<double>(p.unpaidInterest), f.yen);
        ++r;
      }
    }
  }
}

// Fills the three sheets of the schedule's workbook.
void BuildScheduleWorkbook(lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& rows, const FundingPlan& plan,
                           const PlanSchedule& schedule) {
  const Formats f = MakeXlsxFormats(wb);
  lxw_worksheet* planSheet = workbook_add_worksheet(wb, kPlanSheetName);
  lxw_worksheet* yearSheet = workbook_add_worksheet(wb, kYearSheetName);
  lxw_worksheet* monthSheet = workbook_add_worksheet(wb, kMonthSheetName);
  if (!f.complete() || planSheet == nullptr || yearSheet == nullptr || monthSheet == nullptr) {
    error = LXW_ERROR_MEMORY_MALLOC_FAILED;
    return;
  }
  SheetWriter planWriter(planSheet, error);
  WritePlanSheet(planWriter, plan, f);
  worksheet_set_landscape(planSheet);
  // Each sheet is printed one page wide, as many pages down as it needs.
  for (lxw_worksheet* sheet : {planSheet, yearSheet, monthSheet}) worksheet_fit_to_pages(sheet, 1, 0);
  SheetWriter yearWriter(yearSheet, error);
  WriteYearSheet(yearWriter, schedule, f);
  SheetWriter monthWriter(monthSheet, error);
  WriteMonthSheet(monthWriter, monthSheet, schedule, f);
  for (lxw_worksheet* sheet : {planSheet, yearSheet, monthSheet}) worksheet_set_paper(sheet, 9);  // A4
  rows = {planWriter.lastRow(), yearWriter.lastRow(), monthWriter.lastRow()};
}

}  // namespace

namespace {

std::string CsvBytes(const PlanSchedule& schedule, bool unpaidColumn) {
  std::string out = "\xEF\xBB\xBF";
  out += kScheduleCsvHeader;
  if (unpaidColumn) {
    out += ',';
    out += kUnpaidInterestColumn;
  }
  out += "\r\n";
  out.reserve(static_cast<size_t>(schedule.totals.paymentCount) * 64 + out.size());
  for (const RowSchedule& row : schedule.rows) {
    AppendCsvPart(out, row, row.monthly, unpaidColumn);
    AppendCsvPart(out, row, row.bonus, unpaidColumn);
  }
  return out;
}

}  // namespace

std::string ScheduleCsvBytes(const PlanSchedule& schedule) {
  return CsvBytes(schedule, false);
}

WriteResult WriteScheduleCsvFile(const std::string& path, const PlanSchedule& schedule) {
  return WriteFileAtomically(path, ScheduleCsvBytes(schedule));
}

WriteResult WriteScheduleXlsxFile(const std::string& path, const FundingPlan& plan, const PlanSchedule& schedule) {
  // The month sheet holds a header and a line per payment.
  if (!path.empty() &&
      (schedule.totals.paymentCount < 0 || schedule.totals.paymentCount > static_cast<int64_t>(kLastSheetRow))) {
    return WriteFailed(0, kTooManyRowsReason);
  }
  return WriteXlsxFileAtomically(path, [&](lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& rows) {
    BuildScheduleWorkbook(wb, error, rows, plan, schedule);
  });
}

std::string ScenarioCsvBytes(const PlanSchedule& schedule) {
  return CsvBytes(schedule, true);
}

WriteResult WriteScenarioCsvFile(const std::string& path, const PlanSchedule& schedule) {
  return WriteFileAtomically(path, ScenarioCsvBytes(schedule));
}
namespace {

// A table cell of yen ("1,234円", "-5円") or of a ratio ("9.93％") as its number, with the format
// that shows it as the page does; none for any other text ("－").
std::optional<std::pair<double, lxw_format*>> CellNumber(const std::string& cell, const Formats& f) {
  constexpr std::string_view kYen = "円";
  constexpr std::string_view kPercent = "％";
  std::string_view t = cell;
  lxw_format* format = nullptr;
  if (t.ends_with(kYen)) {
    t.remove_suffix(kYen.size());
    format = f.yen;
  } else if (t.ends_with(kPercent)) {
    t.remove_suffix(kPercent.size());
    format = f.ratio;
  } else {
    return std::nullopt;
  }
  int64_t value = 0;
  int64_t scale = 0;  // 10^(digits after the point); 0 before a point
  bool negative = false, digits = false;
  for (size_t i = 0; i < t.size(); ++i) {
    const char c = t[i];
    if (i == 0 && c == '-') {
      negative = true;
    } else if (c >= '0' && c <= '9') {
      if (value > std::numeric_limits<int64_t>::max() / 10 - 9) return std::nullopt;
      value = value * 10 + (c - '0');
      if (scale != 0) scale *= 10;
      digits = true;
    } else if (c == '.' && scale == 0 && format == f.ratio) {
      scale = 1;
    } else if (c != ',' || scale != 0) {
      return std::nullopt;
    }
  }
  if (!digits) return std::nullopt;
  const double number = static_cast<double>(value) / static_cast<double>(scale == 0 ? 1 : scale);
  return std::pair{negative ? -number : number, format};
}

// The summary sheet: title, customer and date, the rows, how payments follow the rate, the
// table (yen and ratios as numbers) and the notes.
void WriteScenarioSummarySheet(SheetWriter& w, const ScenarioReport& report, const Formats& f) {
  w.Width(0, 0, 30);
  w.Width(1, static_cast<lxw_col_t>(report.columns.size()), 22);
  w.Text(0, 0, kScenarioTitle, f.title);
  w.Text(1, 0, report.customerName.empty() ? std::string() : report.customerName + " 様", nullptr);
  w.Text(1, 1, report.dateText, nullptr);
  lxw_row_t r = 3;
  for (const ScenarioRowLine& row : report.rows) {
    w.Text(r, 0, row.title, f.text);
    w.Text(r, 1, row.rateType, f.text);
    w.Text(r, 2, row.details, f.text);
    ++r;
  }
  w.Text(++r, 0, report.reviewText, nullptr);
  r += 2;
  for (const ScenarioTableLine& line : report.table) {
    w.Text(r, 0, line.caption, f.header);
    for (size_t c = 0; c < line.cells.size(); ++c) {
      const auto col = static_cast<lxw_col_t>(c + 1);
      const auto value = line.money ? CellNumber(line.cells[c], f) : std::nullopt;
      if (value) {
        w.Number(r, col, value->first, value->second);
      } else {
        w.Text(r, col, line.cells[c], f.text);
      }
    }
    ++r;
  }
  ++r;
  for (const std::string& note : report.notes) w.Text(r++, 0, note, nullptr);
}

}  // namespace

WriteResult WriteScenarioXlsxFile(const std::string& path, const ScenarioReport& report) {
  int64_t lines = 0;
  for (const ScenarioColumn& c : report.columns) lines = std::max<int64_t>(lines, c.schedule.totals.paymentCount);
  if (!path.empty() && lines > static_cast<int64_t>(kLastSheetRow)) return WriteFailed(0, kTooManyRowsReason);
  return WriteXlsxFileAtomically(path, [&](lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& rows) {
    const Formats f = MakeXlsxFormats(wb);
    lxw_worksheet* summary = workbook_add_worksheet(wb, kScenarioTitle);
    if (!f.complete() || summary == nullptr) {
      error = LXW_ERROR_MEMORY_MALLOC_FAILED;
      return;
    }
    SheetWriter summaryWriter(summary, error);
    WriteScenarioSummarySheet(summaryWriter, report, f);
    worksheet_set_landscape(summary);
    worksheet_fit_to_pages(summary, 1, 1);
    worksheet_set_paper(summary, 9);  // A4
    rows.push_back(summaryWriter.lastRow());
    // One schedule sheet per scenario, named by its column ("A 据え置き"; names are cut to Excel's
    // 31 characters and cannot hold some signs, so the column letter keeps them apart).
    for (size_t i = 0; i < report.columns.size() && error == LXW_NO_ERROR; ++i) {
      std::string name = std::string(1, static_cast<char>('A' + i)) + " 返済予定表";
      lxw_worksheet* sheet = workbook_add_worksheet(wb, name.c_str());
      if (sheet == nullptr) {
        error = LXW_ERROR_MEMORY_MALLOC_FAILED;
        return;
      }
      SheetWriter writer(sheet, error);
      WriteMonthSheet(writer, sheet, report.columns[i].schedule, f, true);
      worksheet_fit_to_pages(sheet, 1, 0);
      worksheet_set_paper(sheet, 9);
      rows.push_back(writer.lastRow());
    }
  });
}

}  // namespace zorvik
