#include "io/lenient_number.h"

#include <gtest/gtest.h>

#include <clocale>
#include <limits>
#include <ostream>
#include <string>

namespace zorvik {
namespace {

// Test names in ctest: a short, printable form of the text.
std::string Printable(const std::string& text) {
  std::string out;
  for (char c : text.substr(0, 16)) out += (c >= 0x21 && c <= 0x7E) ? c : '_';
  return out;
}

struct AtoiCase {
  std::string text;
  int32_t value;
};
void PrintTo(const AtoiCase& c, std::ostream* os) {
  *os << Printable(c.text);
}

class LenientAtoiTest : public ::testing::TestWithParam<AtoiCase> {};

TEST_P(LenientAtoiTest, ReadsLikeAtoi) {
  EXPECT_EQ(LenientAtoi(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, LenientAtoiTest,
                         ::testing::Values(AtoiCase{"", 0}, AtoiCase{"abc", 0}, AtoiCase{"42", 42},
                                           AtoiCase{"  \t-810\r\n", -810}, AtoiCase{"+7x", 7}, AtoiCase{"- 5", 0},
                                           AtoiCase{"3000万", 3000}, AtoiCase{"12.9", 12},
                                           AtoiCase{"2147483647", std::numeric_limits<int32_t>::max()},
                                           AtoiCase{"2147483648", std::numeric_limits<int32_t>::max()},
                                           AtoiCase{"-2147483648", std::numeric_limits<int32_t>::min()},
                                           AtoiCase{"-99999999999999999999999999", std::numeric_limits<int32_t>::min()},
                                           AtoiCase{std::string(5000, '9'), std::numeric_limits<int32_t>::max()}));

struct AtofCase {
  std::string text;
  double value;
};
void PrintTo(const AtofCase& c, std::ostream* os) {
  *os << Printable(c.text);
}

class LenientAtofTest : public ::testing::TestWithParam<AtofCase> {};

TEST_P(LenientAtofTest, ReadsLikeAtofWithoutInfinityOrNan) {
  EXPECT_EQ(LenientAtof(GetParam().text), GetParam().value) << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(Table, LenientAtofTest,
                         ::testing::Values(AtofCase{"", 0.0}, AtofCase{"2.375", 2.375}, AtofCase{" 2.375％", 2.375},
                                           AtofCase{"-1.5e2x", -150.0}, AtofCase{"1e", 1.0}, AtofCase{"1e+", 1.0},
                                           AtofCase{".5", 0.5}, AtofCase{"5.", 5.0}, AtofCase{".", 0.0},
                                           AtofCase{"-.", 0.0}, AtofCase{"25.13\r\n", 25.13}, AtofCase{"inf", 0.0},
                                           AtofCase{"nan", 0.0}, AtofCase{"-infinity", 0.0}, AtofCase{"0x10", 0.0},
                                           AtofCase{"1e999", std::numeric_limits<double>::max()},
                                           AtofCase{"-1e999", -std::numeric_limits<double>::max()},
                                           AtofCase{"1e-999", 0.0}, AtofCase{"0.0000e999999", 0.0},
                                           AtofCase{"1e99999999999999", std::numeric_limits<double>::max()},
                                           AtofCase{std::string(400, '9'), std::numeric_limits<double>::max()}));

TEST(FormatNumber, WritesLikePrintfInTheCLocale) {
  EXPECT_EQ(FormatInt(0), "0");
  EXPECT_EQ(FormatInt(-810), "-810");
  EXPECT_EQ(FormatInt(65535), "65535");
  EXPECT_EQ(FormatFixed(0.0, 3), "0.000");
  EXPECT_EQ(FormatFixed(2.375, 3), "2.375");
  EXPECT_EQ(FormatFixed(1.94, 3), "1.940");
  EXPECT_EQ(FormatFixed(25.127, 2), "25.13");
  EXPECT_EQ(FormatFixed(0.0, 2), "0.00");
  EXPECT_EQ(FormatFixed(63149.0, 0), "63149");
  EXPECT_EQ(FormatFixed(73564.6, 0), "73565");
  EXPECT_EQ(FormatFixed(2.5, 0), "2");  // exact halves round to even, as printf does
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::infinity(), 2), "0.00");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::quiet_NaN(), 0), "0");
  EXPECT_EQ(FormatFixed(std::numeric_limits<double>::max(), 0).size(), 309u);
}

TEST(FormatNumber, IgnoresProcessLocaleWithDecimalComma) {
  // Qt sets the process locale from the environment; a decimal comma must not reach the file.
  // Where no such locale is installed this checks the "C" locale only.
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  for (const char* name : {"de_DE.UTF-8", "fr_FR.UTF-8", "ru_RU.UTF-8"}) {
    if (std::setlocale(LC_NUMERIC, name) != nullptr) break;
  }
  EXPECT_EQ(FormatFixed(2.375, 3), "2.375");
  EXPECT_EQ(LenientAtof("2.375"), 2.375);
  EXPECT_EQ(LenientAtof("2,375"), 2.0);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

}  // namespace
}  // namespace zorvik
