#include "app/zorvik_app.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <csignal>
#include <functional>

#include "app/command_line.h"
#include "app/funding_plan_dlg.h"
#include "app/help_commands.h"
#include "app/qt_translations.h"
#include "core/control_ids.h"
#include "io/plan_file.h"

namespace zorvik {
namespace {

const QString kSep = QDir::separator();

// Every test gets its own settings store and working folder inside a temporary folder.
class ZorvikAppSettingsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkpath("config"));
    ASSERT_TRUE(QDir(dir_.path()).mkpath("work"));
    QSettings::setDefaultFormat(QSettings::IniFormat);
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.filePath("config"));
    oldCurrent_ = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir_.filePath("work")));
  }
  void TearDown() override { QDir::setCurrent(oldCurrent_); }

  std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "Quorvane",
                                       QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName());
  }
  bool WorkHas(const QString& name) const { return QFileInfo(dir_.filePath("work/" + name)).isDir(); }

  QTemporaryDir dir_;
  QString oldCurrent_;
};

TEST_F(ZorvikAppSettingsTest, FirstRunTakesDefaultsCreatesFoldersAndStoresThem) {
  CZorvikApp app;
  ASSERT_TRUE(app.LoadSettings());
  EXPECT_EQ(app.directory(kInstallDirectory), ".");
  EXPECT_EQ(app.directory(kProgramDirectory), "?Program");
  EXPECT_EQ(app.directory(kDataDirectory), "?LoanData");
  EXPECT_EQ(app.directory(kHelpDirectory), "?LoanHelp");
  EXPECT_EQ(app.directory(kBackupDirectory), "A:\\");
  EXPECT_EQ(app.versionMajor(), 1);
  EXPECT_EQ(app.versionMinor(), 0);
  EXPECT_TRUE(WorkHas("Program"));
  EXPECT_TRUE(WorkHas("LoanData"));
  EXPECT_TRUE(WorkHas("LoanHelp"));
  EXPECT_EQ(QDir(dir_.filePath("work")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 3);

  ASSERT_TRUE(app.SaveSettings());
  auto store = Store();
  EXPECT_EQ(store->value("FILES/INSTALL_DIRECTORY").toString(), ".");
  EXPECT_EQ(store->value("FILES/PROGRAM_DIRECTORY").toString(), "?Program");
  EXPECT_EQ(store->value("FILES/DATA_DIRECTORY").toString(), "?LoanData");
  EXPECT_EQ(store->value("FILES/HELP_DIRECTORY").toString(), "?LoanHelp");
  EXPECT_EQ(store->value("FILES/BACKUP_DIRECTORY").toString(), "A:\\");
  EXPECT_EQ(store->value("Settings/VERSION_MAJOR").toInt(), 1);
  EXPECT_EQ(store->value("Settings/VERSION_MINOR").toInt(), 0);
  EXPECT_EQ(store->allKeys().size(), 7);
}

TEST_F(ZorvikAppSettingsTest, StoredValuesSurviveARoundTrip) {
  const QString install = dir_.filePath("install");
  ASSERT_TRUE(QDir().mkpath(install));
  {
    auto store = Store();
    store->setValue("FILES/INSTALL_DIRECTORY", install);
    store->setValue("FILES/DATA_DIRECTORY", "?Plans");
    store->setValue("FILES/HELP_DIRECTORY", dir_.filePath("help"));
    store->setValue("FILES/BACKUP_DIRECTORY", "E:\\Backup\\");
    store->setValue("Settings/VERSION_MAJOR", 7);
    store->setValue("Settings/VERSION_MINOR", 3);
  }
  CZorvikApp first;
  first.LoadSettings();
  EXPECT_EQ(first.directory(kDataDirectory), "?Plans");
  EXPECT_EQ(first.versionMajor(), 7);
  EXPECT_EQ(first.versionMinor(), 3);
  EXPECT_TRUE(QFileInfo(install + "/Plans").isDir());
  EXPECT_TRUE(QFileInfo(install + "/Program").isDir());
  EXPECT_FALSE(QFileInfo(dir_.filePath("help")).exists()) << "a folder without '?' is never created";
  first.SaveSettings();

  CZorvikApp second;
  second.LoadSettings();
  for (int i = 0; i < kDirectoryCount; ++i) EXPECT_EQ(second.directory(i), first.directory(i)) << i;
  EXPECT_EQ(second.versionMajor(), 7);
  EXPECT_EQ(second.versionMinor(), 3);
  EXPECT_EQ(Store()->value("Settings/VERSION_MAJOR").toInt(), 7);
}

TEST_F(ZorvikAppSettingsTest, PresentButEmptyKeyStaysEmpty) {
  Store()->setValue("FILES/DATA_DIRECTORY", "");
  Store()->setValue("FILES/INSTALL_DIRECTORY", dir_.filePath("work"));
  CZorvikApp app;
  app.LoadSettings();
  EXPECT_EQ(app.directory(kDataDirectory), "");
  EXPECT_EQ(app.directory(kHelpDirectory), "?LoanHelp");
  EXPECT_FALSE(WorkHas("LoanData"));
  app.SaveSettings();
  auto store = Store();
  EXPECT_TRUE(store->contains("FILES/DATA_DIRECTORY"));
  EXPECT_EQ(store->value("FILES/DATA_DIRECTORY").toString(), "");
}

TEST_F(ZorvikAppSettingsTest, QuestionFoldersAreCreatedOneLevelDeepOnly) {
  Store()->setValue("FILES/INSTALL_DIRECTORY", dir_.filePath("work"));
  Store()->setValue("FILES/DATA_DIRECTORY", "?Missing" + kSep + "Plans");
  CZorvikApp app;
  app.LoadSettings();
  EXPECT_FALSE(WorkHas("Missing"));
  EXPECT_FALSE(WorkHas("Missing/Plans"));
  EXPECT_TRUE(WorkHas("LoanHelp"));
}

TEST_F(ZorvikAppSettingsTest, ExistingFolderIsPassedOver) {
  ASSERT_TRUE(QDir(dir_.filePath("work")).mkdir("LoanData"));
  CZorvikApp app;
  EXPECT_TRUE(app.LoadSettings());
  EXPECT_TRUE(WorkHas("LoanData"));
}

TEST_F(ZorvikAppSettingsTest, UnreadableVersionTakesItsDefault) {
  Store()->setValue("Settings/VERSION_MAJOR", "abc");
  CZorvikApp app;
  app.LoadSettings();
  EXPECT_EQ(app.versionMajor(), 1);
}

TEST_F(ZorvikAppSettingsTest, RunShowsTheFormAndStoresTheSettingsWhenItCloses) {
  Store()->setValue("Settings/VERSION_MAJOR", 7);
  bool formSeen = false;
  // Ends the form like the Escape key once it is up.
  std::function<void()> closeForm;
  closeForm = [&] {
    auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (form == nullptr) {
      QTimer::singleShot(50, closeForm);
      return;
    }
    formSeen = true;
    form->reject();
  };
  QTimer::singleShot(50, closeForm);
  CZorvikApp app;
  EXPECT_EQ(app.Run(), 0);
  EXPECT_TRUE(formSeen);
  EXPECT_TRUE(WorkHas("LoanData"));
  auto store = Store();
  EXPECT_EQ(store->allKeys().size(), 7);
  EXPECT_EQ(store->value("FILES/DATA_DIRECTORY").toString(), "?LoanData");
  EXPECT_EQ(store->value("Settings/VERSION_MAJOR").toInt(), 7);
}

// Ends the modal form once it has been up for two looks (so that whatever it queued when it
// opened has run); `onForm` sees it first. A message box in front of the form is recorded in
// `messages` and answered with OK.
void CloseFormWhenShown(std::function<void(QDialog&)> onForm, QStringList* messages, int looks = 0) {
  auto* widget = QApplication::activeModalWidget();
  if (auto* box = qobject_cast<QMessageBox*>(widget); box != nullptr && box->isVisible()) {
    messages->append(box->windowTitle() + "|" + box->text());
    box->button(QMessageBox::Ok)->click();
  } else if (auto* form = qobject_cast<QDialog*>(widget); form != nullptr && form->isVisible() && ++looks == 2) {
    if (onForm) onForm(*form);
    form->reject();
    return;
  }
  QTimer::singleShot(30, [onForm, messages, looks] { CloseFormWhenShown(onForm, messages, looks); });
}

QString CustomerNameShown(QDialog& form) {
  auto* plan = qobject_cast<CFundingPlanDlg*>(&form);
  auto* name = plan ? qobject_cast<QLineEdit*>(plan->control(ids::kCustomerName)) : nullptr;
  return name ? name->text() : QString();
}

TEST_F(ZorvikAppSettingsTest, PlanNamedAtStartIsOpenOnTheForm) {
  FundingPlan stored;
  stored.ResetToNewPlan(PlanDate{2025, 1, 2});
  stored.customerName = "佐藤 花子";
  const QString path = dir_.filePath("佐藤.zvk");
  ASSERT_TRUE(WritePlanFile(stored, path.toStdString()));
  QString shown;
  QStringList messages;
  QTimer::singleShot(30,
                     [&] { CloseFormWhenShown([&](QDialog& form) { shown = CustomerNameShown(form); }, &messages); });
  CZorvikApp app;
  EXPECT_EQ(app.Run(path), 0);
  EXPECT_EQ(shown, "佐藤 花子");
  EXPECT_TRUE(messages.isEmpty()) << messages.join('\n').toStdString();
}

// An installed tree (prefix/bin beside prefix/share/zorvik with the shipped files) and a fresh
// home whose per-user folders do not exist yet.
class InstalledAppTest : public ZorvikAppSettingsTest {
 protected:
  void SetUp() override {
    ZorvikAppSettingsTest::SetUp();
    shared_ = dir_.filePath("prefix/share/zorvik");
    ASSERT_TRUE(QDir().mkpath(dir_.filePath("prefix/bin")));
    ASSERT_TRUE(QDir().mkpath(shared_ + "/LoanHelp"));
    for (const char* name : {"YushiMaster.txt", "license.txt", "LoanHelp/index.html"}) Write(shared_ + "/" + name);
    user_ = UserFolders{dir_.filePath("home/.local/share/Quorvane/zorvik"), dir_.filePath("home/Documents")};
    app_.setUserFolders(user_);
    app_.setProgramDirectory(dir_.filePath("prefix/bin"));
  }
  static void Write(const QString& path) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("x,1.0,\r\n");
  }
  static QStringList Tree(const QString& folder) {
    QStringList all;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) all << it.next();
    all.sort();
    return all;
  }

  QString shared_;
  UserFolders user_;
  CZorvikApp app_;
};

