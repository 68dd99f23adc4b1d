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

// A rate as a master gives it: a plain number from 0 to below 100. The whole part decides
// that exactly, however many decimals follow.
bool IsRateBelowHundred(std::string_view text) {
  if (!IsPlainNumber(text)) return false;
  std::string_view whole = text.substr(0, text.find('.'));
  while (!whole.empty() && whole.front() == '0') whole.remove_prefix(1);
  return whole.size() <= 2;
}

// A product's name: not empty, and none of the characters of markup, style sheets or scripts.
// Found character by character: 0x7B and 0x7D are also trail bytes of CP932 characters
// ("ボ" is 83 7B), which a plain byte search would take for braces.
bool IsProductName(std::string_view name, TextEncoding encoding) {
  if (name.empty()) return false;
  for (const char c : {'<', '>', '{', '}', ';'}) {
    if (FindSingleByteChar(name, c, encoding) != std::string_view::npos) return false;
  }
  return true;
}

// A line that reads as "name,rate," with text of any kind after the rate's comma.
bool ReadsAsProduct(std::string_view line, TextEncoding encoding) {
  const std::optional<MasterLine> fields = SplitMasterLine(line, encoding);
  // The rate text is empty when no comma closes it.
  return fields && IsProductName(fields->name, encoding) && IsRateBelowHundred(fields->rateText);
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

bool ReadsAsRateMaster(std::string_view bytes) {
  const TextEncoding encoding = TakeByteOrderMark(bytes);
  bool productInTable = false;
  size_t start = 0;
  // Every line of the body, also past the twenty the table takes: what follows a master
  // belongs to the same reply and must be no page either.
  for (int k = 0; start < bytes.size(); ++k) {
    size_t end = FindSingleByteChar(bytes, '\n', encoding, start);
    if (end == std::string_view::npos) end = bytes.size();
    const std::string_view line = bytes.substr(start, end - start);
    start = end + 1;
    if (TrimSpace(line).empty()) continue;
    if (!ReadsAsProduct(line, encoding)) return false;
    if (k < kRateMasterEntryCount) productInTable = true;
  }
  return productInTable;
}

std::vector<RateMasterListItem> LoadRateMasterFile(RateMaster& master, const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxRateMasterBytes)) return {};
  return ParseRateMaster(master, bytes);
}

}  // namespace zorvik
