#include "io/plan_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <future>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "io/cp932.h"
#include "io/rate_master.h"
#include "tests/support/file_size_limit.h"

namespace zorvik {
namespace {

std::string GoldenBytes(const char* name) {
  QFile f(QString(ZORVIK_SOURCE_DIR "/tests/io/data/") + name);
  if (!f.open(QIODevice::ReadOnly)) return "<missing golden file>";
  return f.readAll().toStdString();
}

std::string FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<unreadable>";
  return f.readAll().toStdString();
}

void WriteBytes(const QString& path, const std::string& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes.data(), static_cast<qint64>(bytes.size())), static_cast<qint64>(bytes.size()));
}

FundingPlan NewPlan() {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 12, 8});
  return plan;
}

// The plan of filled_plan.zvk: negative differences, an unnamed row with an amount, a blank
// row with leftover payments, a ratio of 25.127.
FundingPlan FilledPlan() {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 4, 1});
  plan.customerName = "山田 太郎";
  plan.otherCostLabel = "外構工事";
  plan.landPrice = 2500;
  plan.buildingPrice = 1800;
  plan.consumptionTax = 90;
  plan.otherCost = 300;
  plan.requiredFundsTotal = 4690;
  plan.fundsMinusLoans = -810;
  plan.miscCosts = 200;
  plan.ownFundsNeeded = -610;
  plan.annualIncome = 800;
  plan.rows[0] = LoanRow{"フラット35（全期間固定）", 1, 1.94, 35, 3000, 1200, 63149, 253397};
  plan.rows[1] = LoanRow{"", 2, 0.475, 20, 2500, 0, 10416, 0};
  plan.rows[2] = LoanRow{"", 0, 0.0, 0, 0, 0, 5000, 300};  // blank, but payments left in memory
  plan.rows[3] = LoanRow{"民間変動金利", 0, 0.0, 0, 0, 0, 0, 0};
  plan.rows[9] = LoanRow{"", 1, 2.375, 99, 81999, 81999, -5, std::numeric_limits<int32_t>::max()};
  plan.totalLoan = 5500;
  plan.totalBonusAmount = 1200;
  plan.totalMonthly = 73564.6;
  plan.totalBonus = 253397;
  plan.annualRepayment = 1389574;
  plan.repaymentRatio = 25.127;
  return plan;
}

TEST(PlanFileWriter, NewUntouchedPlanMatchesGoldenBytes) {
  FundingPlan plan = NewPlan();
  EXPECT_EQ(PlanFileBytes(plan), GoldenBytes("new_plan.zvk"));
}

TEST(PlanFileWriter, FilledPlanMatchesGoldenBytes) {
  FundingPlan plan = FilledPlan();
  EXPECT_EQ(PlanFileBytes(plan), GoldenBytes("filled_plan.zvk"));
  // The bytes leave the plan as it is; writing the file drops the blank row's payments from the
  // plan itself, not only from the file.
  EXPECT_EQ(plan.rows[2].monthlyPayment, 5000);
  ClearPaymentsOfBlankRows(plan);
  EXPECT_EQ(plan.rows[2].monthlyPayment, 0);
  EXPECT_EQ(plan.rows[2].bonusPayment, 0);
  // A row with a name but nothing else is not blank; nor is an unnamed row with an amount.
  EXPECT_EQ(plan.rows[9].monthlyPayment, -5);
}

TEST(PlanFileWriter, CommasLineBreaksAndUnencodableTextAreMadeSafe) {
  FundingPlan plan;
  plan.ResetToNewPlan(PlanDate{2026, 4, 1});
  plan.customerName = "山田\r\n太郎";
  plan.otherCostLabel = "外構\n工事\r😀";
  plan.rows[0] = LoanRow{"住宅,ローン\n～A", 1, 1.0, 10, 100, 0, 8760, 0};
  plan.totalLoan = 100;
  plan.totalMonthly = 8760;
  plan.annualRepayment = 105120;
  EXPECT_EQ(PlanFileBytes(plan), GoldenBytes("sanitized_plan.zvk"));
}

