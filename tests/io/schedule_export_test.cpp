#include "io/schedule_export.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cstdlib>
#include <string>

#include "core/rate_scenario.h"
#include "core/repayment.h"
#include "core/scenario_report.h"
#include "io/zip_reader.h"
#include "tests/support/file_size_limit.h"

namespace zorvik {
namespace {

LoanRow Row(const char* name, uint16_t method, int32_t loan, int32_t bonus, int16_t years, double rate) {
  LoanRow r;
  r.loanName = name;
  r.method = method;
  r.loanAmount = loan;
  r.bonusAmount = bonus;
  r.periodYears = years;
  r.ratePercent = rate;
  r.monthlyPayment = CalcMonthlyPayment(loan, bonus, method, years, rate);
  r.bonusPayment = CalcBonusPayment(bonus, method, years, rate);
  return r;
}

std::string ReadAll(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

TEST(ScheduleExportTest, CsvBytes) {
  FundingPlan plan;
  plan.rows[0] = Row("A,\"B\"", 2, 100, 100, 1, 3.0);  // bonus part only
  plan.rows[2] = Row("フラット", 1, 100, 40, 1, 2.375);
  const std::string expected =
      "\xEF\xBB\xBF行,融資名,区分,回,年目,返済額,うち元金,うち利息,残高\r\n"
      "1,\"A,\"\"B\"\"\",ボーナス払,1,1,515000,500000,15000,500000\r\n"
      "1,\"A,\"\"B\"\"\",ボーナス払,2,1,507500,500000,7500,0\r\n"
      "3,フラット,月払,1,1,50645,49458,1187,550542\r\n"
      "3,フラット,月払,2,1,50645,49556,1089,500986\r\n"
      "3,フラット,月払,3,1,50645,49654,991,451332\r\n"
      "3,フラット,月払,4,1,50645,49752,893,401580\r\n"
      "3,フラット,月払,5,1,50645,49851,794,351729\r\n"
      "3,フラット,月払,6,1,50645,49949,696,301780\r\n"
      "3,フラット,月払,7,1,50645,50048,597,251732\r\n"
      "3,フラット,月払,8,1,50645,50147,498,201585\r\n"
      "3,フラット,月払,9,1,50645,50247,398,151338\r\n"
      "3,フラット,月払,10,1,50645,50346,299,100992\r\n"
      "3,フラット,月払,11,1,50645,50446,199,50546\r\n"
      "3,フラット,月払,12,1,50646,50546,100,0\r\n"
      "3,フラット,ボーナス払,1,1,203569,198819,4750,201181\r\n"
      "3,フラット,ボーナス払,2,1,203570,201181,2389,0\r\n";
  const PlanSchedule schedule = BuildPlanSchedule(plan);
  EXPECT_EQ(ScheduleCsvBytes(schedule), expected);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("返済予定表.csv"));
  ASSERT_TRUE(WriteScheduleCsvFile(path.toStdString(), schedule));
  EXPECT_EQ(ReadAll(path), expected);
  // Years of the second and later years count on: payment 13 of 月払 is in 年目 2.
  plan.rows[2].periodYears = 2;
  EXPECT_NE(ScheduleCsvBytes(BuildPlanSchedule(plan)).find("3,フラット,月払,13,2,"), std::string::npos);
}

// The schedule's notes go under the workbook's year sheet title; the CSV file stays a table.
TEST(ScheduleExportTest, NotesInTheWorkbookOnly) {
  FundingPlan plan;
  plan.rows[1] = Row("A", 1, 3000, 1200, 35, 2.375);
  plan.rows[1].monthlyPayment = 59074;  // written elsewhere
  plan.rows[4] = Row("B", 1, 3000, 0, 100, 2.0);
  const PlanSchedule s = BuildPlanSchedule(plan);
  EXPECT_EQ(ScheduleCsvBytes(s).rfind("\xEF\xBB\xBF行,融資名,", 0), 0u);
  EXPECT_EQ(ScheduleCsvBytes(s).find("返済期間"), std::string::npos);
  EXPECT_EQ(ScheduleCsvBytes(s).find("保存された"), std::string::npos);
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("n.xlsx"));
  ASSERT_TRUE(WriteScheduleXlsxFile(path.toStdString(), plan, s));
  QProcess python;
  python.start(QStringLiteral("/usr/bin/python3"),
               {QStringLiteral("-c"),
                QStringLiteral("import sys, openpyxl; ws = openpyxl.load_workbook(sys.argv[1])['年次返済表']\n"
                               "print('|'.join(str(ws.cell(r, 1).value) for r in range(3, 7)))"),
                path});
  ASSERT_TRUE(python.waitForFinished(60000));
  EXPECT_EQ(QString::fromUtf8(python.readAllStandardOutput()).trimmed(),
            QStringLiteral("5行目 返済期間が99年を超えるため、返済予定表に含めていません|"
                           "保存された返済額と計算上の返済額が異なります。返済予定表は計算上の返済額によります。|"
                           "None|計画全体"));
}

TEST(ScheduleExportTest, NothingWrittenWhereTheFolderIsMissing) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("無い/x")).toStdString();
  FundingPlan plan;
  plan.rows[0] = Row("A", 1, 3000, 1200, 35, 2.375);
  const PlanSchedule s = BuildPlanSchedule(plan);
  EXPECT_FALSE(WriteScheduleCsvFile(path + ".csv", s));
  EXPECT_FALSE(WriteScheduleXlsxFile(path + ".xlsx", plan, s));
  EXPECT_TRUE(QDir(dir.path()).isEmpty());
}

