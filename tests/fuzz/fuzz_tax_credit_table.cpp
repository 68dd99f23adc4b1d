// Any bytes as the table of 住宅ローン控除 limits (a user may replace the shipped file): no crash,
// leak or undefined behaviour; a table that is read has its date, ordered entry periods, limits
// in whole 万円 and periods of at most 99 years, and a refused one names a line.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/tax_credit.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::string error;
  const auto table = zorvik::ParseTaxCreditTable(text, &error);
  if (!table) {
    if (error.empty()) std::abort();
    return 0;
  }
  if (table->checkedDate.empty() || table->lines.empty()) std::abort();
  for (const auto& line : table->lines) {
    if (line.limit < 0 || line.limit % 10000 != 0 || line.years < 0 || line.years > 99) std::abort();
  }
  // Looking an entry year up reads only the lines that were read.
  for (int32_t year = 2000; year <= 2040; ++year) {
    (void)table->Find(year, zorvik::HousingKind::Existing, zorvik::HousingPerformance::Other, false);
  }
  return 0;
}
