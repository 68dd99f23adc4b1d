#include "io/license_text.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

namespace zorvik {
namespace {

struct DecodeCase {
  const char* name;
  QByteArray bytes;
  QString expected;
};

class DecodeNoticeTextTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeNoticeTextTest, Decodes) {
  EXPECT_EQ(DecodeNoticeText(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeNoticeTextTest,
    ::testing::Values(DecodeCase{"empty", QByteArray(), QString()},
                      DecodeCase{"ascii_crlf", QByteArray("a\r\nb\r\n"), QStringLiteral("a\nb\n")},
                      DecodeCase{"bare_lf", QByteArray("a\nb"), QStringLiteral("a\nb")},
                      // "ご注意" in Shift-JIS
                      DecodeCase{"shift_jis", QByteArray::fromHex("82B2928D88D3"), QStringLiteral("ご注意")},
                      // half-width katakana "ﾌｧｲﾙ" is single-byte in Shift-JIS
                      DecodeCase{"half_width_kana", QByteArray::fromHex("CCA7B2D9"), QStringLiteral("ﾌｧｲﾙ")},
                      DecodeCase{"utf8_bom", QByteArray("\xEF\xBB\xBF") + QStringLiteral("ご注意").toUtf8(),
                                 QStringLiteral("ご注意")},
                      DecodeCase{"ends_at_nul", QByteArray("shown\0hidden", 12), QStringLiteral("shown")}),
    [](const ::testing::TestParamInfo<DecodeCase>& info) { return std::string(info.param.name); });

TEST(DecodeNoticeTextUtf8Test, Utf8WithoutTheMarkIsTakenForShiftJis) {
  // Like every other text file of the program the notice is CP932 unless it carries the mark.
  EXPECT_NE(DecodeNoticeText(QStringLiteral("ご注意").toUtf8()), QStringLiteral("ご注意"));
}

TEST(ReadNoticeTextTest, MissingFileIsEmpty) {
  QTemporaryDir dir;
  EXPECT_EQ(ReadNoticeText(dir.filePath("license.txt")), QString());
}

TEST(ReadNoticeTextTest, ReadsTheShippedNotice) {
  const QString text = ReadNoticeText(QStringLiteral(ZORVIK_SOURCE_DIR "/res/license.txt"));
  EXPECT_TRUE(text.contains(QStringLiteral("Quorvane")));
  EXPECT_TRUE(text.contains(QStringLiteral("金利マスター")));
  EXPECT_FALSE(text.contains(QChar(QChar::ReplacementCharacter)));
  EXPECT_FALSE(text.contains(QLatin1Char('\r')));
}

}  // namespace
}  // namespace zorvik
