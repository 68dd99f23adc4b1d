// zorvik-sheet run as a separate process on the plan fixtures.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <cctype>
#include <csignal>
#include <functional>
#include <ostream>
#include <string>

#include "tests/print/render/pdf_text.h"
#include "tests/print/render/sheet_tool_run.h"
#include "tests/support/file_size_limit.h"

namespace zorvik {
namespace {

TEST(SheetToolTest, LayoutOfAGoodFile) {
  const ToolRun run = RunSheet({QStringLiteral("--layout"), QStringLiteral("6774x4720"), Fixture("two_rows.zvk")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.out.split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), 2 + 116 + 2 + 118 + 1);  // the last line ends with LF too
  EXPECT_TRUE(lines.last().isEmpty());
  EXPECT_EQ(lines[0], QStringLiteral("line 615 964 2165 964"));
  EXPECT_EQ(lines[2], QStringLiteral("rect 565 1044 1180 1294"));
  EXPECT_EQ(lines[118], QStringLiteral("font title 1000"));
  EXPECT_EQ(lines[119], QStringLiteral("text bottom-centre 615 0 6150 944 資 金 計 画 表"));
  EXPECT_EQ(lines[120], QStringLiteral("font body 700"));
  // What the form shows after opening the plan: the file's texts and numbers in their text forms.
  EXPECT_TRUE(lines.contains(QStringLiteral("text bottom-left 615 0 6150 944   山田 太郎  様")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text bottom-right 615 0 6150 944 2026年 12月 8日  作成")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text wrapped-centre 4405 1074 4820 1264  諸費用 （概算）")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-left 595 1664 1995 1814 フラット35")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-centre 1995 1664 2510 1814 元利均等")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 2510 1664 3005 1814 1.940％")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 3035 1664 3450 1814 35年")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 3590 1664 4225 1814 3,000万")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 4895 1664 5505 1814 59,074円")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-centre 1995 1814 2510 1964 元金均等")));
  // Zero values are empty boxes: row 2 has no bonus portion.
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 4255 1814 4865 1964 ")));
  EXPECT_TRUE(lines.contains(QStringLiteral("text middle-right 3590 3184 4225 3334 4,500万")));
  EXPECT_EQ(lines[237], QStringLiteral("text middle-right 5285 3534 6170 3684 21.93％"));
}

TEST(SheetToolTest, LayoutOfAHalfResolutionPage) {
  const ToolRun run = RunSheet({QStringLiteral("--layout"), QStringLiteral("3390x2360"), Fixture("two_rows.zvk")});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.out.split(QLatin1Char('\n'));
  ASSERT_GT(lines.size(), 120);
  EXPECT_EQ(lines[2], QStringLiteral("rect 283 522 591 647"));
  EXPECT_EQ(lines[118], QStringLiteral("font title 500"));
  EXPECT_EQ(lines[120], QStringLiteral("font body 350"));
}

// The whole page model, every line, box, font and text, against dumps computed separately from
// the layout tables (tests/print/data/<plan>_<W>x<H>.layout). Each page has its own case:
// the reference page, one with different scales across and down (sx 0.90, sy 0.80, so
// both fonts follow sy) and a half-size one; the edge plan holds zeros, negative and
// extreme values, a method code outside the list, and a ratio with no income.
struct GoldenLayout {
  const char* plan;
  const char* size;
};

void PrintTo(const GoldenLayout& g, std::ostream* os) {
  *os << g.plan << ".zvk at " << g.size;
}

class GoldenLayoutTest : public ::testing::TestWithParam<GoldenLayout> {};