TEST(PlanFileWriter, WritesFileWithCrLfOnEveryPlatform) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  FundingPlan plan = FilledPlan();
  const QString path = dir.filePath("山田.zvk");
  ASSERT_TRUE(WritePlanFile(plan, path.toStdString()));
  EXPECT_EQ(FileBytes(path), GoldenBytes("filled_plan.zvk"));
  EXPECT_EQ(plan.rows[2].monthlyPayment, 0);  // the blank row's payments are dropped from the plan too
  EXPECT_EQ(plan.rows[2].bonusPayment, 0);
}

TEST(PlanFileWriter, ReplacesAnExistingFileCompletely) {
  QTemporaryDir dir;
  const QString path = dir.filePath("plan.zvk");
  WriteBytes(path, std::string(10000, 'x'));
  FundingPlan plan = NewPlan();
  ASSERT_TRUE(WritePlanFile(plan, path.toStdString()));
  EXPECT_EQ(FileBytes(path), GoldenBytes("new_plan.zvk"));
}

TEST(PlanFileWriter, ReportsAMissingFolderAndRefusesSpecialFiles) {
  QTemporaryDir dir;
  FundingPlan plan = NewPlan();
  EXPECT_FALSE(WritePlanFile(plan, dir.filePath("missing/plan.zvk").toStdString()));
  EXPECT_FALSE(WritePlanFile(plan, dir.path().toStdString()));  // the path is a folder
  // A FIFO (or a device) is never replaced by a regular file, and never opened.
  const QString fifo = dir.filePath("fifo.zvk");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  EXPECT_EQ(WriteFileAtomically(fifo, "x").status, AtomicWriteStatus::kNotRegularFile);
  EXPECT_FALSE(QFileInfo(fifo).isFile());
  EXPECT_TRUE(QFileInfo(fifo).exists());
}

TEST(PlanFileWriter, FailedReplaceLeavesOldFileIntactAndNoTemporaryFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath("plan.zvk");
  const std::string old = GoldenBytes("filled_plan.zvk");
  WriteBytes(path, old);
  FundingPlan plan = NewPlan();
  bool hookRan = false;
  EXPECT_FALSE(WriteFileAtomically(path.toStdString(), PlanFileBytes(plan), [&] {
    hookRan = true;
    return false;
  }));
  EXPECT_TRUE(hookRan);
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"plan.zvk"});
}

TEST(PlanFileWriterDeathTest, ProcessKilledDuringSaveLeavesOldFileIntact) {
  // "fast": the child is a fork that shares this test's temporary folder.
  GTEST_FLAG_SET(death_test_style, "fast");
  QTemporaryDir dir;
  const QString path = dir.filePath("plan.zvk");
  const std::string old = GoldenBytes("filled_plan.zvk");
  WriteBytes(path, old);
  // The child writes every byte of a new plan to the temporary file and is killed before the
  // replace, as a crash or power cut in the middle of a save would do.
  EXPECT_EXIT(
      {
        FundingPlan plan = NewPlan();
        WriteFileAtomically(path.toStdString(), PlanFileBytes(plan), [&] {
          QFile marker(dir.filePath("reached"));
          (void)marker.open(QIODevice::WriteOnly);
          marker.close();
          std::raise(SIGKILL);
          return true;
        });
      },
      ::testing::KilledBySignal(SIGKILL), "");
  ASSERT_TRUE(QFile::exists(dir.filePath("reached"))) << "the child never reached the replace";
  EXPECT_EQ(FileBytes(path), old);
  FundingPlan reread;
  ASSERT_TRUE(ReadPlanFile(reread, path.toStdString()));
  EXPECT_EQ(reread.customerName, "山田 太郎");
}

TEST(PlanFileWriterDeathTest, FullDiskIsReportedAndLeavesOldFileIntact) {
  GTEST_FLAG_SET(death_test_style, "fast");
  QTemporaryDir dir;
  const QString path = dir.filePath("plan.zvk");
  const std::string old = GoldenBytes("new_plan.zvk");
  WriteBytes(path, old);
  // Room for 100 bytes: the first part of the new plan reaches the disk, the rest fails.
  EXPECT_EXIT(
      {
        testing::LimitFileSize(100);
        FundingPlan plan = FilledPlan();
        std::_Exit(WritePlanFile(plan, path.toStdString()) ? 0 : 7);
      },
      ::testing::ExitedWithCode(7), "");
  EXPECT_EQ(FileBytes(path), old);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"plan.zvk"});
}

