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

namespace {

// The two fields of a line: the name before the first comma and the rate text up to the next
// comma (empty when there is none: rate 0); nullopt for a line without a comma.
struct MasterLine {
  std::string_view name;
  std::string_view rateText;
};

std::optional<MasterLine> SplitMasterLine(std::string_view line, TextEncoding encoding) {
  const size_t comma = FindSingleByteChar(line, ',', encoding);
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view rest = line.substr(comma + 1);
  const size_t rateEnd = FindSingleByteChar(rest, ',', encoding);
  // Without a closing comma the rate is not taken: rate 0.
  const std::string_view rateText = rateEnd == std::string_view::npos ? std::string_view() : rest.substr(0, rateEnd);
  return MasterLine{TrimSpace(line.substr(0, comma)), TrimSpace(rateText)};
}

// Calls `visit(k, line)` for each of the lines the table takes (at most 20), LF or CR LF ends.
template <typename Visit>
void ForEachMasterLine(std::string_view bytes, TextEncoding encoding, Visit visit) {
  size_t start = 0;
  for (int k = 0; k < kRateMasterEntryCount && start < bytes.size(); ++k) {
    size_t end = FindSingleByteChar(bytes, '\n', encoding, start);
    if (end == std::string_view::npos) end = bytes.size();
    visit(k, bytes.substr(start, end - start));
    start = end + 1;
  }
}

// Digits with at most one decimal point, as the servers write a rate ("1.940").
bool IsPlainNumber(std::string_view text) {
  bool digit = false;
  bool point = false;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

}  // namespace

std::vector<RateMasterListItem> ParseRateMaster(RateMaster& master, std::string_view bytes) {
  std::vector<RateMasterListItem> items;
  const TextEncoding encoding = TakeByteOrderMark(bytes);
  ForEachMasterLine(bytes, encoding, [&](int k, std::string_view line) {
    const std::optional<MasterLine> fields = SplitMasterLine(line, encoding);
    if (!fields) return;  // the entry keeps what it held
    RateMasterEntry entry;
    entry.productName = DecodeToUtf8(fields->name, encoding);
    entry.annualRate = LenientAtof(fields->rateText);
    items.push_back({k, entry.productName});
    master.SetEntry(k, std::move(entry));
  });
  return items;
}

bool HasProductLine(std::string_view bytes) {
  const TextEncoding encoding = TakeByteOrderMark(bytes);
  bool found = false;
  ForEachMasterLine(bytes, encoding, [&](int, std::string_view line) {
    const std::optional<MasterLine> fields = SplitMasterLine(line, encoding);
    if (fields && !fields->name.empty() && IsPlainNumber(fields->rateText)) found = true;
  });
  return found;
}

std::vector<RateMasterListItem> LoadRateMasterFile(RateMaster& master, const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxRateMasterBytes)) return {};
  return ParseRateMaster(master, bytes);
}

}  // namespace zorvik
