#pragma once
// The rate master: up to 20 loan products with their annual rates, read from "YushiMaster.txt"
// in the program directory.
//
// The file is CP932 text (a file that starts with the UTF-8 byte-order mark is read as UTF-8),
// LF or CR LF line ends. Line k (counting from 0, k < 20) fills entry k; later lines are
// ignored. A line is "name,rate," with optional text after the second comma; blanks and tabs
// around the name and the rate are dropped; a line with one comma only has rate 0; a line
// without a comma (a blank line included) is skipped and leaves its entry as it was.
//
// Loading overwrites the entries it reads and leaves the others; the table is never cleared.
// The loan-name lists of the form show every product read, in file order; because a skipped
// line leaves a gap, each list item carries the index of its entry, and a pick is looked up
// by that index, never by the item's position.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zorvik {

inline constexpr int kRateMasterEntryCount = 20;
inline constexpr const char* kRateMasterFileName = "YushiMaster.txt";

struct RateMasterEntry {
  std::string productName;  // UTF-8, as shown in the lists
  double annualRate = 0.0;  // percent per year, 2.375 means 2.375 %
};

class RateMaster {
 public:
  // The entry at `index`, or nullopt outside 0..19.
  std::optional<RateMasterEntry> Entry(int index) const;
  // The rate of the entry at `index`, or nullopt outside 0..19.
  std::optional<double> RateAt(int index) const;

  void SetEntry(int index, RateMasterEntry entry);  // ignored outside 0..19
  const std::array<RateMasterEntry, kRateMasterEntryCount>& entries() const { return entries_; }

 private:
  std::array<RateMasterEntry, kRateMasterEntryCount> entries_{};
};

// One item of the loan-name lists: the product's name and the table entry it stands for.
struct RateMasterListItem {
  int entryIndex = 0;
  std::string name;
  bool operator==(const RateMasterListItem&) const = default;
};

// Reads the rate master at `path` into `master` and returns the items for the lists, in file
// order. A missing or unreadable file reads nothing: the table keeps its entries and the list
// is empty. Nothing is reported.
std::vector<RateMasterListItem> LoadRateMasterFile(RateMaster& master, const std::string& path);

// The same from the bytes of a file.
std::vector<RateMasterListItem> ParseRateMaster(RateMaster& master, std::string_view bytes);

// Whether a downloaded body is a rate master at all. Every line that is not blank reads as a
// product: a name that is not empty and holds none of "<", ">", "{", "}" and ";" (markup, style
// sheets and scripts; a CP932 trail byte is never taken for one), a comma, a rate written
// entirely as a number from 0 to below 100 (digits with at most one decimal point, "1.940"),
// and the comma that closes the rate; the rest of the line is free. Blanks around the name and
// the rate are allowed, as the reader drops them. At least one product must lie among the lines
// the table takes. A login page of a hotel or office network, a script, a style sheet or a
// master cut off inside a line is no rate master.
bool ReadsAsRateMaster(std::string_view bytes);

}  // namespace zorvik