// Reads the workbook back with openpyxl: sheet names, and per sheet a list of
// [cell, value, number format] for every cell that holds something.
constexpr const char* kReadBack = R"(
import json, sys, openpyxl
wb = openpyxl.load_workbook(sys.argv[1])
out = {"sheets": wb.sheetnames}
for ws in wb.worksheets:
    out[ws.title] = [[c.coordinate, c.value, c.number_format]
                     for row in ws.iter_rows() for c in row if c.value is not None]
    out[ws.title + ".rows"] = ws.max_row
    out[ws.title + ".print"] = "fit %s, %s wide, %s high, titles %s" % (
        ws.sheet_properties.pageSetUpPr.fitToPage, ws.page_setup.fitToWidth, ws.page_setup.fitToHeight,
        ws.print_title_rows)
print(json.dumps(out, ensure_ascii=False))
)";

TEST(ScheduleExportTest, WorkbookReadBackWithOpenpyxl) {
  FundingPlan plan;
  plan.customerName = "山田 太郎";
  plan.createdYear = 2026;
  plan.createdMonth = 12;
  plan.createdDay = 8;
  plan.landLabel = "土地価額";
  plan.landPrice = 2500;
  plan.miscCostsLabel = " 諸費用 （概算）";  // the form's own caption, blank first
  plan.rows[0] = Row("フラット35", 1, 3000, 1200, 35, 2.375);
  plan.rows[3] = Row("銀行, \"変動\"", 2, 500, 0, 10, 0.5);
  plan.totalLoan = 3500;
  plan.totalMonthly = plan.rows[0].monthlyPayment + plan.rows[3].monthlyPayment;
  const PlanSchedule s = BuildPlanSchedule(plan);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString path = dir.filePath(QStringLiteral("返済予定表.xlsx"));
  QFile old(path);
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("old");
  old.close();
  ASSERT_TRUE(WriteScheduleXlsxFile(path.toStdString(), plan, s));

  // Debian's python3-openpyxl belongs to the system interpreter (another python3 may come first
  // on the search path).
  const QString interpreter = QFile::exists(QStringLiteral("/usr/bin/python3")) ? QStringLiteral("/usr/bin/python3")
                                                                                : QStringLiteral("python3");
  QProcess python;
  python.start(interpreter, {QStringLiteral("-c"), QString::fromUtf8(kReadBack), path});
  ASSERT_TRUE(python.waitForFinished(60000));
  ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
  const QJsonObject got = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
  EXPECT_EQ(got["sheets"].toArray(), (QJsonArray{"資金計画表", "年次返済表", "月次返済表"}));

  auto cell = [&got](const char* sheet, const char* coordinate) {
    for (const QJsonValue& c : got[QString::fromUtf8(sheet)].toArray()) {
      if (c[0].toString() == QLatin1String(coordinate)) return c.toArray();
    }
    return QJsonArray();
  };
  // Plan sheet: texts and amounts as numbers in their formats.
  EXPECT_EQ(cell("資金計画表", "B3")[1].toString(), QStringLiteral("山田 太郎 様"));
  EXPECT_EQ(cell("資金計画表", "B4")[1].toString(), QStringLiteral("2026年12月8日"));
  EXPECT_EQ(cell("資金計画表", "B6")[1].toString(), QStringLiteral("土地価額"));
  EXPECT_EQ(cell("資金計画表", "C6"), (QJsonArray{"C6", 2500, "#,##0\"万\""}));
  EXPECT_EQ(cell("資金計画表", "B17")[1].toString(), QStringLiteral("フラット35"));
  EXPECT_EQ(cell("資金計画表", "C17")[1].toString(), QStringLiteral("元利均等"));
  EXPECT_EQ(cell("資金計画表", "D17"), (QJsonArray{"D17", 2.375, "0.000\"％\""}));
  EXPECT_EQ(cell("資金計画表", "E17"), (QJsonArray{"E17", 35, "0\"年\""}));
  EXPECT_EQ(cell("資金計画表", "F17"), (QJsonArray{"F17", 3000, "#,##0\"万\""}));
  EXPECT_EQ(cell("資金計画表", "H17"), (QJsonArray{"H17", 63149, "#,##0\"円\""}));
  EXPECT_EQ(cell("資金計画表", "I17"), (QJsonArray{"I17", 253397, "#,##0\"円\""}));
  EXPECT_EQ(cell("資金計画表", "B20")[1].toString(), QStringLiteral("銀行, \"変動\""));
  EXPECT_TRUE(cell("資金計画表", "H18").isEmpty());  // an empty row shows nothing
  EXPECT_EQ(cell("資金計画表", "B12")[1].toString(), QStringLiteral("諸費用 （概算）"));

  // Every sheet prints one page wide (1 is the file format's default width, so it is left out)
  // and as many pages high as it needs; the month sheet repeats its header row on every page.
  for (const char* sheet : {"資金計画表", "年次返済表"}) {
    EXPECT_EQ(got[QString::fromUtf8(sheet) + ".print"].toString().toStdString(),
              "fit True, None wide, 0 high, titles None")
        << sheet;
  }
  EXPECT_EQ(got["月次返済表.print"].toString().toStdString(), "fit True, None wide, 0 high, titles $1:$1");

  // Year sheet: the plan's totals, then its years.
  EXPECT_EQ(cell("年次返済表", "A3")[1].toString(), QStringLiteral("計画全体"));
  EXPECT_EQ(cell("年次返済表", "B4")[1].toDouble(), 3500);
  EXPECT_EQ(cell("年次返済表", "D4")[1].toDouble(), static_cast<double>(s.totals.totalRepaid));
  EXPECT_EQ(cell("年次返済表", "D5")[1].toDouble(), static_cast<double>(s.totals.totalInterest));
  EXPECT_EQ(cell("年次返済表", "A7")[1].toString(), QStringLiteral("年目"));
  EXPECT_EQ(cell("年次返済表", "B8"), (QJsonArray{"B8", static_cast<double>(s.years[0].payment), "#,##0\"円\""}));
  EXPECT_EQ(cell("年次返済表", "E42")[1].toDouble(), 0.0);  // year 35 ends the plan

  // Month sheet: one line per payment after the header, as in the CSV file.
  EXPECT_EQ(got["月次返済表.rows"].toInt(), 1 + static_cast<int>(s.totals.paymentCount));
  EXPECT_EQ(cell("月次返済表", "A1")[1].toString(), QStringLiteral("行"));
  EXPECT_EQ(cell("月次返済表", "I1")[1].toString(), QStringLiteral("残高"));
  EXPECT_EQ(cell("月次返済表", "C2")[1].toString(), QStringLiteral("月払"));
  EXPECT_EQ(cell("月次返済表", "F2")[1].toDouble(), 63149);
  EXPECT_EQ(cell("月次返済表", "F421")[1].toDouble(), 63159);  // the last monthly payment
  EXPECT_EQ(cell("月次返済表", "C422")[1].toString(), QStringLiteral("ボーナス払"));
  const QString lastRow = QString::number(1 + s.totals.paymentCount);
  const QJsonArray last = cell("月次返済表", ("A" + lastRow.toStdString()).c_str());
  EXPECT_EQ(last[1].toInt(), 4);
  EXPECT_EQ(cell("月次返済表", ("I" + lastRow.toStdString()).c_str())[1].toDouble(), 0.0);
}

