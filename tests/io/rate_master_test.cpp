#include "io/rate_master.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <ostream>
#include <string>
#include <vector>

#include "io/cp932.h"
#include "io/file_access.h"

namespace zorvik {
namespace {

using Items = std::vector<RateMasterListItem>;

// The file's bytes: UTF-8 test text converted to CP932 as the file holds it.
std::vector<RateMasterListItem> Parse(RateMaster& master, const std::string& utf8Text) {
  return ParseRateMaster(master, Utf8ToCp932(utf8Text));
}

TEST(RateMaster, ReadsNamesAndRatesInFileOrder) {
  RateMaster master;
  const Items items = Parse(master, "フラット35（全期間固定）,1.940,\r\n民間変動金利,0.475,\r\n");
  EXPECT_EQ(items, (Items{{0, "フラット35（全期間固定）"}, {1, "民間変動金利"}}));
  EXPECT_EQ(master.Entry(0)->productName, "フラット35（全期間固定）");
  EXPECT_EQ(*master.RateAt(0), 1.94);
  EXPECT_EQ(*master.RateAt(1), 0.475);
  EXPECT_EQ(*master.RateAt(2), 0.0);
}

TEST(RateMaster, LfOnlyReadsTheSame) {
  RateMaster a;
  RateMaster b;
  EXPECT_EQ(Parse(a, "A,1.5,\nB,2.5,\n"), Parse(b, "A,1.5,\r\nB,2.5,\r\n"));
  EXPECT_EQ(a.entries()[1].annualRate, b.entries()[1].annualRate);
}

TEST(RateMaster, BlankLineDoesNotHideLaterProducts) {
  RateMaster master;
  const Items items = Parse(master, "A,1.0,\r\n\r\nC,3.0,\r\nno comma here\r\nE,5.0,\r\n");
  // Every product is listed; each item keeps the index of its entry.
  EXPECT_EQ(items, (Items{{0, "A"}, {2, "C"}, {4, "E"}}));
  EXPECT_EQ(*master.RateAt(2), 3.0);
  EXPECT_EQ(*master.RateAt(4), 5.0);
}

TEST(RateMaster, SkippedLineKeepsWhatItsEntryHeld) {
  RateMaster master;
  master.SetEntry(1, {"old", 9.0});
  Parse(master, "A,1.0,\r\n\r\n");
  EXPECT_EQ(master.Entry(1)->productName, "old");
  EXPECT_EQ(*master.RateAt(1), 9.0);
}

TEST(RateMaster, LoadOverwritesOnlyTheEntriesItReads) {
  RateMaster master;
  Parse(master, "A,1,\nB,2,\nC,3,\n");
  Parse(master, "X,7,\n");
  EXPECT_EQ(master.Entry(0)->productName, "X");
  EXPECT_EQ(master.Entry(1)->productName, "B");
  EXPECT_EQ(master.Entry(2)->productName, "C");
}

struct LineCase {
  const char* name;
  std::string line;
  std::string productName;
  double rate;
};
void PrintTo(const LineCase& c, std::ostream* os) {
  *os << c.name;
}

class RateMasterLineTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(RateMasterLineTest, ReadsOneLine) {
  RateMaster master;
  const Items items = Parse(master, GetParam().line);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].entryIndex, 0);
  EXPECT_EQ(items[0].name, GetParam().productName);
  EXPECT_EQ(master.Entry(0)->productName, GetParam().productName);
  EXPECT_EQ(*master.RateAt(0), GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(
    Table, RateMasterLineTest,
    ::testing::Values(
        LineCase{"plain", "A,2.375,\r\n", "A", 2.375}, LineCase{"one_comma_gives_rate_zero", "A,2.375\r\n", "A", 0.0},
        LineCase{"text_after_second_comma_ignored", "A,2.375,note,more\r\n", "A", 2.375},
        LineCase{"blanks_and_tabs_around", " \t民間 固定 \t, \t 1.250 \t,\r\n", "民間 固定", 1.25},
        LineCase{"full_width_blank_kept", "　A　,1,", "　A　", 1.0}, LineCase{"no_line_end", "A,1.5,", "A", 1.5},
        LineCase{"empty_name", ",1.5,", "", 1.5}, LineCase{"rate_not_a_number", "A,abc,", "A", 0.0},
        LineCase{"rate_infinity_refused", "A,inf,", "A", 0.0}, LineCase{"rate_nan_refused", "A,nan,", "A", 0.0},
        LineCase{"rate_with_percent_sign", "A,1.5％,", "A", 1.5},
        LineCase{"cp932_names", "ﾌﾗｯﾄ35～①髙,1,", "ﾌﾗｯﾄ35～①髙", 1.0},
        LineCase{"long_line_read_whole", std::string(120, 'N') + "," + "1.125," + std::string(200, 'x') + "\r\n",
                 std::string(120, 'N'), 1.125}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RateMaster, LongLineIsOneProductNotTwo) {
  // 60 bytes of name: a reader with a short line buffer would see its tail as a second line.
  const std::string name = "住宅ローン長期固定金利タイプ（金利引下げ特約付き）全期間";
  RateMaster master;
  const Items items = Parse(master, name + ",1.5,\r\nB,2.5,\r\n");
  EXPECT_EQ(items, (Items{{0, name}, {1, "B"}}));
}

TEST(RateMaster, OnlyTwentyLinesAreRead) {
  std::string text;
  for (int i = 0; i < 25; ++i) text += "P" + std::to_string(i) + "," + std::to_string(i) + ".5,\r\n";
  RateMaster master;
  const Items items = Parse(master, text);
  ASSERT_EQ(items.size(), 20u);
  EXPECT_EQ(items.back(), (RateMasterListItem{19, "P19"}));
  EXPECT_EQ(*master.RateAt(19), 19.5);
  EXPECT_FALSE(master.Entry(20).has_value());
  EXPECT_FALSE(master.RateAt(-1).has_value());
}

TEST(RateMaster, BlankLinesCountTowardsTheTwenty) {
  std::string text = "\r\n";
  for (int i = 0; i < 20; ++i) text += "P" + std::to_string(i) + ",1,\r\n";
  RateMaster master;
  const Items items = Parse(master, text);
  ASSERT_EQ(items.size(), 19u);
  EXPECT_EQ(items.front(), (RateMasterListItem{1, "P0"}));
}

TEST(RateMaster, Utf8WithByteOrderMark) {
  RateMaster master;
  const Items items = ParseRateMaster(master, "\xEF\xBB\xBF民間変動金利,0.475,\r\nﾌﾗｯﾄ,1,\r\n");
  EXPECT_EQ(items, (Items{{0, "民間変動金利"}, {1, "ﾌﾗｯﾄ"}}));
  EXPECT_EQ(*master.RateAt(0), 0.475);
}

TEST(RateMaster, InvalidBytesReadAsReplacementCharacter) {
  RateMaster master;
  const Items items = ParseRateMaster(master, "A\x80\xFF,1,\r\n\x81,2,\r\n");
  EXPECT_EQ(items, (Items{{0, "A\uFFFD\uFFFD"}, {1, "\uFFFD"}}));
  EXPECT_EQ(*master.RateAt(1), 2.0);
}

TEST(RateMaster, MissingFileReadsNothingAndKeepsTheTable) {
  QTemporaryDir dir;
  RateMaster master;
  master.SetEntry(0, {"kept", 1.0});
  EXPECT_TRUE(LoadRateMasterFile(master, dir.filePath("YushiMaster.txt").toStdString()).empty());
  EXPECT_EQ(master.Entry(0)->productName, "kept");
}

TEST(RateMaster, LoadsFileFromDisk) {
  QTemporaryDir dir;
  const QString path = dir.filePath(kRateMasterFileName);
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  f.write(QByteArray::fromStdString(Utf8ToCp932("財形住宅融資,1.110,\r\n")));
  f.close();
  RateMaster master;
  EXPECT_EQ(LoadRateMasterFile(master, path.toStdString()), (Items{{0, "財形住宅融資"}}));
  EXPECT_EQ(*master.RateAt(0), 1.11);
}

TEST(RateMaster, ShippedDefaultMasterReads) {
  RateMaster master;
  const Items items = LoadRateMasterFile(master, ZORVIK_SOURCE_DIR "/res/YushiMaster.txt");
  ASSERT_GE(items.size(), 6u);
  for (size_t i = 0; i < items.size(); ++i) {
    EXPECT_EQ(items[i].entryIndex, static_cast<int>(i));
    EXPECT_FALSE(items[i].name.empty());
    EXPECT_EQ(items[i].name.find("\uFFFD"), std::string::npos);
    EXPECT_GT(*master.RateAt(items[i].entryIndex), 0.0);
  }
}

}  // namespace
}  // namespace zorvik

namespace zorvik {
namespace {

// A body is a rate master only when every line that is not blank reads as a product (a name, a
// comma, a rate below 100 written as a number, a comma); pages, scripts, style sheets and a master
// cut off inside a line are not.
TEST(RateMaster, EveryLineMustReadAsAProduct) {
  const std::string kZaikei = Utf8ToCp932("財形住宅融資");
  const std::pair<std::string, bool> rows[] = {
      {"A,1.940,\r\n", true},
      {" \t B , 0.475 ,rest; <b>{x}</b>\n", true},  // blanks around the fields; the rest is free
      {"\xEF\xBB\xBF"
       "A,2,",
       true},
      {"A,1.0,\r\n\r\n \t\r\nB,2.0,\r\n", true},  // blank lines between products
      {"A,0,\r\nB,99.999,\r\nC,099.5,\r\nD,.5,\r\n", true},
      {Utf8ToCp932("ボーナス併用,1.0,\r\nマイホーム,2.0,\r\n"), true},  // trail bytes 0x7B and 0x7D
      {"A,1.940\r\n", false},                                           // no closing comma: rate 0, not a product
      {"A,1.940,\r\n" + kZaikei + ",1.1", false},                       // cut off inside the last line
      {",1.0,\r\n", false},
      {"A,1.0,\r\n<html>\r\n \t B , 0.475 ,rest\n", false},
      {"<meta content=\"width=device-width, initial-scale=1\">\r\n", false},
      {"<div style=\"background:rgba(0,0,0,.5)\">Wi-Fi</div>", false},
      {"<script>\nvar steps = [1,2,3];\nfunction go() {}\n</script>\n", false},
      {".shade { color: rgba(0,0,0,.5); }\n", false},
      {"Room, name, 1.5\r\n", false},
      {"A,1.0,\r\nB,100,\r\n", false},
      {"A,100.0,\r\n", false},
      {"A,1.2.3,\r\n", false},
      {"A,-1,\r\nB,1e3,\r\nC,.,\r\n", false},
      {"A,1.5％,\r\n", false},
      {std::string(20 * 3, '\n') + "A,1.0,\r\n", false},  // past the 20 lines the table takes
      {" \r\n\r\n", false},
      {"", false},
  };
  for (const auto& [bytes, expected] : rows) EXPECT_EQ(ReadsAsRateMaster(bytes), expected) << bytes;
  std::string shipped;
  ASSERT_TRUE(ReadFileBytes(ZORVIK_SOURCE_DIR "/res/YushiMaster.txt", shipped, 1 << 20));
  EXPECT_TRUE(ReadsAsRateMaster(shipped));
}

}  // namespace
}  // namespace zorvik