TEST_P(GoldenLayoutTest, MatchesLineByLine) {
  const GoldenLayout& g = GetParam();
  QFile golden(QStringLiteral(ZORVIK_SOURCE_DIR "/tests/print/data/%1_%2.layout")
                   .arg(QString::fromUtf8(g.plan), QString::fromUtf8(g.size)));
  ASSERT_TRUE(golden.open(QIODevice::ReadOnly)) << golden.fileName().toStdString();
  const QStringList expected = QString::fromUtf8(golden.readAll()).split(QLatin1Char('\n'));

  const QString plan = Fixture(g.plan) + QStringLiteral(".zvk");
  const ToolRun run = RunSheet({QStringLiteral("--layout"), QString::fromUtf8(g.size), plan});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  const QStringList lines = run.out.split(QLatin1Char('\n'));
  ASSERT_EQ(lines.size(), expected.size());
  for (qsizetype i = 0; i < lines.size(); ++i) {
    EXPECT_EQ(lines[i].toStdString(), expected[i].toStdString()) << "line " << i + 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Pages, GoldenLayoutTest,
                         ::testing::Values(GoldenLayout{"ten_rows", "6774x4720"}, GoldenLayout{"ten_rows", "6100x3800"},
                                           GoldenLayout{"edge_values", "6774x4720"},
                                           GoldenLayout{"edge_values", "3390x2360"}),
                         [](const ::testing::TestParamInfo<GoldenLayout>& info) {
                           std::string name = std::string(info.param.plan) + "_" + info.param.size;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(SheetToolTest, PdfOfAGoodFile) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString out = dir.filePath(QStringLiteral("plan.pdf"));
  const ToolRun run = RunSheet({Fixture("ten_rows.zvk"), QStringLiteral("-o"), out});
  ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().startsWith("%PDF-"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("plan.pdf")});
  const auto text = PdfText(out);
  if (!text) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(text->contains(QStringLiteral("資 金 計 画 表")));
  EXPECT_TRUE(text->contains(QStringLiteral("佐々木 健一郎")));
  EXPECT_TRUE(text->contains(QStringLiteral("4,150万")));       // the loan of row 10
  EXPECT_TRUE(text->contains(QStringLiteral("25,750万")));      // total loan
  EXPECT_TRUE(text->contains(QStringLiteral("13,878,640円")));  // yearly repayment
  EXPECT_FALSE(text->contains(QStringLiteral("1 / 1")));        // a sheet alone has no page number
}

TEST(SheetToolTest, MissingFile) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("plan.pdf"));
  const ToolRun run = RunSheet({dir.filePath(QStringLiteral("absent.zvk")), QStringLiteral("-o"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("absent.zvk: no such file"))) << run.err.toStdString();
  EXPECT_FALSE(QFileInfo::exists(out));

  const ToolRun layout =
      RunSheet({QStringLiteral("--layout"), QStringLiteral("6774x4720"), dir.filePath(QStringLiteral("absent.zvk"))});
  EXPECT_EQ(layout.exitCode, 1);
  EXPECT_TRUE(layout.out.isEmpty());
}

TEST(SheetToolTest, FolderOrFifoInsteadOfAPlan) {
  QTemporaryDir dir;
  const ToolRun run = RunSheet({QStringLiteral("--layout"), QStringLiteral("6774x4720"), dir.path()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("folder"))) << run.err.toStdString();
  // A FIFO is refused at once, not waited on.
  const QString fifo = dir.filePath(QStringLiteral("fifo.zvk"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const ToolRun fromFifo = RunSheet({QStringLiteral("--layout"), QStringLiteral("6774x4720"), fifo});
  EXPECT_EQ(fromFifo.exitCode, 1);
  EXPECT_TRUE(fromFifo.err.contains(QStringLiteral("not a regular file"))) << fromFifo.err.toStdString();
}

TEST(SheetToolTest, UnwritableOutput) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("no such folder/plan.pdf"));
  const ToolRun run = RunSheet({Fixture("two_rows.zvk"), QStringLiteral("-o"), out});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("cannot be written"))) << run.err.toStdString();
}

TEST(SheetToolTest, FullDiskFailsAndKeepsTheOldPdf) {
  QTemporaryDir dir;
  const QString out = dir.filePath(QStringLiteral("plan.pdf"));
  {
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
  }
  // The disk fills up just before the end of the sheet, when only the last bytes are left.
  const QString scratch = dir.filePath(QStringLiteral("scratch.pdf"));
  ASSERT_EQ(RunSheet({Fixture("ten_rows.zvk"), QStringLiteral("-o"), scratch}).exitCode, 0);
  const auto room = static_cast<rlim_t>(QFileInfo(scratch).size() - 16);
  ASSERT_TRUE(QFile::remove(scratch));
  const ToolRun run =
      RunSheet({Fixture("ten_rows.zvk"), QStringLiteral("-o"), out}, [room] { testing::LimitFileSize(room); });
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(run.err.contains(QStringLiteral("cannot be written"))) << run.err.toStdString();
  QFile file(out);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "old contents");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("plan.pdf")});
}

