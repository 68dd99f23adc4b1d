// zorvik-sheet: the plan sheet of a saved plan, without the form.
//
//   zorvik-sheet PLAN.zvk -o OUT.pdf       the printed sheet as an A4 landscape PDF
//   zorvik-sheet --layout WxH PLAN.zvk     the page model for a W x H pixel page, as text
//   --schedule, --csv FILE, --xlsx FILE    the repayment schedule: pages after the sheet, exports
//   zorvik-sheet A.zvk B.zvk ... -o DIR    several plans in one process, each into DIR
//   --prepay ROW:AFTER:AMOUNT:KIND[:bonus]  planned prepayments (繰上返済) in the schedule and its exports
//   --rate-path 2:+1.0,6:+2.0 [--variable-rows 1,3]  a rate scenario: the scenario page, 未払利息 in the CSV
//   zorvik-sheet --compare A.zvk B.zvk [C.zvk D.zvk] -o CMP.pdf [--xlsx CMP.xlsx]   プラン比較
//
// The sheet shows the texts the form shows right after opening the plan (the file's values,
// nothing recomputed). There is no display here, so font sizes are converted at 96 dpi.
// Exit status: 0 done (also when a row is only left out of the schedule for a period above 99
// years, which standard error names), 1 a plan could not be read (also an empty file or one with
// NUL bytes) or an output not written (also when an output is not a regular file or a new name, or
// is one of the run's plan files; the plan's other outputs and the other plans are still done), 2
// bad usage (also a prepayment that the rules refuse for one of the plans; nothing is then written).

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "core/funding_plan.h"
#include "core/plan_comparison.h"
#include "core/plan_evaluation.h"
#include "core/plan_texts.h"
#include "core/prepayment.h"
#include "core/rate_scenario.h"
#include "core/repayment_schedule.h"
#include "core/scenario_report.h"
#include "io/comparison_export.h"
#include "io/file_access.h"
#include "io/plan_file.h"
#include "io/schedule_export.h"
#include "print/page_model.h"
#include "print/render/comparison_page.h"
#include "print/render/plan_printer.h"
#include "print/render/scenario_render.h"
#include "print/render/schedule_renderer.h"
#include "print/schedule_pages.h"