TEST_F(InstalledAppTest, FoldersArePerUserAndTheInstalledTreeIsOnlyRead) {
  ASSERT_EQ(app_.layout(), InstallLayout::Installed);
  const QStringList installed = Tree(dir_.filePath("prefix"));
  ASSERT_TRUE(app_.LoadSettings());
  // The stored values are those of a portable copy; only their places differ.
  EXPECT_EQ(app_.directory(kDataDirectory), "?LoanData");
  EXPECT_EQ(app_.ResolveDirectoryPath(kDataDirectory, "", false), user_.documents + kSep + "LoanData");
  EXPECT_EQ(app_.ResolveDirectoryPath(kProgramDirectory, "", false), user_.appData + kSep + "Program");
  EXPECT_TRUE(QFileInfo(user_.documents + "/LoanData").isDir()) << "the plan folder is made on first use";
  EXPECT_TRUE(QFileInfo(user_.appData + "/Program").isDir());
  EXPECT_EQ(HelpInstructionsPath(app_), shared_ + kSep + "LoanHelp" + kSep + "index.html");
  EXPECT_EQ(app_.LicensePath(), shared_ + kSep + "license.txt");
  EXPECT_EQ(Tree(dir_.filePath("prefix")), installed) << "nothing is written into the installed tree";
  EXPECT_TRUE(Tree(dir_.filePath("work")).isEmpty()) << "nor into the current folder";

  const QString described = DescribePaths(app_);
  EXPECT_TRUE(described.contains("layout: installed\n"));
  EXPECT_TRUE(described.contains("plans: " + user_.documents + kSep + "LoanData\n"));
}