// ---- reading ---------------------------------------------------------------------------------

TEST(PlanFileReader, GoldenFilesReadBackWithAllValues) {
  FundingPlan expected = FilledPlan();
  const std::string bytes = PlanFileBytes(expected);
  EXPECT_EQ(expected.rows[2].monthlyPayment, 5000) << "writing the bytes changes nothing";
  ClearPaymentsOfBlankRows(expected);  // as WritePlanFile does
  expected.totalMonthly = 73565;       // stored whole
  expected.repaymentRatio = 25.13;     // stored with two decimals
  FundingPlan plan;
  ParsePlanFileBytes(plan, GoldenBytes("filled_plan.zvk"));
  EXPECT_EQ(plan.Inputs(), expected.Inputs());
  EXPECT_EQ(plan.landLabel, "土地価額");
  EXPECT_EQ(plan.miscCostsLabel, " 諸費用 （概算）");  // leading blank survives
  EXPECT_EQ(plan.fundsMinusLoans, -810);
  EXPECT_EQ(plan.ownFundsNeeded, -610);
  EXPECT_EQ(plan.requiredFundsTotal, 4690);
  for (size_t i = 0; i < plan.rows.size(); ++i) {
    EXPECT_EQ(plan.rows[i].monthlyPayment, expected.rows[i].monthlyPayment) << i;
    EXPECT_EQ(plan.rows[i].bonusPayment, expected.rows[i].bonusPayment) << i;
  }
  EXPECT_EQ(plan.totalLoan, 5500);
  EXPECT_EQ(plan.totalBonusAmount, 1200);
  EXPECT_EQ(plan.totalMonthly, 73565.0);
  EXPECT_EQ(plan.totalBonus, 253397.0);
  EXPECT_EQ(plan.annualRepayment, 1389574.0);
  EXPECT_EQ(plan.repaymentRatio, 25.13);
}

TEST(PlanFileReader, NewPlanReadsBack) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, GoldenBytes("new_plan.zvk"));
  EXPECT_EQ(plan.Inputs(), NewPlan().Inputs());
  EXPECT_EQ(plan.ownFundsLabel, "自己資金必要額");
}

TEST(PlanFileReader, EverySanitizedFileReopensWithAllItsValues) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, GoldenBytes("sanitized_plan.zvk"));
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_EQ(plan.otherCostLabel, "外構 工事 ?");
  const LoanRow expected{"住宅，ローン ～A", 1, 1.0, 10, 100, 0, 8760, 0};
  EXPECT_EQ(plan.rows[0].loanName, expected.loanName);
  EXPECT_EQ(plan.rows[0].method, 1);
  EXPECT_EQ(plan.rows[0].periodYears, 10);
  EXPECT_EQ(plan.rows[0].loanAmount, 100);
  EXPECT_EQ(plan.rows[0].monthlyPayment, 8760);
  EXPECT_EQ(plan.annualRepayment, 105120.0);
}

std::string ToLfOnly(std::string bytes) {
  std::string out;
  for (char c : bytes) {
    if (c != '\r') out += c;
  }
  return out;
}

TEST(PlanFileReader, LfOnlyReadsTheSameAsCrLf) {
  FundingPlan crlf;
  FundingPlan lf;
  ParsePlanFileBytes(crlf, GoldenBytes("filled_plan.zvk"));
  ParsePlanFileBytes(lf, ToLfOnly(GoldenBytes("filled_plan.zvk")));
  EXPECT_EQ(PlanFileBytes(lf), PlanFileBytes(crlf));
  EXPECT_EQ(PlanFileBytes(lf), GoldenBytes("filled_plan.zvk"));
}

TEST(PlanFileReader, ShortFileLeavesMissingFieldsEmpty) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, "\x8E\x52\x93\x63\r\n2026\r\n4");  // 山田, year, month without line end
  EXPECT_EQ(plan.customerName, "山田");
  EXPECT_EQ(plan.createdYear, 2026);
  EXPECT_EQ(plan.createdMonth, 4);
  EXPECT_EQ(plan.createdDay, 0);
  EXPECT_EQ(plan.landLabel, "");
  EXPECT_EQ(plan.rows[0].loanName, "");
  EXPECT_EQ(plan.repaymentRatio, 0.0);

  FundingPlan empty;
  ParsePlanFileBytes(empty, "");
  EXPECT_EQ(empty.Inputs(), PlanInputs{});
}

