#pragma once
// The printed repayment schedule as plain data: A4 portrait pages of lines, boxes, fonts and
// texts (the operations of print/page_model.h) plus, on the first page, the box the chart of the
// plan's year view is drawn into. The Qt renderer (print/render/schedule_renderer.h) replays
// the operations and draws the chart.
//
// Page 1: title, customer and date; the summary of the plan (借入額, 総返済額, 利息総額,
// 完済年数); the schedule's notes (ScheduleNotes); a table of the rows with their totals; the
// chart. Then the year tables, first of
// the whole plan and then of each row, each headed by its title and totals; a table that does
// not fit the page goes on over the next one with its column headers repeated. Every page has
// its number at the bottom.
//
// Coordinates are pixels of the printable area of an A4 portrait page at 600 dpi, the plan
// sheet's reference page stood upright (4720 x 6774). Font heights are em heights in those
// pixels (point size x 600 / 72).

#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/repayment_schedule.h"
#include "print/page_model.h"

namespace zorvik {

inline constexpr int kSchedulePageWidth = kReferencePageHeight;  // 4720
inline constexpr int kSchedulePageHeight = kReferencePageWidth;  // 6774
inline constexpr int kSchedulePageDpi = 600;
inline constexpr const char* kScheduleDocumentName = "返済予定表";
inline constexpr const char* kScheduleChartCaption = "年間返済額（元金・利息）と年末残高";

struct SchedulePage {
  std::vector<PageOp> ops;  // drawing order
  bool hasChart = false;
  PageBox chartBox;  // where the chart of SchedulePages::chartYears goes
};

struct SchedulePages {
  int width = kSchedulePageWidth;
  int height = kSchedulePageHeight;
  std::vector<SchedulePage> pages;
  std::vector<ScheduleYear> chartYears;  // the plan's year view
};

// The pages for `plan` (customer name and date) and its schedule. `pagesBefore` pages of the same
// document come first (the plan sheet), and the page numbers count them.
SchedulePages BuildSchedulePages(const FundingPlan& plan, const PlanSchedule& schedule, int pagesBefore = 0);

// The pages as text in the format of FormatPageModel, each page introduced by a line
// "page N" and a chart by "chart L T R B".
std::string FormatSchedulePages(const SchedulePages& pages);

}  // namespace zorvik