namespace zorvik {
namespace {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;
constexpr int kMaxPageSide = 1000000;

constexpr const char* kUsage =
    "Usage:\n"
    "  zorvik-sheet PLAN.zvk -o OUT.pdf\n"
    "      Renders the plan sheet of PLAN.zvk as a one-page A4 landscape PDF (printable area\n"
    "      6774 x 4720 pixels at 600 dpi), written to OUT.pdf.\n"
    "  zorvik-sheet --layout WxH PLAN.zvk\n"
    "      Prints the page model for a printable area of W x H pixels, one drawing operation\n"
    "      a line in drawing order:\n"
    "        line X1 Y1 X2 Y2\n"
    "        rect L T R B\n"
    "        font title|body TENTHS\n"
    "        text MODE L T R B TEXT\n"
    "      MODE is bottom-centre, bottom-left, bottom-right, middle-centre, middle-left,\n"
    "      middle-right or wrapped-centre; TEXT is the rest of the line (UTF-8).\n"
    "  zorvik-sheet PLAN.zvk [-o OUT.pdf] [--schedule] [--csv FILE.csv] [--xlsx FILE.xlsx]\n"
    "      --schedule  adds the repayment schedule (返済予定表) after the sheet: A4 portrait\n"
    "                  pages with the totals, the chart and the year tables.\n"
    "      --csv       writes every payment as CSV (UTF-8 with BOM, CR LF).\n"
    "      --xlsx      writes the Excel workbook (plan sheet, year and month schedules).\n"
    "  zorvik-sheet PLAN1.zvk PLAN2.zvk ... -o DIR [--schedule] [--csv DIR] [--xlsx DIR]\n"
    "      Several plans in one run. -o, --csv and --xlsx then name existing folders; each\n"
    "      plan's files are named after it (PLAN1.pdf, PLAN1.csv, ...).\n"
    "  --prepay ROW:AFTER:AMOUNT:shorten|reduce[:bonus]   (may be repeated)\n"
    "      A prepayment (繰上返済) of loan row ROW (1-10) after payment AFTER of its part (0: at\n"
    "      the start), AMOUNT in yen or in 万円 when it ends in 万 (100万); shorten = 期間短縮型\n"
    "      (the fewest whole payments that reach the amount; a row with bonus payments in steps\n"
    "      of six months), reduce = 返済額軽減型 (the monthly part, or the bonus part with :bonus).\n"
    "      The schedule pages, the CSV and the workbook then show the schedule with them. A\n"
    "      prepayment the rules refuse stops the run (status 2) before any file is written.\n"
    "  --rate-path YEAR:POINTS[,YEAR:POINTS...]   [--variable-rows ROW[,ROW...]]\n"
    "      A rate scenario (金利シナリオ): from loan year YEAR (2-99) the rate is the row's own rate\n"
    "      plus POINTS percentage points, each step holding until the next (2:+1.0,6:+2.0).\n"
    "      変動 rows follow it with the 5年ルール and 125％ルール, 固定期間選択 rows after their\n"
    "      fixed years, 全期間固定 rows keep their rate; the types come from the product names,\n"
    "      or --variable-rows names the 変動 rows (the others are then 全期間固定). -o writes the\n"
    "      sheet followed by the scenario page; the CSV gains a last column 未払利息; --schedule\n"
    "      and --xlsx follow the path. A malformed path or row list stops the run (status 2).\n"
    "  zorvik-sheet --compare A.zvk B.zvk [C.zvk D.zvk] -o CMP.pdf [--xlsx CMP.xlsx]\n"
    "      プラン比較: two to four plans side by side (A案 to D案) on one A4 landscape page titled\n"
    "      資金計画 比較表, with the differences against A案 and a chart; --xlsx writes the table\n"
    "      with the differences as formulas. Rates stay as they are (据え置き); each row's rate\n"
    "      type comes from its product name.\n"
    "  zorvik-sheet --help\n"
    "\n"
    "The texts are those the form shows after opening the plan. No output ever replaces\n"
    "one of the run's plan files. Exit status: 0 done, 1 a plan could not be read (an\n"
    "empty file or one with NUL bytes is not a plan) or an output not written (each such\n"
    "plan is named; its other outputs and the other plans are still done), 2 wrong arguments.\n";

struct Arguments {
  bool help = false;
  bool schedule = false;
  bool compare = false;               // --compare: the plans side by side
  std::optional<std::string> layout;  // "WxH"
  std::optional<std::string> output;
  std::optional<std::string> csv;
  std::optional<std::string> xlsx;
  std::vector<std::string> plans;
  std::vector<PlannedPrepayment> prepayments;    // --prepay, in the order given
  std::optional<RatePath> ratePath;              // --rate-path
  std::optional<std::vector<int>> variableRows;  // --variable-rows, rows 0..9
};

// "1,3": the form's row numbers 1-10, each at most once.
std::optional<std::vector<int>> ParseRowList(const std::string& text) {
  std::vector<int> rows;
  size_t start = 0;
  while (start <= text.size()) {
    const size_t comma = std::min(text.find(',', start), text.size());
    const std::string item = text.substr(start, comma - start);
    if (item.empty() || item.size() > 2 || item.find_first_not_of("0123456789") != std::string::npos) {
      return std::nullopt;
    }
    const int row = std::stoi(item);
    if (row < 1 || row > kLoanRowCount || std::find(rows.begin(), rows.end(), row - 1) != rows.end()) {
      return std::nullopt;
    }
    rows.push_back(row - 1);
    start = comma + 1;
  }
  return rows;
}

void Error(const std::string& message) {
  std::fprintf(stderr, "zorvik-sheet: %s\n", message.c_str());
}

int UsageError(const std::string& message) {
  Error(message);
  std::fputs("Try 'zorvik-sheet --help'.\n", stderr);
  return kExitUsage;
}

// Command-line bytes as UTF-8 (paths are handed on as UTF-8).
std::string Utf8(const char* arg) {
  return QString::fromLocal8Bit(arg).toStdString();
}

std::optional<int> ParseSide(const std::string& s) {
  if (s.empty() || s.size() > 7) return std::nullopt;
  int value = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < 1 || value > kMaxPageSide) return std::nullopt;
  return value;
}

// "WxH" with whole numbers from 1 to 1000000.
std::optional<std::pair<int, int>> ParseSize(const std::string& text) {
  const size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  const auto w = ParseSide(text.substr(0, x));
  const auto h = ParseSide(text.substr(x + 1));
  if (!w || !h) return std::nullopt;
  return std::make_pair(*w, *h);
}

// Parses argv; returns an exit status when the arguments are wrong.
std::optional<int> ParseArguments(int argc, char** argv, Arguments& args) {
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--help" || a == "-h") {
      args.help = true;
    } else if (a == "--schedule") {
      args.schedule = true;
    } else if (a == "--compare") {
      args.compare = true;
    } else if (a == "--layout" || a == "-o" || a == "--output" || a == "--csv" || a == "--xlsx") {
      if (i + 1 >= argc) return UsageError("option " + a + " needs a value");
      std::optional<std::string>& target = a == "--layout" ? args.layout
                                           : a == "--csv"  ? args.csv
                                           : a == "--xlsx" ? args.xlsx
                                                           : args.output;
      if (target) return UsageError("option " + a + " given twice");
      target = Utf8(argv[++i]);
    } else if (a == "--prepay" || a.rfind("--prepay=", 0) == 0) {
      std::string value;
      if (a == "--prepay") {
        if (i + 1 >= argc) return UsageError("option --prepay needs a value");
        value = Utf8(argv[++i]);
      } else {
        value = Utf8(argv[i] + std::strlen("--prepay="));
      }
      std::string error;
      const auto planned = ParsePrepaymentOption(value, &error);
      if (!planned) return UsageError(error);
      args.prepayments.push_back(*planned);
    } else if (a == "--rate-path" || a == "--variable-rows") {
      if (i + 1 >= argc) return UsageError("option " + a + " needs a value");
      const std::string value = Utf8(argv[++i]);
      if (a == "--rate-path") {
        if (args.ratePath) return UsageError("option --rate-path given twice");
        std::string error;
        args.ratePath = ParseRatePath(value, &error);
        if (!args.ratePath) return UsageError(error);
      } else {
        if (args.variableRows) return UsageError("option --variable-rows given twice");
        args.variableRows = ParseRowList(value);
        if (!args.variableRows) {
          return UsageError("変動金利の行の指定「" + value +
                            "」を読み取れません。1〜10の行番号をカンマで区切って指定してください（例 1,3）。");
        }
      }
    } else if (a.rfind("--csv=", 0) == 0 || a.rfind("--xlsx=", 0) == 0) {
      const bool csv = a[2] == 'c';
      std::optional<std::string>& target = csv ? args.csv : args.xlsx;
      if (target) return UsageError(std::string("option ") + (csv ? "--csv" : "--xlsx") + " given twice");
      target = Utf8(argv[i] + a.find('=') + 1);
    } else if (a.rfind("--layout=", 0) == 0) {
      if (args.layout) return UsageError("option --layout given twice");
      args.layout = a.substr(std::strlen("--layout="));
    } else if (a.rfind("--output=", 0) == 0) {
      if (args.output) return UsageError("option --output given twice");
      args.output = Utf8(argv[i] + std::strlen("--output="));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return UsageError("unknown option " + a);
    } else {
      args.plans.push_back(Utf8(argv[i]));
    }
  }
  if (args.help) return std::nullopt;
  if (args.plans.empty()) return UsageError("no plan file given");
  if (args.compare) {
    if (args.plans.size() < 2 || args.plans.size() > kMaxComparedPlans) {
      return UsageError("--compare takes two to four plan files");
    }
    if (args.layout || args.csv || args.schedule || !args.prepayments.empty() || args.ratePath || args.variableRows) {
      return UsageError("--compare goes with -o and --xlsx only");
    }
    if (!args.output && !args.xlsx) return UsageError("nothing to do: give -o CMP.pdf or --xlsx CMP.xlsx");
    for (const auto* target : {&args.output, &args.xlsx}) {
      if (*target && ((*target)->empty() || QFileInfo(QString::fromStdString(**target)).isDir())) {
        return UsageError("--compare writes one file: '" + **target + "' is not a file name");
      }
    }
    return std::nullopt;
  }
  if (args.layout) {
    if (args.output || args.csv || args.xlsx || args.schedule || !args.prepayments.empty() || args.ratePath ||
        args.variableRows) {
      return UsageError("give either --layout or -o, --csv, --xlsx, --schedule, --prepay and --rate-path, not both");
    }
    if (args.plans.size() > 1) return UsageError("--layout takes one plan file");
    return std::nullopt;
  }
  if (!args.output && !args.csv && !args.xlsx) {
    return UsageError("nothing to do: give -o OUT.pdf, --csv FILE, --xlsx FILE or --layout WxH");
  }
  if (args.schedule && !args.output) return UsageError("--schedule adds pages to the PDF: give -o as well");
  if (args.variableRows && !args.ratePath) return UsageError("--variable-rows goes with --rate-path");
  for (const auto* target : {&args.output, &args.csv, &args.xlsx}) {
    if (*target && (*target)->empty()) return UsageError("empty output file name");
    // Several plans cannot share one file: each target must be a folder to put them in.
    if (*target && args.plans.size() > 1 && !QFileInfo(QString::fromStdString(**target)).isDir()) {
      return UsageError("with several plans, -o, --csv and --xlsx name existing folders ('" + **target +
                        "' is not one)");
    }
  }
  return std::nullopt;
}