TEST(PlanFileReader, ExtraLinesAreIgnored) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, GoldenBytes("new_plan.zvk") + "junk\r\n1234\r\n");
  EXPECT_EQ(plan.repaymentRatio, 0.0);
  EXPECT_EQ(plan.Inputs(), NewPlan().Inputs());
}

// A file with line `lineIndex` (0-based) replaced.
std::string WithLine(int lineIndex, const std::string& line) {
  std::string bytes = GoldenBytes("new_plan.zvk");
  size_t start = 0;
  for (int i = 0; i < lineIndex; ++i) start = bytes.find("\r\n", start) + 2;
  const size_t end = bytes.find("\r\n", start);
  return bytes.replace(start, end - start, line);
}

// The format's line buffer holds 999 bytes: a longer line is cut at a character boundary and
// its rest dropped, without shifting the lines after it.
TEST(PlanFileReader, LongLinesAreCutAtTheLineBuffer) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, WithLine(0, std::string(5000, 'A')));
  EXPECT_EQ(plan.customerName, std::string(999, 'A'));
  EXPECT_EQ(plan.createdYear, 2026);
  ParsePlanFileBytes(plan, WithLine(0, std::string(998, 'A') + "\x8E\x52"));  // 山 would end at byte 1000
  EXPECT_EQ(plan.customerName, std::string(998, 'A'));
  ParsePlanFileBytes(plan, "\xEF\xBB\xBF" + std::string(998, 'A') + "山\r\n2026\r\n");  // UTF-8: 3 bytes
  EXPECT_EQ(plan.customerName, std::string(998, 'A'));
  EXPECT_EQ(plan.createdYear, 2026);

  FundingPlan rowPlan;
  ParsePlanFileBytes(rowPlan, WithLine(20, std::string(5000, 'A') + ", 1, 2.375, 35, 3000, 1200, 63149, 253397"));
  EXPECT_EQ(rowPlan.rows[0].loanName, std::string(999, 'A'));
  EXPECT_EQ(rowPlan.rows[0].bonusPayment, 0);
  EXPECT_EQ(rowPlan.rows[1].loanName, "");
  EXPECT_EQ(rowPlan.rows[1].method, 0);
}

TEST(PlanFileWriter, LongTextsFitTheLineBufferAndReadBack) {
  FundingPlan plan = NewPlan();
  plan.customerName = std::string(997, 'A') + "山田";  // cut before 田, whose second byte would be the 1000th
  plan.rows[0] = LoanRow{std::string(2000, 'B'), 1, 2.375, 35, 3000, 1200, 63149, 253397};
  const std::string bytes = PlanFileBytes(plan);
  FundingPlan read;
  ParsePlanFileBytes(read, bytes);
  EXPECT_EQ(read.customerName, std::string(997, 'A') + "山");
  EXPECT_EQ(read.rows[0].bonusPayment, 253397);
  EXPECT_EQ(read.rows[0].loanName,
            std::string(999 - std::string(", 1, 2.375, 35, 3000, 1200, 63149, 253397").size(), 'B'));
  for (size_t start = 0, end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
    EXPECT_LE(end - start, 999u);
  }
}

// Reads go through 64 KiB pieces straight into the result; a file longer than a piece reads
// whole, and one just over the limit reads up to the limit.
TEST(FileReader, ReadsAcrossPiecesAndStopsAtTheLimit) {
  QTemporaryDir dir;
  const QString path = dir.filePath("big");
  std::string content;
  for (int i = 0; content.size() < 3 * 64 * 1024 + 7; ++i) content += std::to_string(i) + ",";
  WriteBytes(path, content);
  std::string bytes;
  ASSERT_TRUE(ReadFileBytes(path.toStdString(), bytes, content.size()));
  EXPECT_EQ(bytes, content);
  ASSERT_TRUE(ReadFileBytes(path.toStdString(), bytes, content.size() - 1));
  EXPECT_EQ(bytes, content.substr(0, content.size() - 1));

  // A plan of one line just over the plan file limit (16 MiB) reads at once as a 999-byte name.
  const QString plan = dir.filePath("huge.zvk");
  WriteBytes(plan, std::string(16 * 1024 * 1024 + 1, 'N'));
  FundingPlan read;
  ASSERT_TRUE(ReadPlanFile(read, plan.toStdString()));
  EXPECT_EQ(read.customerName, std::string(999, 'N'));
  EXPECT_EQ(read.createdYear, 0);
}

