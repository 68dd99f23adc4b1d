#include "io/cp932.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace zorvik {
namespace {

struct EncodeCase {
  const char* name;
  std::string utf8;
  std::string cp932;
};
void PrintTo(const EncodeCase& c, std::ostream* os) {
  *os << c.name;
}

class Cp932EncodeTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(Cp932EncodeTest, EncodesAndDecodesBack) {
  const EncodeCase& c = GetParam();
  EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
  EXPECT_EQ(Cp932ToUtf8(c.cp932), c.utf8);
  EXPECT_TRUE(Cp932CanEncode(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(Table, Cp932EncodeTest,
                         ::testing::Values(EncodeCase{"ascii", "abc 123,.\t", "abc 123,.\t"},
                                           EncodeCase{"new_plan_name", "新 規", "\x90\x56\x20\x8B\x4B"},
                                           EncodeCase{"wave_dash_is_cp932_tilde", "～", "\x81\x60"},
                                           EncodeCase{"fullwidth_comma", "，", "\x81\x43"},
                                           EncodeCase{"halfwidth_katakana", "ｱｲｳﾟ", "\xB1\xB2\xB3\xDF"},
                                           EncodeCase{"nec_and_ibm_extensions", "①Ⅰ㈱髙",
                                                      "\x87\x40\x87\x54\x87\x8A\xFB\xFC"},
                                           EncodeCase{"backslash_trail_byte", "ソ表", "\x83\x5C\x95\x5C"},
                                           EncodeCase{"control_chars_stay_ascii", std::string("\x1A\x1C\x7F", 3),
                                                      std::string("\x1A\x1C\x7F", 3)},
                                           EncodeCase{"nul", std::string("a\0b", 3), std::string("a\0b", 3)}),
                         [](const auto& info) { return std::string(info.param.name); });

struct UnencodableCase {
  const char* name;
  std::string utf8;
  std::string cp932;
};
void PrintTo(const UnencodableCase& c, std::ostream* os) {
  *os << c.name;
}

class Cp932UnencodableTest : public ::testing::TestWithParam<UnencodableCase> {};

TEST_P(Cp932UnencodableTest, WritesQuestionMarkAndIsRefused) {
  const UnencodableCase& c = GetParam();
  EXPECT_EQ(Utf8ToCp932(c.utf8), c.cp932);
  EXPECT_FALSE(Cp932CanEncode(c.utf8));
}

INSTANTIATE_TEST_SUITE_P(Table, Cp932UnencodableTest,
                         ::testing::Values(UnencodableCase{"emoji", "a😀b", "a?b"},
                                           UnencodableCase{"minus_sign", "\u2212", "?"},
                                           UnencodableCase{"replacement_char", "\uFFFD", "?"},
                                           UnencodableCase{"rare_kanji", "𠮷", "?"},
                                           UnencodableCase{"invalid_utf8", "x\xFFy", "x?y"},
                                           UnencodableCase{"truncated_utf8", "\xE6\x96", "??"},
                                           UnencodableCase{"two_emoji_then_kanji", "😀😀漢", "??\x8A\xBF"}),
                         [](const auto& info) { return std::string(info.param.name); });

struct DecodeCase {
  const char* name;
  std::string bytes;
  std::string utf8;
};
void PrintTo(const DecodeCase& c, std::ostream* os) {
  *os << c.name;
}

class Cp932DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(Cp932DecodeTest, BadBytesReadAsReplacementCharacter) {
  EXPECT_EQ(Cp932ToUtf8(GetParam().bytes), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(Table, Cp932DecodeTest,
                         ::testing::Values(DecodeCase{"single_0x80", "a\x80z", "a\uFFFDz"},
                                           DecodeCase{"single_0xA0", "\xA0", "\uFFFD"},
                                           DecodeCase{"bytes_FD_to_FF", "\xFD\xFE\xFF", "\uFFFD\uFFFD\uFFFD"},
                                           DecodeCase{"unmapped_pair", "\x85\x40", "\uFFFD"},
                                           DecodeCase{"lead_at_end", "a\x81", "a\uFFFD"},
                                           DecodeCase{"lead_before_line_feed", "\x81\n", "\uFFFD\n"},
                                           DecodeCase{"lead_before_comma", "\x90,1", "\uFFFD,1"},
                                           DecodeCase{"user_defined_area", "\xF0\x40", "\uE000"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932, QStringCheckAndFilter) {
  EXPECT_TRUE(Cp932CanEncode(QString::fromUtf8("山田 太郎～")));
  EXPECT_FALSE(Cp932CanEncode(QString::fromUtf8("山田😀")));
  EXPECT_FALSE(Cp932CanEncode(QString(QChar(0xD800))));  // a lone surrogate
  EXPECT_EQ(KeepCp932Encodable(QString::fromUtf8("山😀田\u2212１")), QString::fromUtf8("山田１"));
}

TEST(Cp932, ByteOrderMarkSelectsUtf8) {
  std::string_view withMark = "\xEF\xBB\xBFname";
  EXPECT_EQ(TakeByteOrderMark(withMark), TextEncoding::Utf8);
  EXPECT_EQ(withMark, "name");
  std::string_view plain = "\x90\x56";
  EXPECT_EQ(TakeByteOrderMark(plain), TextEncoding::Cp932);
  EXPECT_EQ(plain.size(), 2u);
  EXPECT_EQ(DecodeToUtf8("ok\xFFok", TextEncoding::Utf8), "ok\uFFFDok");
  EXPECT_EQ(DecodeToUtf8("新", TextEncoding::Utf8), "新");
}

TEST(Cp932, FindSkipsTrailBytes) {
  // 0x5C (backslash) is the trail byte of "ソ"; it is not found inside the character.
  const std::string bytes = "\x83\x5C\\";
  EXPECT_EQ(FindSingleByteChar(bytes, '\\', TextEncoding::Cp932), 2u);
  EXPECT_EQ(FindSingleByteChar("ab,cd,", ',', TextEncoding::Cp932, 3), 5u);
  EXPECT_EQ(FindSingleByteChar("abc", ',', TextEncoding::Cp932), std::string_view::npos);
  // A broken lead byte does not hide the comma after it.
  EXPECT_EQ(FindSingleByteChar("\x81,", ',', TextEncoding::Cp932), 1u);
}

// The code points input methods deliver become the CP932 character of the same look, which the
// file then holds; everything else is left alone.
TEST(Cp932, InputMethodCharactersBecomeTheirCp932Equivalents) {
  const QString typed = QString::fromUtf8("1〜2−‖—¢£¬ ～漢a");
  const QString mapped = ToCp932Equivalents(typed);
  EXPECT_EQ(mapped, QString::fromUtf8("1～2－∥―￠￡￢ ～漢a"));
  EXPECT_FALSE(Cp932CanEncode(typed));
  EXPECT_TRUE(Cp932CanEncode(mapped));
  EXPECT_EQ(Utf8ToCp932(mapped.toStdString()),
            "1\x81\x60"
            "2\x81\x7C\x81\x61\x81\x5C\x81\x91\x81\x92\x81\xCA \x81\x60\x8A\xBF"
            "a");
}

}  // namespace
}  // namespace zorvik