// Reads the plan; its texts are those the form shows after opening it (core/plan_texts.h).
bool LoadPlan(const std::string& path, FundingPlan& plan) {
  const QFileInfo info(QString::fromStdString(path));
  if (!info.exists()) {
    Error(path + ": no such file");
    return false;
  }
  if (info.isDir()) {
    Error(path + ": is a folder, not a plan file");
    return false;
  }
  if (!info.isFile()) {
    Error(path + ": is not a regular file, not a plan file");
    return false;
  }
  plan.ClearForLoad();
  if (!ReadPlanFile(plan, path)) {
    // ReadPlanFile refuses also a file that cannot be a plan (empty, or with NUL bytes).
    Error(path + ": cannot be read, or is not a plan file");
    return false;
  }
  return true;
}

int RunLayout(const Arguments& args) {
  const auto size = ParseSize(*args.layout);
  if (!size) {
    return UsageError("bad page size '" + *args.layout +
                      "': expected WxH, two whole numbers from 1 to 1000000 (for example 6774x4720)");
  }
  FundingPlan plan;
  if (!LoadPlan(args.plans.front(), plan)) return kExitFailed;
  const std::string dump =
      FormatPageModel(BuildPageModel(size->first, size->second, kDefaultDisplayDpi, EvaluatePlan(plan)));
  if (std::fwrite(dump.data(), 1, dump.size(), stdout) != dump.size() || std::fflush(stdout) != 0) {
    Error("cannot write the layout to the standard output");
    return kExitFailed;
  }
  return kExitOk;
}