// A FIFO or a device chosen as a plan or rate master is refused at once instead of waiting for
// a writer (or streaming endless bytes).
TEST(FileReader, RefusesFifosAndDevicesWithoutWaiting) {
  QTemporaryDir dir;
  const QString fifo = dir.filePath("fifo.zvk");
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  auto reads = std::async(std::launch::async, [&] {
    FundingPlan plan;
    RateMaster master;
    std::string bytes;
    return std::vector<bool>{ReadPlanFile(plan, fifo.toStdString()), ReadPlanFile(plan, "/dev/zero"),
                             LoadRateMasterFile(master, fifo.toStdString()).empty(),
                             ReadFileBytes("/dev/null", bytes, 10)};
  });
  if (reads.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
    // Let the stuck reader go (a writer that closes at once), then fail.
    const int fd = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
    if (fd >= 0) ::close(fd);
    FAIL() << "reading a FIFO waited for a writer";
  }
  EXPECT_EQ(reads.get(), (std::vector<bool>{false, false, true, false}));
}

struct RowCase {
  const char* name;
  std::string line;
  LoanRow row;
};
void PrintTo(const RowCase& c, std::ostream* os) {
  *os << c.name;
}

class PlanFileRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(PlanFileRowTest, ReadsRowLeniently) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, WithLine(20, Utf8ToCp932(GetParam().line)));
  const LoanRow& got = plan.rows[0];
  const LoanRow& want = GetParam().row;
  EXPECT_EQ(got.loanName, want.loanName);
  EXPECT_EQ(got.method, want.method);
  EXPECT_EQ(got.ratePercent, want.ratePercent);
  EXPECT_EQ(got.periodYears, want.periodYears);
  EXPECT_EQ(got.loanAmount, want.loanAmount);
  EXPECT_EQ(got.bonusAmount, want.bonusAmount);
  EXPECT_EQ(got.monthlyPayment, want.monthlyPayment);
  EXPECT_EQ(got.bonusPayment, want.bonusPayment);
}

