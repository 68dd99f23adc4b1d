#include "io/file_access.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cerrno>
#include <string>

namespace zorvik {
namespace {

// Far above any pid the kernel gives out (at most 2^22 on Linux): a writer that is gone.
const QString kGonePid = QStringLiteral("1073741824");

std::string FileBytes(const QString& path) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) return "<unreadable>";
  return f.readAll().toStdString();
}

void MakeFile(const QString& path, const char* bytes = "x") {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

// Sets the modification time `seconds` into the past.
void Age(const QString& path, int seconds) {
  const timespec times[2] = {{time(nullptr) - seconds, 0}, {time(nullptr) - seconds, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}

QStringList Entries(const QString& dir) {
  return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

TEST(AtomicFileWriterTest, DanglingLinkIsRefusedAndNothingIsCreated) {
  QTemporaryDir dir;
  const QString link = dir.filePath(QStringLiteral("plan.zvk"));
  ASSERT_TRUE(QFile::link(dir.filePath(QStringLiteral("elsewhere.zvk")), link));
  EXPECT_EQ(WriteFileAtomically(link, "new").status, AtomicWriteStatus::kNotRegularFile);
  EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("plan.zvk")});
  EXPECT_TRUE(QFileInfo(link).isSymLink());
}

TEST(AtomicFileWriterTest, LinkToAFileReplacesTheFileAndKeepsTheLink) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("real.zvk"));
  const QString link = dir.filePath(QStringLiteral("plan.zvk"));
  MakeFile(file, "old");
  ASSERT_TRUE(QFile::link(file, link));
  EXPECT_EQ(WriteFileAtomically(link, "new").status, AtomicWriteStatus::kWritten);
  EXPECT_TRUE(QFileInfo(link).isSymLink());
  EXPECT_EQ(FileBytes(file), "new");
  EXPECT_EQ(Entries(dir.path()), (QStringList{QStringLiteral("plan.zvk"), QStringLiteral("real.zvk")}));
}

TEST(AtomicFileWriterTest, FailedFsyncKeepsTheOldFileAndLeavesNoTemporaryFile) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("plan.zvk"));
  MakeFile(path, "old");
  SetFileSyncForTests([](int) {
    errno = EIO;
    return -1;
  });
  const WriteResult result = WriteFileAtomically(path, std::string(5000, 'n'));
  SetFileSyncForTests(nullptr);
  EXPECT_EQ(result.status, AtomicWriteStatus::kWriteFailed);
  EXPECT_EQ(WriteFailureReason(result), "ディスクの読み書きに失敗しました。");
  EXPECT_EQ(FileBytes(path), "old");
  EXPECT_EQ(Entries(dir.path()), QStringList{QStringLiteral("plan.zvk")});
}

// The user is told why a write failed, from what the system reported.
TEST(AtomicFileWriterTest, FailureCarriesItsReason) {
  QTemporaryDir dir;
  struct Case {
    QString path;
    const char* reason;
  };
  ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.zvk")));
  const Case cases[] = {
      {dir.filePath(QStringLiteral("missing/plan.zvk")), "保存先のフォルダーがありません。"},
      {dir.filePath(QStringLiteral("folder.zvk")), "保存先はファイルではありません（フォルダーなど）。"},
      {dir.filePath(QString(300, QLatin1Char('n'))), "ファイル名が長すぎます。"},
  };
  for (const Case& c : cases) {
    const WriteResult result = WriteFileAtomically(c.path, "x");
    EXPECT_FALSE(result) << c.path.toStdString();
    EXPECT_EQ(WriteFailureReason(result), c.reason) << c.path.toStdString();
    EXPECT_EQ(WriteFailureReasonLine(result), QStringLiteral("\n") + QString::fromUtf8(c.reason));
  }
  EXPECT_EQ(WriteFailureReason(WriteFailed(ENOSPC)), "ディスクの空き容量が足りません。");
  EXPECT_EQ(WriteFailureReasonLine(WriteFailed(0)), QString());
}

TEST(AtomicFileWriterTest, TemporaryFileIsHiddenBesideTheTargetAndCarriesThePid) {
  QTemporaryDir dir;
  // A name near the file system's limit still leaves room for the temporary name.
  for (const QString& name : {QStringLiteral("plan.zvk"), QString(80, QChar(0x5C71)) + QStringLiteral(".zvk")}) {
    QStringList during;
    ASSERT_EQ(WriteFileAtomically(dir.filePath(name), "x",
                                  [&] {
                                    during = Entries(dir.path());
                                    return true;
                                  })
                  .status,
              AtomicWriteStatus::kWritten);
    ASSERT_EQ(during.size(), 1);
    const QRegularExpression expected(
        QStringLiteral("^\\..+\\.zorvik-%1-[A-Za-z0-9]{6}$").arg(QCoreApplication::applicationPid()));
    EXPECT_TRUE(expected.match(during.front()).hasMatch()) << during.front().toStdString();
    EXPECT_LE(QFile::encodeName(during.front()).size(), 255);
    EXPECT_EQ(Entries(dir.path()), QStringList{name});
    QFile::remove(dir.filePath(name));
  }
}