// Only a regular file or a new name is written, and never a plan file of this run (the same
// file, also through a link or another spelling). Refusals name the plan.
bool CheckOutput(const std::string& plan, const QString& out, const std::vector<std::string>& inputs) {
  const std::string output = out.toStdString();
  if (!IsReplaceableTarget(out)) {
    Error(output + ": not a regular file; the output is written only to a regular file or a new name (plan " + plan +
          ")");
    return false;
  }
  for (const std::string& input : inputs) {
    if (!IsSameFile(QString::fromStdString(input), out)) continue;
    Error(input == plan
              ? output + ": is the plan file itself; give another name for the output"
              : output + ": is the plan file " + input + " of this run; it is not replaced (plan " + plan + ")");
    return false;
  }
  return true;
}

// Where an output of `plan` goes: with several plans inside the folder `target`, named after the
// plan; with one plan `target` itself.
QString OutputPath(const std::string& target, const std::string& plan, const char* suffix, bool severalPlans) {
  const QString t = QString::fromStdString(target);
  if (!severalPlans) return t;
  return QDir(t).filePath(QFileInfo(QString::fromStdString(plan)).completeBaseName() + QLatin1Char('.') +
                          QLatin1String(suffix));
}

// Each output file is written once per run: a second plan of the same name would replace the
// first one's files, so it is reported instead.
class OutputNames {
 public:
  bool Claim(const QString& path, const std::string& plan) {
    if (taken_.insert(QFileInfo(path).absoluteFilePath()).second) return true;
    Error(plan + ": " + path.toStdString() + " was already written in this run (another plan of the same name)");
    return false;
  }

 private:
  std::set<QString> taken_;
};

// The scenario the options describe: the rate path (none: the plan's own rates) with each row's
// 金利タイプ, and the planned prepayments.
RateScenario ScenarioFromArguments(const Arguments& args, const FundingPlan& plan) {
  RateScenario scenario;
  scenario.name = args.ratePath ? "指定の金利推移" : kUnchangedScenarioName;
  if (args.ratePath) {
    scenario.path = *args.ratePath;
    if (args.variableRows) {
      for (const int row : *args.variableRows) scenario.rowTypes[static_cast<size_t>(row)].type = RateType::Variable;
    } else {
      scenario.rowTypes = RateTypesFromNames(plan);
    }
  }
  scenario.prepayments = args.prepayments;
  return scenario;
}