INSTANTIATE_TEST_SUITE_P(
    Table, PlanFileRowTest,
    ::testing::Values(
        RowCase{"full", "A, 1, 2.375, 35, 3000, 1200, 63149, 253397", {"A", 1, 2.375, 35, 3000, 1200, 63149, 253397}},
        RowCase{"empty_name_marker", " ,2, 0.475, 20, 2500, 0, 10416, 0", {"", 2, 0.475, 20, 2500, 0, 10416, 0}},
        RowCase{"name_of_one_blank", " , 1, 1.000, 10, 100, 0, 8760, 0", {"", 1, 1.0, 10, 100, 0, 8760, 0}},
        RowCase{"name_of_two_blanks_kept", "  , 1, 1.000, 10, 100, 0, 8760, 0", {"  ", 1, 1.0, 10, 100, 0, 8760, 0}},
        RowCase{"name_not_trimmed", " A\t, 1", {" A\t", 0, 0.0, 0, 0, 0, 0, 1}},
        // Another program wrote a comma into the name: the rest shifts by one field.
        RowCase{"comma_in_name_from_other_program",
                "住宅,ローン, 1, 2.375, 35, 3000, 1200, 63149, 253397",
                {"住宅", 0, 1.0, 2, 35, 3000, 1200, 63149}},
        // Three commas close the name, method and rate; the period, loan, bonus and monthly
        // fields have no comma and read 0; the payment per bonus reads what follows the last one.
        RowCase{"fewer_commas", "A, 1, 2.375, 35", {"A", 1, 2.375, 0, 0, 0, 0, 35}},
        RowCase{"no_comma_at_all", "only a name", {"only a name", 0, 0.0, 0, 0, 0, 0, 0}},
        RowCase{"empty_line", "", {"", 0, 0.0, 0, 0, 0, 0, 0}},
        RowCase{"more_commas_than_fields", "A, 1, 2, 3, 4, 5, 6, 7, 8, 9", {"A", 1, 2.0, 3, 4, 5, 6, 7}},
        RowCase{"no_blanks_after_commas", "A,1,2.5,30,100,50,9,8", {"A", 1, 2.5, 30, 100, 50, 9, 8}},
        RowCase{"garbage_numbers", "A, x, inf, nan, 1e3, -, 0x10, abc", {"A", 0, 0.0, 0, 1, 0, 0, 0}},
        RowCase{"16_bit_fields_keep_low_bits", "A, 65537, 1, 65535, 1, 1, 1, 1", {"A", 1, 1.0, -1, 1, 1, 1, 1}},
        RowCase{"int32_clamped",
                "A, 0, 0, 0, 99999999999, -99999999999, 0, 0",
                {"A", 0, 0.0, 0, 2147483647, -2147483647 - 1, 0, 0}},
        RowCase{"huge_rate_clamped", "A, 1, 1e400, 1", {"A", 1, std::numeric_limits<double>::max(), 0, 0, 0, 0, 1}},
        RowCase{"backslash_trail_byte_in_name", "ソ, 2", {"ソ", 0, 0.0, 0, 0, 0, 0, 2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PlanFileReader, TextLinesLoseTrailingSingleByteWhiteSpaceOnly) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, WithLine(0, " \x81\x40\x8E\x52\x93\x63\x81\x40 \t\v\f\r"));  // " 　山田　 \t..."
  EXPECT_EQ(plan.customerName, " 　山田　");
}

TEST(PlanFileReader, InvalidBytesReadAsReplacementCharacter) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, WithLine(20, "\x81, 1, 2, 3, 4, 5, 6, 7"));  // a lead byte without its trail byte
  EXPECT_EQ(plan.rows[0].loanName, "\uFFFD");
  EXPECT_EQ(plan.rows[0].bonusPayment, 7);
  ParsePlanFileBytes(plan, WithLine(0, "A\x80\xFF\x85\x40Z"));
  EXPECT_EQ(plan.customerName, "A\uFFFD\uFFFD\uFFFDZ");
}

TEST(PlanFileReader, Utf8FileWithByteOrderMark) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, "\xEF\xBB\xBF山田 太郎\r\n2026\r\n");
  EXPECT_EQ(plan.customerName, "山田 太郎");
  EXPECT_EQ(plan.createdYear, 2026);
}

TEST(PlanFileReader, DateKeepsLowSixteenBits) {
  FundingPlan plan;
  ParsePlanFileBytes(plan, WithLine(1, "70000"));
  EXPECT_EQ(plan.createdYear, 70000 - 65536);
  ParsePlanFileBytes(plan, WithLine(2, "-1"));
  EXPECT_EQ(plan.createdMonth, 65535);
}

TEST(PlanFileReader, MissingOrUnreadableFileLeavesPlanUntouched) {
  QTemporaryDir dir;
  FundingPlan plan = FilledPlan();
  const PlanInputs before = plan.Inputs();
  EXPECT_FALSE(ReadPlanFile(plan, dir.filePath("nothing.zvk").toStdString()));
  EXPECT_FALSE(ReadPlanFile(plan, dir.path().toStdString()));
  // An empty file, or one with NUL bytes (zeroed by a crash, or not text at all), is not a plan.
  for (const std::string& bytes : {std::string(), std::string(1000, '\0'), GoldenBytes("filled_plan.zvk") + '\0'}) {
    const QString path = dir.filePath(QStringLiteral("bad.zvk"));
    WriteBytes(path, bytes);
    EXPECT_FALSE(ReadPlanFile(plan, path.toStdString())) << bytes.size();
  }
  EXPECT_EQ(plan.Inputs(), before);
}

TEST(PlanFileReader, WriteThenReadThroughFiles) {
  QTemporaryDir dir;
  const std::string path = dir.filePath("round.zvk").toStdString();
  FundingPlan written = FilledPlan();
  ASSERT_TRUE(WritePlanFile(written, path));
  FundingPlan read;
  ASSERT_TRUE(ReadPlanFile(read, path));
  EXPECT_EQ(read.Inputs(), written.Inputs());
  FundingPlan again = read;
  EXPECT_EQ(PlanFileBytes(again), GoldenBytes("filled_plan.zvk"));
}

}  // namespace
}  // namespace zorvik
