// zorvik-sheet's schedule pages and exports, and several plans in one call.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <map>
#include <utility>

#include "io/plan_file.h"
#include "io/zip_reader.h"
#include "tests/print/render/pdf_text.h"
#include "tests/print/render/sheet_tool_run.h"
#include "tests/support/worked_plan.h"

namespace zorvik {
namespace {

QByteArray Head(const QString& path, int n) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.read(n) : QByteArray();
}

TEST(SheetToolScheduleTest, OnePlanWithScheduleAndExports) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("plan.pdf"));
  const QString csv = dir.filePath(QStringLiteral("plan.csv"));
  const QString xlsx = dir.filePath(QStringLiteral("plan.xlsx"));
  const ToolRun run = RunSheet({Fixture("two_rows.zvk"), QStringLiteral("--schedule"), QStringLiteral("-o"), pdf,
                                QStringLiteral("--csv"), csv, QStringLiteral("--xlsx"), xlsx});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_EQ(Head(csv, 16), QByteArray("\xEF\xBB\xBF行,融資名"));
  EXPECT_EQ(Head(xlsx, 2), QByteArray("PK"));
  const auto text = PdfText(pdf);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_GE(text->count(QLatin1Char('\f')), 3);  // the sheet, the summary and chart, the year tables
  const auto first = PdfText(pdf, {QStringLiteral("-l"), QStringLiteral("1")});
  EXPECT_TRUE(first->contains(QStringLiteral("資 金 計 画 表")));
  EXPECT_FALSE(first->contains(QStringLiteral("総返済額")));
  // The sheet is page 1 of the numbered document.
  const qsizetype pages = text->count(QLatin1Char('\f'));
  EXPECT_TRUE(first->contains(QStringLiteral("1 / %1").arg(pages))) << first->toStdString();
  const auto second =
      PdfText(pdf, {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2")});
  EXPECT_TRUE(second->contains(QStringLiteral("総返済額")));
  EXPECT_TRUE(second->contains(QStringLiteral("銀行変動金利型")));

  // Exports alone, without a PDF.
  QFile::remove(csv);
  ASSERT_EQ(RunSheet({Fixture("two_rows.zvk"), QStringLiteral("--csv"), csv}).exitCode, 0);
  EXPECT_TRUE(QFileInfo::exists(csv));
}

// A plan file as written elsewhere: row 1's stored 59,074円 is not what 2.375 % gives, row 2 runs
// 120 years. Row 2 is named and left out, the schedule pages note the difference, status 0.
TEST(SheetToolScheduleTest, RowsLeftOutAndStoredPaymentsThatDiffer) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QFile fixture(Fixture("two_rows.zvk"));
  ASSERT_TRUE(fixture.open(QIODevice::ReadOnly));
  QByteArray bytes = fixture.readAll();
  bytes.replace(", 1, 1.940, 35,", ", 1, 2.375, 35,").replace(", 2, 0.475, 30,", ", 2, 0.475, 120,");
  const QString plan = dir.filePath(QStringLiteral("edited.zvk"));
  QFile edited(plan);
  ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
  ASSERT_EQ(edited.write(bytes), bytes.size());
  edited.close();
  const QString pdf = dir.filePath(QStringLiteral("e.pdf"));
  const QString csv = dir.filePath(QStringLiteral("e.csv"));
  const ToolRun run = RunSheet({plan, QStringLiteral("--schedule"), QStringLiteral("-o"), pdf, QStringLiteral("--csv"),
                                csv, QStringLiteral("--xlsx"), dir.filePath(QStringLiteral("e.xlsx"))});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.err.contains(QStringLiteral("zorvik-sheet: ") + plan +
                               QStringLiteral(": 2行目 返済期間が99年を超えるため、返済予定表に含めていません\n")))
      << run.err.toStdString();
  QFile written(csv);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  EXPECT_FALSE(written.readAll().contains("\r\n2,"));
  const auto text =
      PdfText(pdf, {QStringLiteral("-f"), QStringLiteral("2"), QStringLiteral("-l"), QStringLiteral("2")});
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(text->contains(
      QStringLiteral("保存された返済額と計算上の返済額が異なります。返済予定表は計算上の返済額によります。")));
  EXPECT_TRUE(text->contains(QStringLiteral("2行目 返済期間が99年を超えるため、返済予定表に含めていません")));
}