bool HasScenario(const Arguments& args) {
  return !args.prepayments.empty() || args.ratePath;
}

// The plan's schedule under the options; false, with each refused prepayment named, when the rules
// refuse one of them.
bool ScheduleUnderArguments(const std::string& path, const FundingPlan& plan, const Arguments& args,
                            PlanSchedule& schedule) {
  PrepaymentResults results;
  schedule = BuildPlanSchedule(plan, ScenarioFromArguments(args, plan), &results);
  bool ok = true;
  for (size_t i = 0; i < results.size() && i < args.prepayments.size(); ++i) {
    if (results[i].refused == PrepaymentRefusal::None) continue;
    const PlannedPrepayment& p = args.prepayments[i];
    Error(path + ": --prepay " + std::to_string(p.row + 1) + ":" + std::to_string(p.afterPayment) + ":" +
          std::to_string(p.amount) + ": " + PrepaymentRefusalText(results[i].refused));
    ok = false;
  }
  return ok;
}

// The files of one plan. False when the plan could not be read or a file not written; an
// output that is refused is named, and the plan's other outputs are still written.
bool RenderPlan(const std::string& path, const Arguments& args, OutputNames& names) {
  const bool several = args.plans.size() > 1;
  QString pdf = args.output ? OutputPath(*args.output, path, "pdf", several) : QString();
  QString csv = args.csv ? OutputPath(*args.csv, path, "csv", several) : QString();
  QString xlsx = args.xlsx ? OutputPath(*args.xlsx, path, "xlsx", several) : QString();
  bool ok = true;
  for (QString* out : {&pdf, &csv, &xlsx}) {
    if (out->isEmpty()) continue;
    if (!CheckOutput(path, *out, args.plans) || !names.Claim(*out, path)) {
      out->clear();
      ok = false;
    }
  }
  FundingPlan plan;
  if (!LoadPlan(path, plan)) return false;

  // The system's own words for why, after the plan's name.
  auto report = [&ok, &path](const QString& out, const WriteResult& result) {
    std::string why = !result.detail.empty()                                ? result.detail
                      : result.status == AtomicWriteStatus::kNotRegularFile ? "not a regular file"
                      : result.osError != 0                                 ? std::strerror(result.osError)
                                                                            : "";
    Error(out.toStdString() + ": cannot be written (plan " + path + ")" + (why.empty() ? "" : ": " + why));
    ok = false;
  };
  PlanEvaluation evaluation = EvaluatePlan(plan);
  // Refused prepayments stopped the run before any file was written (CheckPrepayments).
  if (HasScenario(args)) ScheduleUnderArguments(path, plan, args, evaluation.schedule);
  const PlanSchedule& schedule = evaluation.schedule;
  // A row left out of the schedule is named; the rest is done and the run still succeeds.
  if (args.schedule || !csv.isEmpty() || !xlsx.isEmpty()) {
    for (const int row : schedule.leftOutRows) Error(path + ": " + LeftOutRowText(row));
  }
  if (!pdf.isEmpty()) {
    PageModel sheet = BuildPageModel(kReferencePageWidth, kReferencePageHeight, kDefaultDisplayDpi, evaluation);
    WriteResult written;
    if (args.ratePath) {
      // The sheet, then the scenario's page(s), then the schedule's pages under the path, numbered
      // as one document when there is more than the sheet.
      const ScenarioReport report = BuildScenarioReport(plan, {ScenarioFromArguments(args, plan)});
      const int before = 1 + static_cast<int>(ScenarioPageCount(report));
      const SchedulePages pages = args.schedule ? BuildSchedulePages(plan, schedule, before) : SchedulePages{};
      AddSheetPageNumber(sheet, before + static_cast<int>(pages.pages.size()));
      written = WriteSheetAndScenarioPdfFile(pdf, sheet, report, args.schedule ? &pages : nullptr);
    } else if (args.schedule) {
      // With the schedule, the plan sheet is page 1 and the schedule's pages are numbered after it.
      const SchedulePages pages = BuildSchedulePages(plan, schedule, 1);
      AddSheetPageNumber(sheet, 1 + static_cast<int>(pages.pages.size()));
      written = WriteSchedulePdfFile(pdf, pages, &sheet);
    } else {
      written = WritePlanSheetPdfFile(pdf, sheet);
    }
    if (!written) report(pdf, written);
  }
  if (!csv.isEmpty()) {
    const WriteResult written = args.ratePath ? WriteScenarioCsvFile(csv.toStdString(), schedule)
                                              : WriteScheduleCsvFile(csv.toStdString(), schedule);
    if (!written) report(csv, written);
  }
  if (!xlsx.isEmpty()) {
    const WriteResult written = WriteScheduleXlsxFile(xlsx.toStdString(), plan, schedule);
    if (!written) report(xlsx, written);
  }
  return ok;
}

