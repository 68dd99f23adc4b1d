// Any bytes as a rate master: no crash, leak or undefined behaviour; every listed item names
// an entry of the table, in increasing order, with the entry's own name and a finite rate.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "io/rate_master.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  zorvik::RateMaster master;
  const auto items = zorvik::ParseRateMaster(master, bytes);
  if (items.size() > static_cast<size_t>(zorvik::kRateMasterEntryCount)) std::abort();
  int previous = -1;
  for (const auto& item : items) {
    const auto entry = master.Entry(item.entryIndex);
    if (!entry || item.entryIndex <= previous || entry->productName != item.name) std::abort();
    if (!std::isfinite(entry->annualRate)) std::abort();
    previous = item.entryIndex;
  }
  return 0;
}