TEST_F(InstalledAppTest, RateMasterPrefersTheDownloadedCopy) {
  const QString shipped = shared_ + kSep + "YushiMaster.txt";
  const QString downloaded = user_.appData + kSep + "YushiMaster.txt";
  EXPECT_EQ(app_.RateMasterDownloadPath(), downloaded);
  EXPECT_EQ(app_.RateMasterPath(), shipped) << "no download yet";
  ASSERT_TRUE(QDir().mkpath(user_.appData));
  Write(downloaded);
  EXPECT_EQ(app_.RateMasterPath(), downloaded);
}

TEST_F(InstalledAppTest, WithoutPerUserPlacesNoFolderIsMadeAtTheRoot) {
  app_.setUserFolders(UserFolders{});
  const bool hadProgram = QFileInfo::exists("/Program");
  const bool hadLoanData = QFileInfo::exists("/LoanData");
  app_.LoadSettings();
  EXPECT_EQ(QFileInfo::exists("/Program"), hadProgram);
  EXPECT_EQ(QFileInfo::exists("/LoanData"), hadLoanData);
}

struct ResolveCase {
  const char* install;
  const char* entry;
  const char* file;
  bool withFile;
  const char* expected;
};

class ResolveDirectoryPathTest : public ::testing::TestWithParam<ResolveCase> {};