// Every plan's prepayments are checked before anything is written: false when the rules refuse
// one (a plan that cannot be read is left to the run, which reports it).
bool CheckPrepayments(const Arguments& args) {
  if (!HasScenario(args)) return true;
  bool ok = true;
  for (const std::string& path : args.plans) {
    FundingPlan plan;
    plan.ClearForLoad();
    if (!ReadPlanFile(plan, path)) continue;
    PlanSchedule schedule;
    if (!ScheduleUnderArguments(path, plan, args, schedule)) ok = false;
  }
  return ok;
}

int RunPlans(char** argv, const Arguments& args) {
  // Fonts and the PDF engine need a GUI application object, but no window system; the chart of
  // the schedule pages needs the widgets' one. Only the program name is handed over, so that Qt
  // does not take a plan named like one of its own options (-platform, -display...) for that
  // option.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int qtArgc = 1;
  static char* qtArgv[] = {argv[0], nullptr};
  std::unique_ptr<QCoreApplication> app;
  if (args.schedule || (args.ratePath && args.output)) {
    app = std::make_unique<QApplication>(qtArgc, qtArgv);
  } else if (args.output) {
    app = std::make_unique<QGuiApplication>(qtArgc, qtArgv);
  } else {
    app = std::make_unique<QCoreApplication>(qtArgc, qtArgv);
  }
  if (!CheckPrepayments(args)) return kExitUsage;
  OutputNames names;
  bool failed = false;
  for (const std::string& plan : args.plans) {
    if (!RenderPlan(plan, args, names)) failed = true;
  }
  return failed ? kExitFailed : kExitOk;
}

// プラン比較 of the run's plans: every plan is read first, and nothing is written when one cannot be.
int RunComparison(char** argv, const Arguments& args) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int qtArgc = 1;
  static char* qtArgv[] = {argv[0], nullptr};
  QApplication app(qtArgc, qtArgv);
  std::vector<ComparedPlan> plans;
  for (const std::string& path : args.plans) {
    ComparedPlan compared;
    if (!LoadPlan(path, compared.plan)) return kExitFailed;
    compared.label = QFileInfo(QString::fromStdString(path)).completeBaseName().toStdString();
    compared.rowTypes = RateTypesFromNames(compared.plan);
    plans.push_back(std::move(compared));
  }
  RateScenario unchanged;
  unchanged.name = kUnchangedScenarioName;
  const Comparison comparison = ComparePlans(plans, unchanged);
  const ComparisonHeading heading{plans.front().plan.customerName, CreatedDateText(CreatedDate(plans.front().plan))};
  bool ok = true;
  for (const auto* target : {&args.output, &args.xlsx}) {
    if (!*target) continue;
    const QString out = QString::fromStdString(**target);
    if (!CheckOutput(args.plans.front(), out, args.plans)) {
      ok = false;
      continue;
    }
    const WriteResult written =
        target == &args.output ? WriteComparisonPdfFile(out, comparison, heading)
                               : WriteComparisonXlsxFile(**target, comparison, heading.customerName, heading.dateText);
    if (!written) {
      Error(**target + ": cannot be written" +
            (written.osError != 0 ? std::string(": ") + std::strerror(written.osError) : std::string()));
      ok = false;
    }
  }
  return ok ? kExitOk : kExitFailed;
}

int Main(int argc, char** argv) {
  Arguments args;
  if (const auto status = ParseArguments(argc, argv, args)) return *status;
  if (args.help) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (args.layout) return RunLayout(args);
  if (args.compare) return RunComparison(argv, args);
  return RunPlans(argv, args);
}

}  // namespace
}  // namespace zorvik

int main(int argc, char** argv) {
  // Under a limit on file size a write past it fails (and is reported) instead of killing the tool.
#ifdef SIGXFSZ
  std::signal(SIGXFSZ, SIG_IGN);
#endif
  return zorvik::Main(argc, argv);
}
