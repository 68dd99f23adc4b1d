#include "io/rate_master.h"

#include <utility>

#include "io/cp932.h"
#include "io/file_access.h"
#include "io/lenient_number.h"

namespace zorvik {

namespace {

// The rate master is a few hundred bytes; a larger file is read only this far.
constexpr size_t kMaxRateMasterBytes = size_t{1} * 1024 * 1024;

bool ValidIndex(int index) {
  return index >= 0 && index < kRateMasterEntryCount;
}

}  // namespace

std::optional<RateMasterEntry> RateMaster::Entry(int index) const {
  if (!ValidIndex(index)) return std::nullopt;
  return entries_[static_cast<size_t>(index)];
}

std::optional<double> RateMaster::RateAt(int index) const {
  if (!ValidIndex(index)) return std::nullopt;
  return entries_[static_cast<size_t>(index)].annualRate;
}

void RateMaster::SetEntry(int index, RateMasterEntry entry) {
  if (ValidIndex(index)) entries_[static_cast<size_t>(index)] = std::move(entry);
}

std::vector<RateMasterListItem> ParseRateMaster(RateMaster& master, std::string_view bytes) {
  std::vector<RateMasterListItem> items;
  const TextEncoding encoding = TakeByteOrderMark(bytes);
  size_t start = 0;
  for (int k = 0; k < kRateMasterEntryCount && start < bytes.size(); ++k) {
    size_t end = FindSingleByteChar(bytes, '\n', encoding, start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;

    const size_t comma = FindSingleByteChar(line, ',', encoding);
    if (comma == std::string_view::npos) continue;  // the entry keeps what it held
    const std::string_view rest = line.substr(comma + 1);
    const size_t rateEnd = FindSingleByteChar(rest, ',', encoding);
    // Without a closing comma the rate is not taken: rate 0.
    const std::string_view rateText = rateEnd == std::string_view::npos ? std::string_view() : rest.substr(0, rateEnd);

    RateMasterEntry entry;
    entry.productName = DecodeToUtf8(TrimSpace(line.substr(0, comma)), encoding);
    entry.annualRate = LenientAtof(TrimSpace(rateText));
    items.push_back({k, entry.productName});
    master.SetEntry(k, std::move(entry));
  }
  return items;
}

std::vector<RateMasterListItem> LoadRateMasterFile(RateMaster& master, const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxRateMasterBytes)) return {};
  return ParseRateMaster(master, bytes);
}

}  // namespace zorvik
