#include "simulation/desired_amount.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace zorvik {
namespace {

TEST(DesiredAmountTextLimit, TenDigitsPlusCommasPlusTwoForTheYenSign) {
  struct Case {
    std::string text;
    int limit;
  };
  for (const Case& c : {Case{"", 10}, Case{"85000", 10}, Case{"85,000", 11}, Case{"85,000円", 13},
                        Case{"1,234,567円", 14}, Case{"1,2,3,4", 13}, Case{"円", 12}}) {
    EXPECT_EQ(DesiredAmountTextLimit(c.text), c.limit) << c.text;
  }
}

TEST(ParseDesiredAmount, LeadingNumberWithoutCommas) {
  struct Case {
    std::string text;
    double value;
  };
  for (const Case& c : {
           Case{"85,000", 85000.0},
           Case{"85,000円", 85000.0},
           Case{"1,234,567円", 1234567.0},
           Case{"  120000", 120000.0},
           Case{"-5,000", -5000.0},
           Case{"+7", 7.0},
           Case{"12.5円", 12.5},
           Case{".5", 0.5},
           Case{"1e3", 1000.0},
           Case{"1e", 1.0},
           Case{"1e+", 1.0},
           Case{"８５，０００円", 85000.0},
           Case{"", 0.0},
           Case{"円", 0.0},
           Case{"abc", 0.0},
           Case{"-", 0.0},
           Case{".", 0.0},
           Case{"inf", 0.0},
           Case{"nan", 0.0},
           Case{"0x10", 0.0},
           Case{"1e-999", 0.0},
       }) {
    EXPECT_EQ(ParseDesiredAmount(c.text), c.value) << c.text;
  }
  EXPECT_EQ(ParseDesiredAmount("9e99999"), std::numeric_limits<double>::max());
  EXPECT_EQ(ParseDesiredAmount("-9e99999"), -std::numeric_limits<double>::max());
  EXPECT_EQ(ParseDesiredAmount(std::string(400, '9')), std::numeric_limits<double>::max());
  // Too small for a double even with a positive exponent: the first digit lies 400 places
  // behind the point.
  EXPECT_EQ(ParseDesiredAmount("0." + std::string(400, '0') + "1e50"), 0.0);
}

}  // namespace
}  // namespace zorvik