// ---- what the files must never do ---------------------------------------------------------------

// The CSV line of a loan name, up to its 区分.
std::string CsvNameCell(const std::string& name) {
  FundingPlan plan;
  plan.rows[0] = Row(name.c_str(), 1, 100, 0, 1, 1.0);
  plan.rows[0].loanName = name;  // names with NUL-free control characters too
  const std::string csv = ScheduleCsvBytes(BuildPlanSchedule(plan));
  const size_t start = csv.find("\r\n") + 2;
  return csv.substr(start, csv.find(",月払", start) - start);
}

TEST(ScheduleExportTest, CsvNamesOpenAsTextAndLineBreaksAreQuoted) {
  const std::pair<std::string, std::string> rows[] = {
      {"=HYPERLINK(\"http://x\")", "1,\"'=HYPERLINK(\"\"http://x\"\")\""},
      {"+1", "1,'+1"},
      {"-2", "1,'-2"},
      {"@SUM(A1)", "1,'@SUM(A1)"},
      {"\tx", "1,'\tx"},
      {"\r=1", "1,\"'\r=1\""},
      {"a\nb", "1,\"a\nb\""},
      {"a\rb", "1,\"a\rb\""},
      {"a-b=c", "1,a-b=c"},
      {"フラット35", "1,フラット35"},
  };
  for (const auto& [name, cell] : rows) EXPECT_EQ(CsvNameCell(name), cell) << name;
}