TEST(SheetToolScheduleTest, SeveralPlansIntoAFolderFailuresReportedAfterTheOthers) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  QDir(dir.path()).mkpath(QStringLiteral("sub"));
  QFile::copy(Fixture("two_rows.zvk"), dir.filePath(QStringLiteral("sub/ten_rows.zvk")));
  const QString out = dir.filePath(QStringLiteral("out"));
  ASSERT_TRUE(QDir().mkpath(out));
  const ToolRun run = RunSheet({Fixture("two_rows.zvk"), dir.filePath(QStringLiteral("absent.zvk")),
                                Fixture("ten_rows.zvk"), dir.filePath(QStringLiteral("sub/ten_rows.zvk")),
                                QStringLiteral("-o"), out, QStringLiteral("--csv"), out, QStringLiteral("--schedule")});
  EXPECT_EQ(run.exitCode, 1);
  // The missing plan and the second plan of the same name are named; the others are done.
  EXPECT_TRUE(run.err.contains(QStringLiteral("absent.zvk: no such file"))) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("sub/ten_rows.zvk"))) << run.err.toStdString();
  EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name),
            (QStringList{QStringLiteral("ten_rows.csv"), QStringLiteral("ten_rows.pdf"), QStringLiteral("two_rows.csv"),
                         QStringLiteral("two_rows.pdf")}));
  EXPECT_EQ(Head(QDir(out).filePath(QStringLiteral("ten_rows.pdf")), 5), QByteArray("%PDF-"));

  // All good: status 0. Several plans need folders.
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk"), Fixture("ten_rows.zvk"), QStringLiteral("-o"), out}).exitCode, 0);
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk"), Fixture("ten_rows.zvk"), QStringLiteral("-o"),
                      QDir(out).filePath(QStringLiteral("two_rows.pdf"))})
                .exitCode,
            2);
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk"), Fixture("ten_rows.zvk"), QStringLiteral("-o"), out,
                      QStringLiteral("--csv"), dir.filePath(QStringLiteral("nowhere"))})
                .exitCode,
            2);
}

// No output of a run replaces an input of the run: `zorvik-sheet budget budget.csv --csv DIR`
// would otherwise write the first plan's CSV over the second plan.
TEST(SheetToolScheduleTest, NoOutputReplacesAnInputOfTheRun) {
  QTemporaryDir dir;
  const QString budget = dir.filePath(QStringLiteral("budget"));
  const QString budgetCsv = dir.filePath(QStringLiteral("budget.csv"));
  ASSERT_TRUE(QFile::copy(Fixture("two_rows.zvk"), budget));
  ASSERT_TRUE(QFile::copy(Fixture("ten_rows.zvk"), budgetCsv));
  const QString pdfs = dir.filePath(QStringLiteral("pdfs"));
  ASSERT_TRUE(QDir().mkdir(pdfs));
  const ToolRun run = RunSheet({budget, budgetCsv, QStringLiteral("--csv"), dir.path(), QStringLiteral("-o"), pdfs});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(budgetCsv + QStringLiteral(": is the plan file ") + budgetCsv +
                               QStringLiteral(" of this run; it is not replaced (plan ") + budget + ")"))
      << run.err.toStdString();
  EXPECT_EQ(Head(budgetCsv, 1000), Head(Fixture("ten_rows.zvk"), 1000));
  EXPECT_EQ(Head(QDir(pdfs).filePath(QStringLiteral("budget.pdf")), 5), QByteArray("%PDF-"));  // not skipped
}

// An output blocked by a folder names its plan; the plan's other outputs are still written.
TEST(SheetToolScheduleTest, OutputBlockedByAFolderIsNamedAndTheOthersAreWritten) {
  QTemporaryDir dir;
  const QString blocked = dir.filePath(QStringLiteral("blocked.csv"));
  ASSERT_TRUE(QDir().mkdir(blocked));
  const QString pdf = dir.filePath(QStringLiteral("p.pdf"));
  const QString xlsx = dir.filePath(QStringLiteral("p.xlsx"));
  const ToolRun run = RunSheet({Fixture("two_rows.zvk"), QStringLiteral("-o"), pdf, QStringLiteral("--csv"), blocked,
                                QStringLiteral("--xlsx"), xlsx});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(blocked + QStringLiteral(": not a regular file"))) << run.err.toStdString();
  EXPECT_TRUE(run.err.contains(QStringLiteral("(plan ") + Fixture("two_rows.zvk") + ")")) << run.err.toStdString();
  EXPECT_EQ(Head(pdf, 5), QByteArray("%PDF-"));
  EXPECT_EQ(Head(xlsx, 2), QByteArray("PK"));
}

