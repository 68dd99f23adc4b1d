// zorvik-sheet's schedule pages and exports, and several plans in one call.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "tests/print/render/pdf_text.h"
#include "tests/print/render/sheet_tool_run.h"

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

}  // namespace
}  // namespace zorvik