// The parts of a written workbook by name.
std::string Part(const std::string& path, const std::string& name) {
  const auto entries = ReadZipEntries(QFile::encodeName(QString::fromStdString(path)).toStdString(), 1u << 30);
  if (!entries) return "<not a whole zip>";
  for (const auto& [n, content] : *entries) {
    if (n == name) return content;
  }
  return "<no part " + name + ">";
}

// The XML of one cell of a sheet part, "" when the cell is not there.
std::string CellXml(const std::string& sheet, const std::string& ref) {
  const size_t start = sheet.find("<c r=\"" + ref + "\"");
  if (start == std::string::npos) return {};
  const size_t end = sheet.find("</c>", start);
  const size_t selfClosed = sheet.find("/>", start);
  return sheet.substr(start, std::min(end, selfClosed) - start);
}

TEST(ScheduleExportTest, WorkbookTextsAreStringCellsAndTheRatioNeedsAnIncome) {
  QTemporaryDir dir;
  const std::string path = dir.filePath(QStringLiteral("w.xlsx")).toStdString();
  FundingPlan plan;
  plan.rows[0] = Row("=HYPERLINK(\"http://x\")", 1, 3000, 0, 35, 2.375);
  plan.annualRepayment = 757788;
  plan.repaymentRatio = 25.13;  // as a file may hold it without an income
  // The workbook is built beside the target: a missing shared temporary folder does not matter.
  const bool hadTmp = qEnvironmentVariableIsSet("TMPDIR");
  const QByteArray tmp = qgetenv("TMPDIR");
  qputenv("TMPDIR", QFile::encodeName(dir.filePath(QStringLiteral("missing"))));
  const auto restore = qScopeGuard([&] { hadTmp ? (void)qputenv("TMPDIR", tmp) : (void)qunsetenv("TMPDIR"); });
  for (const int32_t income : {0, 800}) {
    plan.annualIncome = income;
    ASSERT_TRUE(WriteScheduleXlsxFile(path, plan, BuildPlanSchedule(plan)));
    const std::string sheet = Part(path, "xl/worksheets/sheet1.xml");
    // C30: 年収に対する返済割合. No value without an income.
    EXPECT_EQ(CellXml(sheet, "C30").find("<v>") != std::string::npos, income != 0) << CellXml(sheet, "C30");
    EXPECT_NE(CellXml(sheet, "B17").find("t=\"s\""), std::string::npos);  // the loan name: a string cell
    for (const char* part : {"xl/worksheets/sheet1.xml", "xl/worksheets/sheet2.xml", "xl/worksheets/sheet3.xml"}) {
      EXPECT_EQ(Part(path, part).find("<f>"), std::string::npos) << part;  // no formula anywhere
    }
    EXPECT_NE(Part(path, "xl/sharedStrings.xml").find("<t>=HYPERLINK("), std::string::npos);
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("w.xlsx")});
}

