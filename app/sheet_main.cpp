// zorvik-sheet: the plan sheet of a saved plan, without the form.
//
//   zorvik-sheet PLAN.zvk -o OUT.pdf       the printed sheet as an A4 landscape PDF
//   zorvik-sheet --layout WxH PLAN.zvk     the page model for a W x H pixel page, as text
//
// The sheet shows the texts the form shows right after opening the plan (the file's values,
// nothing recomputed). There is no display here, so font sizes are converted at 96 dpi.
// Exit status: 0 done, 1 the plan could not be read or the output not written (also when the
// output is not a regular file or a new name, or is the plan itself), 2 bad usage.

#include <QFileInfo>
#include <QGuiApplication>
#include <QString>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "core/funding_plan.h"
#include "io/file_access.h"
#include "io/plan_file.h"
#include "print/page_model.h"
#include "print/render/plan_printer.h"

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
    "  zorvik-sheet --help\n"
    "\n"
    "The texts are those the form shows after opening the plan. Exit status: 0 done,\n"
    "1 the plan could not be read or the output not written, 2 wrong arguments.\n";

struct Arguments {
  bool help = false;
  std::optional<std::string> layout;  // "WxH"
  std::optional<std::string> output;
  std::optional<std::string> plan;
};

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
    } else if (a == "--layout" || a == "-o" || a == "--output") {
      if (i + 1 >= argc) return UsageError("option " + a + " needs a value");
      std::optional<std::string>& target = a == "--layout" ? args.layout : args.output;
      if (target) return UsageError("option " + a + " given twice");
      target = Utf8(argv[++i]);
    } else if (a.rfind("--layout=", 0) == 0) {
      if (args.layout) return UsageError("option --layout given twice");
      args.layout = a.substr(std::strlen("--layout="));
    } else if (a.rfind("--output=", 0) == 0) {
      if (args.output) return UsageError("option --output given twice");
      args.output = Utf8(argv[i] + std::strlen("--output="));
    } else if (a.size() > 1 && a[0] == '-' && a != "-") {
      return UsageError("unknown option " + a);
    } else {
      if (args.plan) return UsageError("more than one plan file given");
      args.plan = Utf8(argv[i]);
    }
  }
  if (args.help) return std::nullopt;
  if (!args.plan) return UsageError("no plan file given");
  if (args.layout && args.output) return UsageError("give either --layout or -o, not both");
  if (!args.layout && !args.output) return UsageError("nothing to do: give -o OUT.pdf or --layout WxH");
  if (args.output && args.output->empty()) return UsageError("empty output file name");
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
    Error(path + ": cannot be read");
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
  if (!LoadPlan(*args.plan, plan)) return kExitFailed;
  const std::string dump = FormatPageModel(BuildPageModel(size->first, size->second, kDefaultDisplayDpi, plan));
  if (std::fwrite(dump.data(), 1, dump.size(), stdout) != dump.size() || std::fflush(stdout) != 0) {
    Error("cannot write the layout to the standard output");
    return kExitFailed;
  }
  return kExitOk;
}

// Only a regular file or a new name is written, and never the plan being read.
bool CheckOutput(const std::string& plan, const std::string& output) {
  const QString out = QString::fromStdString(output);
  if (!IsReplaceableTarget(out)) {
    Error(output + ": not a regular file; the sheet is written only to a regular file or a new name");
    return false;
  }
  if (IsSameFile(QString::fromStdString(plan), out)) {
    Error(output + ": is the plan file itself; give another name for the PDF");
    return false;
  }
  return true;
}

int RunPdf(char** argv, const Arguments& args) {
  if (!CheckOutput(*args.plan, *args.output)) return kExitFailed;
  FundingPlan plan;
  if (!LoadPlan(*args.plan, plan)) return kExitFailed;

  // Fonts and the PDF engine need a GUI application object, but no window system.
  // Only the program name is handed over, so that Qt does not take a plan named like one of
  // its own options (-platform, -display...) for that option.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  char* qtArgv[] = {argv[0], nullptr};
  QGuiApplication app(qtArgc, qtArgv);
  const PageModel model = BuildPageModel(kReferencePageWidth, kReferencePageHeight, kDefaultDisplayDpi, plan);
  const QString out = QString::fromStdString(*args.output);
  if (!WritePlanSheetPdfFile(out, model)) {
    Error(*args.output + ": cannot be written");
    return kExitFailed;
  }
  return kExitOk;
}

int Main(int argc, char** argv) {
  Arguments args;
  if (const auto status = ParseArguments(argc, argv, args)) return *status;
  if (args.help) {
    std::fputs(kUsage, stdout);
    return kExitOk;
  }
  if (args.layout) return RunLayout(args);
  return RunPdf(argv, args);
}

}  // namespace
}  // namespace zorvik

int main(int argc, char** argv) {
  return zorvik::Main(argc, argv);
}