// An empty file, or one with NUL bytes, is not a plan; the other plans are done.
TEST(SheetToolScheduleTest, EmptyOrNulFilesAreNotPlans) {
  QTemporaryDir dir;
  const QString empty = dir.filePath(QStringLiteral("empty.zvk"));
  const QString zeros = dir.filePath(QStringLiteral("zeros.zvk"));
  QFile(empty).open(QIODevice::WriteOnly);
  QFile z(zeros);
  ASSERT_TRUE(z.open(QIODevice::WriteOnly));
  z.write(QByteArray(4096, '\0'));
  z.close();
  const QString out = dir.filePath(QStringLiteral("out"));
  ASSERT_TRUE(QDir().mkdir(out));
  const ToolRun run = RunSheet({empty, zeros, Fixture("two_rows.zvk"), QStringLiteral("--csv"), out});
  EXPECT_EQ(run.exitCode, 1);
  for (const QString& bad : {empty, zeros}) {
    EXPECT_TRUE(run.err.contains(bad + QStringLiteral(": cannot be read, or is not a plan file")))
        << run.err.toStdString();
  }
  EXPECT_EQ(QDir(out).entryList(QDir::Files), QStringList{QStringLiteral("two_rows.csv")});
}

// 繰上返済 from the command line. A lender's published case: 3,000万 at 2.3 % over 30 years, 100万
// after payment 60, 期間短縮型: 1,054,999円 prepaid. Wrong or refused prepayments stop the run with
// status 2 before any file is written.
TEST(SheetToolScheduleTest, PrepaymentsInTheExportsAndRefusals) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FundingPlan one = WorkedPlan();
  one.rows[0].ratePercent = 2.3;
  one.rows[0].periodYears = 30;
  one.rows[0].bonusAmount = 0;
  const QString plan = dir.filePath(QStringLiteral("one.zvk"));
  ASSERT_TRUE(WritePlanFile(one, plan.toStdString()));
  const QString csv = dir.filePath(QStringLiteral("p.csv"));
  const ToolRun run =
      RunSheet({plan, QStringLiteral("--prepay"), QStringLiteral("1:60:100万:shorten"), QStringLiteral("--csv"), csv});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QFile written(csv);
  ASSERT_TRUE(written.open(QIODevice::ReadOnly));
  const QString text = QString::fromUtf8(written.readAll());
  EXPECT_TRUE(text.contains(QStringLiteral(",繰上返済,60,5,1054999,1054999,0,"))) << text.left(400).toStdString();
  EXPECT_EQ(text.count(QStringLiteral(",月払,")), 360 - 16);

  const struct {
    const char* option;
    const char* message;
  } refused[] = {
      {"1:60:abc:shorten", "読み取れません"},        {"11:60:100万:shorten", "読み取れません"},
      {"1:60:9000万:shorten", "残高を超えています"}, {"1:360:100万:reduce", "範囲外"},
      {"2:0:100万:reduce", "返済区分がありません"},
  };
  for (const auto& r : refused) {
    const QString out = dir.filePath(QStringLiteral("refused.csv"));
    const ToolRun bad = RunSheet({plan, QStringLiteral("--prepay"), QString::fromUtf8(r.option),
                                  QStringLiteral("--csv"), out, QStringLiteral("-o"), dir.filePath("refused.pdf")});
    EXPECT_EQ(bad.exitCode, 2) << r.option;
    EXPECT_TRUE(bad.err.contains(QString::fromUtf8(r.message))) << r.option << bad.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(out) || QFileInfo::exists(dir.filePath("refused.pdf"))) << r.option;
  }
}

// A rate path from the command line: the sheet then the scenario's pages, 未払利息 in the CSV; a
// malformed path or row list stops the run with status 2 before any file is written.
TEST(SheetToolScheduleTest, RatePathPagesAndRefusals) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString pdf = dir.filePath(QStringLiteral("r.pdf"));
  const QString csv = dir.filePath(QStringLiteral("r.csv"));
  const ToolRun run = RunSheet({Fixture("two_rows.zvk"), QStringLiteral("--rate-path"), QStringLiteral("2:+1.0,6:+2.0"),
                                QStringLiteral("--variable-rows"), QStringLiteral("1"), QStringLiteral("-o"), pdf,
                                QStringLiteral("--csv"), csv});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  EXPECT_TRUE(Head(csv, 200).contains(",残高,未払利息\r\n"));
  if (const auto text = PdfText(pdf)) {
    EXPECT_TRUE(text->contains(QStringLiteral("金利シナリオ")));
    EXPECT_TRUE(text->contains(QStringLiteral("2年目 +1.0％、6年目 +2.0％"))) << text->toStdString();
  }
  const std::pair<QStringList, const char*> refusals[] = {
      {{"--rate-path", "2:+x"}, "金利の推移「2:+x」を読み取れません。"},
      {{"--rate-path", "1:+1.0"}, "金利の推移「1:+1.0」を読み取れません。"},
      {{"--rate-path", "3:+1,2:+2"}, "金利の推移「2:+2」を読み取れません。"},
      {{"--rate-path", "2:+1", "--variable-rows", "0"}, "変動金利の行の指定「0」を読み取れません。"},
      {{"--rate-path", "2:+1", "--variable-rows", "1,1"}, "変動金利の行の指定「1,1」を読み取れません。"},
      {{"--variable-rows", "1"}, "--variable-rows goes with --rate-path"},
  };
  for (const auto& [bad, message] : refusals) {
    QStringList args{Fixture("two_rows.zvk"), QStringLiteral("-o"), dir.filePath(QStringLiteral("bad.pdf")),
                     QStringLiteral("--csv"), dir.filePath(QStringLiteral("bad.csv"))};
    args += bad;
    const ToolRun refused = RunSheet(args);
    EXPECT_EQ(refused.exitCode, 2) << bad.join(' ').toStdString();
    EXPECT_TRUE(refused.err.contains(QString::fromUtf8(message))) << refused.err.toStdString();
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("bad.pdf"))));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath(QStringLiteral("bad.csv"))));
  }
}