TEST(ScheduleExportTest, ScheduleBeyondTheSheetsRowsFailsAndLeavesNoFile) {
  QTemporaryDir dir;
  RowSchedule row;
  row.monthly.principal = 2'000'000;
  row.monthly.paymentCount = 2'000'000;
  row.monthly.method = 2;
  row.monthly.equalPrincipal = 1;
  row.monthly.firstPayment = 1;
  row.monthlyTotals.paymentCount = row.totals.paymentCount = 2'000'000;
  PlanSchedule s;
  s.rows.push_back(row);
  s.totals = row.totals;
  EXPECT_FALSE(WriteScheduleXlsxFile(dir.filePath(QStringLiteral("w.xlsx")).toStdString(), FundingPlan{}, s));
  EXPECT_TRUE(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

// A plan with the most payments the form allows: ten rows of 35 years with bonus portions.
FundingPlan FullPlan() {
  FundingPlan plan;
  for (int i = 0; i < kLoanRowCount; ++i) {
    plan.rows[static_cast<size_t>(i)] = Row("融資", static_cast<uint16_t>(1 + i % 2), 3000, 1000, 35, 1.5);
  }
  return plan;
}

constexpr rlim_t kRoomForTheZip = 400 * 1024;

TEST(ScheduleExportDeathTest, WorkbookWhosePartsWereCutShortIsNotWritten) {
  GTEST_FLAG_SET(death_test_style, "fast");
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("w.xlsx"));
  {
    QFile old(path);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  const FundingPlan plan = FullPlan();
  const PlanSchedule s = BuildPlanSchedule(plan);
  // Room for the finished (compressed) workbook, but not for the library's uncompressed
  // temporary copy of the month sheet: the library zips a cut sheet and reports success.
  EXPECT_EXIT(
      {
        testing::LimitFileSize(kRoomForTheZip);
        std::_Exit(WriteScheduleXlsxFile(path.toStdString(), plan, s) ? 0 : 7);
      },
      ::testing::ExitedWithCode(7), "");
  EXPECT_TRUE(ReadAll(path) == "old");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList{QStringLiteral("w.xlsx")});
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

// The government's example under +3 points from year 2 (1,000万, 変動, 2.375 %, 30 years): the CSV
// gains 未払利息 last, its column adds up to 234,720円, and the last payment is 300,937円; the
// workbook holds the summary with the yen as numbers and one schedule sheet with the same column.
TEST(ScheduleExportTest, ScenarioCsvAndWorkbookCarryTheDeferredInterest) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  LoanRow& row = plan.rows[0];
  row.loanName = "変動金利";
  row.method = 1;
  row.ratePercent = 2.375;
  row.periodYears = 30;
  row.loanAmount = 1000;
  RateScenario scenario;
  scenario.name = "+3.0";
  scenario.rowTypes = RateTypesFromNames(plan);
  scenario.path = {{2, 3.0}};
  const PlanSchedule schedule = BuildPlanSchedule(plan, scenario);
  const std::string csv = ScenarioCsvBytes(schedule);
  ASSERT_TRUE(csv.starts_with(std::string("\xEF\xBB\xBF") + kScheduleCsvHeader + ",未払利息\r\n"));
  int64_t unpaid = 0;
  std::string last;
  size_t start = csv.find("\r\n") + 2;
  while (start < csv.size()) {
    const size_t end = csv.find("\r\n", start);
    last = csv.substr(start, end - start);
    unpaid += std::stoll(last.substr(last.rfind(',') + 1));
    start = end + 2;
  }
  EXPECT_EQ(unpaid, 234720);
  EXPECT_TRUE(last.starts_with("1,変動金利,月払,360,30,300937,")) << last;
  // Without a scenario the plain CSV is unchanged: no last column.
  EXPECT_EQ(ScheduleCsvBytes(schedule).find("未払利息"), std::string::npos);

  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string path = dir.filePath(QStringLiteral("s.xlsx")).toStdString();
  ASSERT_TRUE(WriteScenarioXlsxFile(path, BuildScenarioReport(plan, {RateScenario{}, scenario})));
  const std::string summary = Part(path, "xl/worksheets/sheet1.xml");
  EXPECT_NE(summary.find("<v>21043742</v>"), std::string::npos);  // 総返済額 as a number
  EXPECT_NE(summary.find("<v>13991280</v>"), std::string::npos);
  const std::string second = Part(path, "xl/worksheets/sheet3.xml");
  EXPECT_NE(second.find("<v>300937</v>"), std::string::npos);
  EXPECT_NE(Part(path, "xl/workbook.xml").find("金利シナリオ"), std::string::npos);
}

}  // namespace
}  // namespace zorvik
