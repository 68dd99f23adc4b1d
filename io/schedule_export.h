#pragma once
// The repayment schedule written for other programs: a CSV file of every payment and an Excel
// workbook (.xlsx) with the plan sheet, the year view and every payment.
//
// CSV: UTF-8 with a byte-order mark, CR LF line ends, the header line
//   行,融資名,区分,回,年目,返済額,うち元金,うち利息,残高
// then one line per payment: rows in order, 月払 before ボーナス払 within a row; 行 is the row
// number 1..10, 回 counts from 1, 年目 is the year of the payment, amounts are plain integers in
// yen and 残高 is the balance after the payment. A field holding a comma, a double quote or a
// line break (CR or LF) is enclosed in double quotes, with each double quote doubled. A loan
// name that starts with =, +, -, @, a tab or a carriage return gets a leading apostrophe, so that
// a spreadsheet opens it as text and never runs it as a formula.
//
// Workbook: three sheets, "資金計画表" (every field of the plan sheet, amounts as numbers in
// the formats #,##0"万" and #,##0"円", rates 0.000"％", periods 0"年"; a zero is an empty
// cell, as on the form), "年次返済表" (the schedule's notes under its title, one a line, then
// the totals and the year view of the plan and of each row) and "月次返済表" (the lines of the
// CSV file as numbers). The CSV file is only the table: no notes. Texts are string cells, kept
// exactly as typed (a spreadsheet never evaluates a string cell).
//
// Paths are UTF-8. Both files are written atomically: the file appears complete or not at all, and an existing
// file is replaced only when everything was written. The workbook is built in a private folder
// beside the target and read back whole (every part complete) before it replaces anything.

#include <string>

#include "core/funding_plan.h"
#include "core/repayment_schedule.h"
#include "core/scenario_report.h"
#include "io/file_access.h"

namespace zorvik {

inline constexpr const char* kScheduleCsvHeader = "行,融資名,区分,回,年目,返済額,うち元金,うち利息,残高";
inline constexpr const char* kPlanSheetName = "資金計画表";
inline constexpr const char* kYearSheetName = "年次返済表";
inline constexpr const char* kMonthSheetName = "月次返済表";

// The bytes of the CSV file.
std::string ScheduleCsvBytes(const PlanSchedule& schedule);
// Writes the CSV file; false when it could not be written (an existing file is then unchanged).
WriteResult WriteScheduleCsvFile(const std::string& path, const PlanSchedule& schedule);

// Writes the workbook; false when it could not be produced or written (an existing file is then
// unchanged). Fails also when the payments do not fit one sheet (1,048,575 lines).
WriteResult WriteScheduleXlsxFile(const std::string& path, const FundingPlan& plan, const PlanSchedule& schedule);

// Under a rate scenario: the CSV file's columns with 未払利息 last (the yen of each payment's interest
// that is deferred).
inline constexpr const char* kUnpaidInterestColumn = "未払利息";
std::string ScenarioCsvBytes(const PlanSchedule& schedule);
WriteResult WriteScenarioCsvFile(const std::string& path, const PlanSchedule& schedule);
// The workbook of a scenario report: a summary sheet "金利シナリオ" (rows, the table with amounts as
// numbers) and one schedule sheet per scenario (the CSV's lines as numbers).
WriteResult WriteScenarioXlsxFile(const std::string& path, const ScenarioReport& report);

}  // namespace zorvik
