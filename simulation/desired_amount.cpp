#include "simulation/desired_amount.h"

#include <algorithm>
#include <string>

#include "core/number_scan.h"
#include "core/text_forms.h"

namespace zorvik {
namespace {

constexpr int kDigitLimit = 10;
constexpr int kYenSignExtra = 2;
constexpr std::string_view kYenSign = "円";

}  // namespace

int DesiredAmountTextLimit(std::string_view text) {
  const auto commas = static_cast<int>(std::count(text.begin(), text.end(), ','));
  const bool hasYenSign = text.find(kYenSign) != std::string_view::npos;
  return kDigitLimit + commas + (hasYenSign ? kYenSignExtra : 0);
}

double ParseDesiredAmount(std::string_view text) {
  std::string plain = NormalizeDigits(text);
  std::erase(plain, ',');
  return ScanLeadingDouble(plain).value;
}

}  // namespace zorvik
