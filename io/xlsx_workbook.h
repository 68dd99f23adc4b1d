#pragma once
// Excel workbooks (.xlsx, libxlsxwriter) written the way every export of the program writes them:
// the shared cell formats, a cell writer that remembers the first failure, and the safe writing
// of the file (built in a private folder beside the target, read back whole, then put in place
// atomically, so an existing file is replaced only by a complete workbook).

#include <xlsxwriter.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "io/file_access.h"

namespace zorvik {

// Excel's last row index (1,048,576 rows).
inline constexpr lxw_row_t kLastSheetRow = 1048575;

// Number formats. The unit text is part of the format, so the cells hold plain numbers.
inline constexpr const char* kManFormat = "#,##0\"万\"";
inline constexpr const char* kYenFormat = "#,##0\"円\"";
inline constexpr const char* kRateFormat = "0.000\"％\"";
inline constexpr const char* kYearsFormat = "0\"年\"";
inline constexpr const char* kRatioFormat = "0.00\"％\"";

struct XlsxFormats {
  lxw_format* title = nullptr;
  lxw_format* heading = nullptr;  // bold section captions
  lxw_format* header = nullptr;   // column headers: bold, bordered, centred
  lxw_format* text = nullptr;     // bordered text
  lxw_format* man = nullptr;
  lxw_format* yen = nullptr;
  lxw_format* rate = nullptr;
  lxw_format* years = nullptr;
  lxw_format* ratio = nullptr;
  lxw_format* integer = nullptr;

  bool complete() const;
};
XlsxFormats MakeXlsxFormats(lxw_workbook* wb);
// A bordered cell format with `numFormat` (none when null).
lxw_format* BorderedXlsxFormat(lxw_workbook* wb, const char* numFormat);

// Writes cells and remembers the first failure (a row beyond the sheet, no memory) and the last
// row that holds a cell. Every text goes in as a string cell, which a spreadsheet shows as it is
// and never evaluates: a loan name "=HYPERLINK(...)" stays that text.
class XlsxSheetWriter {
 public:
  XlsxSheetWriter(lxw_worksheet* sheet, lxw_error& firstError) : sheet_(sheet), error_(firstError) {}

  // The last row written (0-based), or -1 when none was.
  int64_t lastRow() const { return lastRow_; }
  lxw_worksheet* sheet() const { return sheet_; }

  void Text(lxw_row_t row, lxw_col_t col, const std::string& text, lxw_format* format);
  void Number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format);
  // A zero is an empty (but bordered) cell, as the form shows it.
  void NumberOrBlank(lxw_row_t row, lxw_col_t col, double value, lxw_format* format);
  // A formula (written by the program, never from user text), with the value it has now so a
  // reader that does not recalculate still shows it.
  void Formula(lxw_row_t row, lxw_col_t col, const std::string& formula, double value, lxw_format* format);
  void Headers(lxw_row_t row, std::initializer_list<const char*> texts, lxw_format* format);
  void Width(lxw_col_t first, lxw_col_t last, double width);
  bool ok() const { return error_ == LXW_NO_ERROR; }

 private:
  void Check(lxw_row_t row, lxw_error e);
  void Cell(lxw_row_t row, lxw_error e);

  lxw_worksheet* sheet_;
  lxw_error& error_;
  int64_t lastRow_ = -1;
};

// Fills a new workbook: adds its sheets and cells, reports the first library error in `error`
// and, for each sheet in the order it was added, the last row written (-1 for none) in
// `lastRows`. The workbook is closed by the caller.
using XlsxBuilder = std::function<void(lxw_workbook* wb, lxw_error& error, std::vector<int64_t>& lastRows)>;

// Writes the workbook that `build` fills to `path` (UTF-8). The library's own temporary files and
// the workbook go to a private folder beside the target; the finished workbook is read back (every
// part complete, every sheet ending with its last written row) before it replaces anything. The
// reason of a failure is the system's (a full disk, no permission) where there is one.
WriteResult WriteXlsxFileAtomically(const std::string& path, const XlsxBuilder& build);

}  // namespace zorvik