// What the next write into a folder removes: leftovers that cannot belong to a running write.
TEST(AtomicFileWriterTest, NextWriteRemovesOnlyStaleLeftovers) {
  QTemporaryDir dir;
  const QString own = QString::number(QCoreApplication::applicationPid());
  struct Entry {
    QString name;
    int ageSeconds;
    bool folder;
    bool removed;
  };
  const Entry entries[] = {
      {".a.zvk.zorvik-" + kGonePid + "-AbC123", 0, false, true},     // its writer is gone
      {".a.zvk.zorvik-" + own + "-AbC123", 0, false, false},         // a write running now
      {".a.zvk.zorvik-" + own + "-XyZ789", 7200, false, true},       // running, but hours old
      {".b.xlsx.zorvik-" + kGonePid + "-Fo1der", 0, true, true},     // a workbook's build folder
      {"plan.zvk.AbCdEf", 7200, false, true},                        // an older version's leftover
      {"plan.zvk.QwErTy", 0, false, false},                          // ... that may still be written
      {"other.zvk.AbCdEf", 7200, false, false},                      // not the name being written
      {"plan.zvk.backup1", 7200, false, false},                      // not the pattern
      {"plan.zvk.backup", 7200, false, false},                       // a user's own copy
      {"plan.zvk.Backup", 7200, false, false},                       // ... likewise
      {".a.zvk.zorvik-" + kGonePid + "-AbC12", 7200, false, false},  // not the pattern
      {"notes.txt", 7200, false, false},
  };
  for (const Entry& e : entries) {
    const QString path = dir.filePath(e.name);
    if (e.folder) {
      ASSERT_TRUE(QDir().mkdir(path));
      MakeFile(path + "/workbook.xlsx");
    } else {
      MakeFile(path);
    }
    Age(path, e.ageSeconds);
  }
  ASSERT_TRUE(WriteFileAtomically(dir.filePath(QStringLiteral("plan.zvk")), "x"));
  for (const Entry& e : entries) {
    EXPECT_EQ(QFileInfo::exists(dir.filePath(e.name)), !e.removed) << e.name.toStdString();
  }
}

TEST(AtomicFileWriterTest, OldExportFoldersInTheTemporaryFolder) {
  QTemporaryDir dir;
  struct Entry {
    const char* name;
    const char* file;  // what it holds
    int ageSeconds;
    bool removed;
  };
  const Entry entries[] = {
      {"zorvik-sheet-AbC123", "schedule.xlsx", 7200, true},
      {"zorvik-XyZ789", "", 7200, true},
      {"zorvik-sheet-QwE456", "schedule.xlsx", 0, false},
      {"zorvik-sheet-RtY456", "notes.txt", 7200, false},
      {"zorvikX-AbC123", "", 7200, false},
  };
  for (const Entry& e : entries) {
    const QString path = dir.filePath(QString::fromUtf8(e.name));
    ASSERT_TRUE(QDir().mkdir(path));
    if (*e.file != '\0') MakeFile(path + "/" + e.file);
    Age(path + "/" + e.file, e.ageSeconds);
    Age(path, e.ageSeconds);
  }
  RemoveStaleExportFolders(dir.path());
  for (const Entry& e : entries) EXPECT_EQ(QFileInfo::exists(dir.filePath(e.name)), !e.removed) << e.name;
}

TEST(FileNameTest, CustomerNamesAreCleanedForFileNames) {
  const std::pair<QString, QString> rows[] = {
      {QString::fromUtf8("山田 太郎"), QString::fromUtf8("山田 太郎")},
      {QString::fromUtf8(std::string("a\0b", 3)), QStringLiteral("a_b")},
      {QStringLiteral("a\tb\x7F"
                      "c\x01"),
       QStringLiteral("a_b_c_")},
      {QStringLiteral(" a/b\\c:d*e?f\"g<h>i|j "), QStringLiteral("a_b_c_d_e_f_g_h_i_j")},
      {QStringLiteral(".."), QString()},
      {QStringLiteral("   "), QString()},
      {QStringLiteral("..a"), QStringLiteral("..a")},
  };
  for (const auto& [text, cleaned] : rows) EXPECT_EQ(CleanFileNameBase(text), cleaned) << text.toStdString();
}

}  // namespace
}  // namespace zorvik