// The government's example on the command line (1,000万, 変動 from the product name, 2.375 %, 30
// years, +3.0 points from year 2): the CSV ends with 未払利息 and the last payment of 300,937円,
// the workbook is the scenario's (summary with 総返済額 21,043,742円 as a number, then the schedule
// with 未払利息), the PDF is the sheet and the scenario page with the deferral's figures.
TEST(SheetToolScheduleTest, RatePathOnTheGovernmentExample) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  plan.customerName = "見本";
  plan.annualIncome = 500;
  LoanRow& row = plan.rows[0];
  row.loanName = "変動金利";
  row.method = 1;
  row.ratePercent = 2.375;
  row.periodYears = 30;
  row.loanAmount = 1000;
  const QString file = dir.filePath(QStringLiteral("gov.zvk"));
  ASSERT_TRUE(WritePlanFile(plan, file.toStdString()));
  const QString pdf = dir.filePath(QStringLiteral("g.pdf"));
  const QString csv = dir.filePath(QStringLiteral("g.csv"));
  const QString xlsx = dir.filePath(QStringLiteral("g.xlsx"));
  const ToolRun run = RunSheet({file, QStringLiteral("--rate-path"), QStringLiteral("2:+3.0"), QStringLiteral("--csv"),
                                csv, QStringLiteral("--xlsx"), xlsx, QStringLiteral("-o"), pdf});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QFile csvFile(csv);
  ASSERT_TRUE(csvFile.open(QIODevice::ReadOnly));
  const QByteArray lines = csvFile.readAll();
  EXPECT_TRUE(lines.contains(",残高,未払利息\r\n"));
  EXPECT_TRUE(lines.endsWith(",360,30,300937,65922,235015,0,0\r\n")) << lines.right(80).toStdString();

  const auto parts = ReadZipEntries(xlsx.toStdString(), 64 << 20);
  ASSERT_TRUE(parts);
  std::map<std::string, std::string> byName(parts->begin(), parts->end());
  EXPECT_NE(byName["xl/workbook.xml"].find("金利シナリオ"), std::string::npos);
  EXPECT_NE(byName["xl/workbook.xml"].find("A 返済予定表"), std::string::npos);
  EXPECT_NE(byName["xl/worksheets/sheet1.xml"].find("<v>21043742</v>"), std::string::npos);
  EXPECT_NE(byName["xl/worksheets/sheet1.xml"].find("<v>234720</v>"), std::string::npos);
  // 返済比率 of the highest year (66,215円 a month) against 500万 as a number of percent.
  EXPECT_NE(byName["xl/worksheets/sheet1.xml"].find("<v>15.89</v>"), std::string::npos);
  EXPECT_NE(byName["xl/worksheets/sheet2.xml"].find("<v>300937</v>"), std::string::npos);
  EXPECT_NE(byName["xl/sharedStrings.xml"].find("未払利息"), std::string::npos);

  const auto text = PdfText(pdf);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_EQ(text->count(QLatin1Char('\f')), 2);  // the sheet, then the scenario on one page
  for (const char* figure : {"金利シナリオ", "見本 様", "21,043,742円", "234,720円", "300,937円",
                             "未払利息が発生し、最終回に一括で返済します"}) {
    EXPECT_TRUE(text->contains(QString::fromUtf8(figure))) << figure;
  }
}

}  // namespace
}  // namespace zorvik
