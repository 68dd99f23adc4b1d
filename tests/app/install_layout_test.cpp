#include "app/install_layout.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

namespace zorvik {
namespace {

struct LayoutCase {
  const char* name;
  const char* folders;  // made below the temporary folder, separated by ';'
  const char* files;    // empty files made there, separated by ';'
  const char* program;  // the program's folder, below the temporary folder
  InstallLayout expected;
};

class InstallLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(InstallLayoutTest, DecidesByTheTreeAroundTheProgram) {
  const LayoutCase& c = GetParam();
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  for (const QString& f : QString::fromUtf8(c.folders).split(';', Qt::SkipEmptyParts)) {
    ASSERT_TRUE(QDir(dir.path()).mkpath(f));
  }
  for (const QString& f : QString::fromUtf8(c.files).split(';', Qt::SkipEmptyParts)) {
    QFile file(dir.filePath(f));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  const QString program = dir.filePath(QString::fromUtf8(c.program));
  EXPECT_EQ(DetectInstallLayout(program), c.expected) << c.name;

  const UserFolders user{dir.filePath("home/.local/share/Quorvane/zorvik"), dir.filePath("home/Documents")};
  const InstallPlaces places = ResolveInstallPlaces(program, user);
  EXPECT_EQ(places.layout, c.expected) << c.name;
  if (c.expected == InstallLayout::Portable) {
    // Everything beside the program, as it always was.
    EXPECT_EQ(places.shippedFolder, program) << c.name;
    EXPECT_EQ(places.rateMasterFolder, program) << c.name;
  } else {
    EXPECT_EQ(places.shippedFolder, QDir::cleanPath(program + "/../share/zorvik")) << c.name;
    EXPECT_EQ(places.rateMasterFolder, user.appData) << c.name;
    EXPECT_EQ(places.user.documents, user.documents) << c.name;
  }
}

constexpr InstallLayout kPortable = InstallLayout::Portable;
constexpr InstallLayout kInstalled = InstallLayout::Installed;

INSTANTIATE_TEST_SUITE_P(
    Trees, InstallLayoutTest,
    ::testing::Values(
        LayoutCase{"installed under a prefix", "usr/bin;usr/share/zorvik", "", "usr/bin", kInstalled},
        LayoutCase{"installed, shipped files present", "opt/z/bin;opt/z/share/zorvik",
                   "opt/z/share/zorvik/YushiMaster.txt", "opt/z/bin", kInstalled},
        LayoutCase{"the build tree", "build/LoanHelp", "build/YushiMaster.txt", "build", kPortable},
        LayoutCase{"a copied folder", "copy", "copy/YushiMaster.txt;copy/license.txt", "copy", kPortable},
        LayoutCase{"bin without share/zorvik", "usr/bin;usr/share/other", "", "usr/bin", kPortable},
        LayoutCase{"share/zorvik is a file", "usr/bin;usr/share", "usr/share/zorvik", "usr/bin", kPortable},
        LayoutCase{"a folder named Bin", "usr/Bin;usr/share/zorvik", "", "usr/Bin", kPortable},
        LayoutCase{"a folder named bin2", "usr/bin2;usr/share/zorvik", "", "usr/bin2", kPortable},
        LayoutCase{"share/zorvik beside a lib folder", "usr/lib;usr/share/zorvik", "", "usr/lib", kPortable},
        LayoutCase{"a missing program folder", "", "", "nowhere/bin", kPortable}));

TEST(InstallLayoutEdgeTest, NoProgramFolderIsPortable) {
  EXPECT_EQ(DetectInstallLayout(QString()), InstallLayout::Portable);
}

// An installed copy starts only with HOME naming an existing folder by an absolute path; a
// portable copy starts whatever HOME holds.
TEST(HomeAllowsStartTest, InstalledCopyNeedsAnExistingHomeFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  ASSERT_TRUE(QDir(dir.path()).mkpath("home/me"));
  QFile file(dir.filePath("file"));
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  ASSERT_TRUE(QFile::link(dir.filePath("home/me"), dir.filePath("link")));
  ASSERT_TRUE(QFile::link(dir.filePath("gone"), dir.filePath("dangling")));
  const struct {
    const char* name;
    QString home;
    bool installed;
  } rows[] = {
      {"unset", QString(), false},
      {"empty", QString(""), false},
      {"relative", QString("home/me"), false},
      {"missing", dir.filePath("missing"), false},
      {"a file", dir.filePath("file"), false},
      {"a dangling link", dir.filePath("dangling"), false},
      {"ok", dir.filePath("home/me"), true},
      {"ok with a trailing slash", dir.filePath("home/me/"), true},
      {"a link to a folder", dir.filePath("link"), true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(HomeAllowsStart(InstallLayout::Installed, row.home), row.installed) << row.name;
    EXPECT_TRUE(HomeAllowsStart(InstallLayout::Portable, row.home)) << row.name;
  }
}

}  // namespace
}  // namespace zorvik