// Under a limit on file size (ulimit -f) with the signal's default action, a write past the limit
// is a failure with its message and status 1, not a killed tool.
TEST(SheetToolTest, FileSizeLimitIsAFailureNotASignal) {
  QTemporaryDir dir;
  const QStringList outputs = {dir.filePath(QStringLiteral("p.pdf")), dir.filePath(QStringLiteral("p.csv")),
                               dir.filePath(QStringLiteral("p.xlsx"))};
  for (const QString& out : outputs) {
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old");
  }
  const ToolRun run = RunSheet({Fixture("ten_rows.zvk"), QStringLiteral("-o"), outputs[0], QStringLiteral("--csv"),
                                outputs[1], QStringLiteral("--xlsx"), outputs[2]},
                               [] {
                                 std::signal(SIGXFSZ, SIG_DFL);
                                 const rlimit limit{200, 200};
                                 setrlimit(RLIMIT_FSIZE, &limit);
                               });
  EXPECT_EQ(run.exitCode, 1);
  for (const QString& out : outputs) {
    EXPECT_TRUE(run.err.contains(out + QStringLiteral(": cannot be written"))) << run.err.toStdString();
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "old");
  }
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), 3);
}

// Only a regular file or a new name is written, and never the plan being read; whatever is at
// the output stays as it was.
TEST(SheetToolTest, RefusesSpecialFilesAndThePlanItselfAsOutput) {
  QTemporaryDir dir;
  const QString plan = dir.filePath(QStringLiteral("plan.zvk"));
  ASSERT_TRUE(QFile::copy(Fixture("two_rows.zvk"), plan));
  const QString fifo = dir.filePath(QStringLiteral("fifo.pdf"));
  ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  const QString link = dir.filePath(QStringLiteral("link.zvk"));
  ASSERT_TRUE(QFile::link(plan, link));
  struct Row {
    QString output;
    const char* message;
  };
  for (const Row& row : {Row{fifo, "not a regular file"}, Row{plan, "is the plan file itself"},
                         Row{link, "is the plan file itself"}, Row{dir.path(), "not a regular file"}}) {
    const ToolRun run = RunSheet({plan, QStringLiteral("-o"), row.output});
    EXPECT_EQ(run.exitCode, 1) << row.output.toStdString();
    EXPECT_TRUE(run.err.contains(QString::fromUtf8(row.message))) << run.err.toStdString();
  }
  EXPECT_EQ(QFileInfo(fifo).isFile(), false);
  QFile copy(plan);
  QFile original(Fixture("two_rows.zvk"));
  ASSERT_TRUE(copy.open(QIODevice::ReadOnly) && original.open(QIODevice::ReadOnly));
  EXPECT_EQ(copy.readAll(), original.readAll());
}

class BadSizeTest : public ::testing::TestWithParam<const char*> {};

TEST_P(BadSizeTest, IsRefused) {
  const ToolRun run = RunSheet({QStringLiteral("--layout"), QString::fromUtf8(GetParam()), Fixture("two_rows.zvk")});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_TRUE(run.err.contains(QStringLiteral("bad page size"))) << run.err.toStdString();
  EXPECT_TRUE(run.out.isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Sizes, BadSizeTest,
                         ::testing::Values("0x4720", "6774x0", "6774", "6774x", "x4720", "-6774x4720", "6774x-4720",
                                           "abcxdef", "6774x4720x1", "6774 x 4720", "1000001x10", "99999999999x1",
                                           "6774×4720", ""));

TEST(SheetToolTest, UsageErrors) {
  EXPECT_EQ(RunSheet({}).exitCode, 2);
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk")}).exitCode, 2);
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk"), QStringLiteral("-o")}).exitCode, 2);
  EXPECT_EQ(RunSheet({QStringLiteral("--bogus"), Fixture("two_rows.zvk")}).exitCode, 2);
  EXPECT_EQ(RunSheet({Fixture("two_rows.zvk"), Fixture("ten_rows.zvk"), QStringLiteral("-o"), QStringLiteral("x.pdf")})
                .exitCode,
            2);
}

TEST(SheetToolTest, Help) {
  const ToolRun run = RunSheet({QStringLiteral("--help")});
  EXPECT_EQ(run.exitCode, 0);
  EXPECT_TRUE(run.out.contains(QStringLiteral("zorvik-sheet PLAN.zvk -o OUT.pdf")));
  EXPECT_TRUE(run.out.contains(QStringLiteral("--layout WxH")));
}

}  // namespace
}  // namespace zorvik