// Separators are written "/" here; the platform's own separator replaces them.
QString Native(const char* text) {
  return QDir::toNativeSeparators(QString::fromUtf8(text));
}

TEST_P(ResolveDirectoryPathTest, FormsThePath) {
  const ResolveCase c = GetParam();
  CZorvikApp app;
  app.setDirectory(kInstallDirectory, Native(c.install));
  app.setDirectory(kDataDirectory, Native(c.entry));
  EXPECT_EQ(app.ResolveDirectoryPath(kDataDirectory, QString::fromUtf8(c.file), c.withFile), Native(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ResolveDirectoryPathTest,
                         ::testing::Values(
                             // Below the install folder, with and without a separator at the end of the install value.
                             ResolveCase{"/e/", "?LoanData", "", false, "/e/LoanData"},
                             ResolveCase{"/e/Apps", "?LoanData", "", false, "/e/Apps/LoanData"},
                             ResolveCase{"/e/", "?LoanData", "a.zvk", true, "/e/LoanData/a.zvk"},
                             ResolveCase{"/e/Apps", "?LoanData", "a.zvk", true, "/e/Apps/LoanData/a.zvk"},
                             ResolveCase{".", "?LoanData", "", false, "./LoanData"},
                             // An empty install value puts the folder at the root.
                             ResolveCase{"", "?LoanData", "", false, "/LoanData"},
                             // Plain values are used as they are.
                             ResolveCase{"/e", "/d/Plans", "", false, "/d/Plans"},
                             ResolveCase{"/e", "/d/Plans/", "", false, "/d/Plans/"},
                             ResolveCase{"/e", "/d/Plans", "a.zvk", true, "/d/Plans/a.zvk"},
                             ResolveCase{"/e", "/d/Plans/", "a.zvk", true, "/d/Plans/a.zvk"},
                             ResolveCase{"/e", "", "", false, ""}, ResolveCase{"/e", "", "a.zvk", true, "/a.zvk"},
                             // A "?" alone names the install folder itself.
                             ResolveCase{"/e/Apps", "?", "", false, "/e/Apps/"}));

TEST(ResolveDirectoryPathRangeTest, IndexOutsideTheTableGivesEmpty) {
  CZorvikApp app;
  EXPECT_EQ(app.ResolveDirectoryPath(-1, "x", true), "");
  EXPECT_EQ(app.ResolveDirectoryPath(kDirectoryCount, "x", true), "");
}

TEST(HelpPathTest, FollowsTheHelpSetting) {
  CZorvikApp app;
  app.setDirectory(kInstallDirectory, ".");
  app.setDirectory(kHelpDirectory, "?LoanHelp");
  EXPECT_EQ(HelpInstructionsPath(app), Native("./LoanHelp/index.html"));
  app.setDirectory(kHelpDirectory, Native("/d/Help"));
  EXPECT_EQ(HelpInstructionsPath(app), Native("/d/Help/index.html"));
  app.setDirectory(kInstallDirectory, Native("/e/Apps"));
  app.setDirectory(kHelpDirectory, "?LoanHelp");
  EXPECT_EQ(HelpInstructionsPath(app), Native("/e/Apps/LoanHelp/index.html"));
}

TEST(JoinPathTest, OneSeparatorBetween) {
  EXPECT_EQ(JoinPath(Native("/e"), "LoanData"), Native("/e/LoanData"));
  EXPECT_EQ(JoinPath(Native("/e/"), "LoanData"), Native("/e/LoanData"));
  EXPECT_EQ(JoinPath("", "LoanData"), Native("/LoanData"));
  EXPECT_EQ(JoinPath(".", "YushiMaster.txt"), Native("./YushiMaster.txt"));
  EXPECT_EQ(JoinPath(Native("/e"), ""), Native("/e/"));
}

struct StripCase {
  const char* in;
  const char* out;
};

class StripDebugComponentTest : public ::testing::TestWithParam<StripCase> {};

TEST_P(StripDebugComponentTest, RemovesOnlyAWholeLastDebugComponent) {
  EXPECT_EQ(StripDebugComponent(QString::fromUtf8(GetParam().in)), QString::fromUtf8(GetParam().out));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StripDebugComponentTest,
    ::testing::Values(StripCase{"/w/Work/Debug", "/w/Work"}, StripCase{"E:/Work/Debug", "E:/Work"},
                      StripCase{"E:\\Work\\Debug", "E:\\Work"}, StripCase{"/w/Debugger", "/w/Debugger"},
                      StripCase{"/w/Debug/bin", "/w/Debug/bin"}, StripCase{"/w/Debug/Debug", "/w/Debug"},
                      StripCase{"/w/MyDebug", "/w/MyDebug"}, StripCase{"/w/debug", "/w/debug"},
                      StripCase{"/Debug", "/"}, StripCase{"C:\\Debug", "C:\\"}, StripCase{"Debug", "Debug"},
                      StripCase{"", ""}, StripCase{"/w/Work", "/w/Work"}));

TEST(ProgramDirectoryTest, FilesBesideTheProgramSkipADebugFolder) {
  CZorvikApp app;
  app.setProgramDirectory("/w/Work/Debug");
  EXPECT_EQ(app.programDirectory(), "/w/Work");
  EXPECT_EQ(app.RateMasterPath(), Native("/w/Work/YushiMaster.txt"));
  EXPECT_EQ(app.LicensePath(), Native("/w/Work/license.txt"));
  app.setProgramDirectory("/w/Debugger");
  EXPECT_EQ(app.RateMasterPath(), Native("/w/Debugger/YushiMaster.txt"));
  // A portable copy downloads the rate master over the one it reads.
  EXPECT_EQ(app.layout(), InstallLayout::Portable);
  EXPECT_EQ(app.RateMasterDownloadPath(), app.RateMasterPath());
}

TEST(ProgramDirectoryTest, StartsAsTheExecutablesFolder) {
  CZorvikApp app;
  EXPECT_EQ(app.programDirectory(), StripDebugComponent(QCoreApplication::applicationDirPath()));
}

// After start-up Qt's own buttons read as a Japanese user expects; the catalogue is loaded once.
TEST(QtTranslationsTest, MessageBoxButtonsAreJapanese) {
  EXPECT_TRUE(InstallQtJapaneseTranslations());
  EXPECT_TRUE(InstallQtJapaneseTranslations());
  EXPECT_EQ(QCoreApplication::instance()->findChildren<QTranslator*>().size(), 1);
  QMessageBox box(QMessageBox::Question, QStringLiteral("t"), QStringLiteral("q"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel | QMessageBox::Save);
  const std::pair<QMessageBox::StandardButton, const char*> rows[] = {{QMessageBox::Yes, "はい"},
                                                                      {QMessageBox::No, "いいえ"},
                                                                      {QMessageBox::Cancel, "キャンセル"},
                                                                      {QMessageBox::Save, "保存"}};
  for (const auto& [button, text] : rows) {
    ASSERT_NE(box.button(button), nullptr);
    EXPECT_TRUE(box.button(button)->text().contains(QString::fromUtf8(text)))
        << box.button(button)->text().toStdString();
  }
}

// Under a limit on file size (ulimit -f) with the signal's default action, the program's write
// past the limit fails as a write does (here the form picture: status 1); the signal does not kill it.
TEST(ProgramTest, FileSizeLimitIsAFailureNotASignal) {
  QTemporaryDir dir;
  QProcess program;
  program.setChildProcessModifier([] {
    std::signal(SIGXFSZ, SIG_DFL);
    const rlimit limit{100, 100};
    setrlimit(RLIMIT_FSIZE, &limit);
  });
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("HOME"), dir.path());
  env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
  env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
  env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
  program.setProcessEnvironment(env);
  program.start(QStringLiteral(ZORVIK_BINARY_DIR "/zorvik"),
                {QStringLiteral("--screenshot"), dir.filePath(QStringLiteral("form.png"))});
  ASSERT_TRUE(program.waitForFinished(120000));
  EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(program.exitCode(), 1);
}

// Without a usable home folder an installed copy neither starts nor prints its paths: status 1,
// the reason on standard error, and no folder made (neither the missing home nor one below it).
// A portable copy keeps everything beside itself and still prints its paths.
TEST(ProgramTest, InstalledCopyRefusesToStartWithoutAHomeFolder) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString installed = dir.filePath(QStringLiteral("prefix/bin/zorvik"));
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("prefix/bin")));
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("prefix/share/zorvik")));
  ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("work")));
  // A copy, not a link: the program finds its folder through the link.
  ASSERT_TRUE(QFile::copy(QStringLiteral(ZORVIK_BINARY_DIR "/zorvik"), installed));
  const struct {
    const char* name;
    QString program;
    QString home;
    QStringList arguments;
    int exitCode;
  } rows[] = {
      {"installed, paths, missing home", installed, dir.filePath("missing"), {"--print-paths"}, 1},
      {"installed, paths, relative home", installed, QStringLiteral("missing"), {"--print-paths"}, 1},
      {"installed, start, missing home", installed, dir.filePath("missing"), {}, 1},
      {"portable, paths, missing home",
       QStringLiteral(ZORVIK_BINARY_DIR "/zorvik"),
       dir.filePath("missing"),
       {"--print-paths"},
       0},
  };
  for (const auto& row : rows) {
    QProcess program;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    env.insert(QStringLiteral("HOME"), row.home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), dir.filePath(QStringLiteral("cache")));
    env.remove(QStringLiteral("XDG_DATA_HOME"));
    program.setProcessEnvironment(env);
    program.setWorkingDirectory(dir.filePath(QStringLiteral("work")));
    program.start(row.program, row.arguments);
    ASSERT_TRUE(program.waitForFinished(120000)) << row.name;
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit) << row.name;
    EXPECT_EQ(program.exitCode(), row.exitCode) << row.name;
    const QString errors = QString::fromUtf8(program.readAllStandardError());
    EXPECT_EQ(errors.contains(QString::fromUtf8(kHomeUnusableMessage)), row.exitCode == 1) << row.name;
    if (row.exitCode == 0) {
      EXPECT_TRUE(program.readAllStandardOutput().contains("layout: portable\n")) << row.name;
    }
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("missing"))) << row.name;
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("work/missing"))) << row.name;
  }
}

}  // namespace
}  // namespace zorvik
