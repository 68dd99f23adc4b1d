#include "io/xlsx_workbook.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <algorithm>
#include <cerrno>
#include <limits>
#include <string_view>

#include "io/zip_reader.h"

namespace zorvik {

bool XlsxFormats::complete() const {
  for (const lxw_format* f : {title, heading, header, text, man, yen, rate, years, ratio, integer}) {
    if (f == nullptr) return false;
  }
  return true;
}

lxw_format* BorderedXlsxFormat(lxw_workbook* wb, const char* numFormat) {
  lxw_format* f = workbook_add_format(wb);
  if (f == nullptr) return nullptr;
  format_set_border(f, LXW_BORDER_THIN);
  if (numFormat != nullptr) format_set_num_format(f, numFormat);
  return f;
}

XlsxFormats MakeXlsxFormats(lxw_workbook* wb) {
  XlsxFormats f;
  f.title = workbook_add_format(wb);
  f.heading = workbook_add_format(wb);
  f.header = BorderedXlsxFormat(wb, nullptr);
  f.text = BorderedXlsxFormat(wb, nullptr);
  f.man = BorderedXlsxFormat(wb, kManFormat);
  f.yen = BorderedXlsxFormat(wb, kYenFormat);
  f.rate = BorderedXlsxFormat(wb, kRateFormat);
  f.years = BorderedXlsxFormat(wb, kYearsFormat);
  f.ratio = BorderedXlsxFormat(wb, kRatioFormat);
  f.integer = BorderedXlsxFormat(wb, "0");
  if (!f.complete()) return f;
  format_set_bold(f.title);
  format_set_font_size(f.title, 16);
  format_set_bold(f.heading);
  format_set_bold(f.header);
  format_set_align(f.header, LXW_ALIGN_CENTER);
  format_set_bg_color(f.header, 0xDDEBF7);
  return f;
}

void XlsxSheetWriter::Text(lxw_row_t row, lxw_col_t col, const std::string& text, lxw_format* format) {
  Cell(row, worksheet_write_string(sheet_, row, col, text.c_str(), format));
}

void XlsxSheetWriter::Number(lxw_row_t row, lxw_col_t col, double value, lxw_format* format) {
  Cell(row, worksheet_write_number(sheet_, row, col, value, format));
}

void XlsxSheetWriter::NumberOrBlank(lxw_row_t row, lxw_col_t col, double value, lxw_format* format) {
  if (value == 0.0) {
    Cell(row, worksheet_write_blank(sheet_, row, col, format));
  } else {
    Number(row, col, value, format);
  }
}

void XlsxSheetWriter::Formula(lxw_row_t row, lxw_col_t col, const std::string& formula, double value,
                              lxw_format* format) {
  Cell(row, worksheet_write_formula_num(sheet_, row, col, formula.c_str(), format, value));
}

void XlsxSheetWriter::Headers(lxw_row_t row, std::initializer_list<const char*> texts, lxw_format* format) {
  lxw_col_t col = 0;
  for (const char* t : texts) Text(row, col++, t, format);
}

void XlsxSheetWriter::Width(lxw_col_t first, lxw_col_t last, double width) {
  Check(0, worksheet_set_column(sheet_, first, last, width, nullptr));
}

void XlsxSheetWriter::Check(lxw_row_t row, lxw_error e) {
  if (e != LXW_NO_ERROR && error_ == LXW_NO_ERROR) error_ = e;
  if (row > kLastSheetRow && error_ == LXW_NO_ERROR) error_ = LXW_ERROR_WORKSHEET_INDEX_OUT_OF_RANGE;
}

void XlsxSheetWriter::Cell(lxw_row_t row, lxw_error e) {
  Check(row, e);
  if (e == LXW_NO_ERROR) lastRow_ = std::max<int64_t>(lastRow_, row);
}

namespace {

// Builds the workbook at `path` (a new file in a private folder; paths in the local 8-bit
// encoding, as the library opens them). False on any failure the library reports.
bool BuildWorkbook(const std::string& path, const std::string& tmpDir, const XlsxBuilder& build,
                   std::vector<int64_t>& rows) {
  lxw_workbook_options options{};
  std::string tmp = tmpDir;
  options.tmpdir = tmp.data();
  lxw_workbook* wb = workbook_new_opt(path.c_str(), &options);
  if (wb == nullptr) return false;
  lxw_error error = LXW_NO_ERROR;
  build(wb, error, rows);
  // Closing also releases the workbook, so it is closed whatever happened before.
  const lxw_error closed = workbook_close(wb);
  return error == LXW_NO_ERROR && closed == LXW_NO_ERROR;
}

// The library writes each part to a temporary file first and does not notice when that file was
// cut short (a full disk): it then zips a cut sheet and reports success. So the built file is
// read back: every entry must read whole, and every sheet must end with its closing tag and
// hold the last row that was written to it.
bool IsCompleteWorkbook(const std::string& path, const std::vector<int64_t>& rows) {
  constexpr size_t kMaxWorkbookXml = size_t{1} << 31;
  const auto entries = ReadZipEntries(path, kMaxWorkbookXml);
  if (!entries) return false;
  for (size_t i = 0; i < rows.size(); ++i) {
    const std::string name = "xl/worksheets/sheet" + std::to_string(i + 1) + ".xml";
    const auto part = std::find_if(entries->begin(), entries->end(), [&](const auto& e) { return e.first == name; });
    if (part == entries->end()) return false;
    std::string_view xml = part->second;
    while (!xml.empty() && (xml.back() == '\n' || xml.back() == '\r' || xml.back() == ' ')) xml.remove_suffix(1);
    if (!xml.ends_with("</worksheet>")) return false;
    if (rows[i] >= 0 && xml.find("<row r=\"" + std::to_string(rows[i] + 1) + "\"") == std::string_view::npos) {
      return false;
    }
  }
  return true;
}

}  // namespace

WriteResult WriteXlsxFileAtomically(const std::string& path, const XlsxBuilder& build) {
  const QString target = QString::fromStdString(path);
  if (path.empty()) return WriteFailed(ENOENT);
  if (!IsReplaceableTarget(target)) return WriteResult{AtomicWriteStatus::kNotRegularFile, 0, std::string()};
  // Work folders that earlier versions left in the shared temporary folder.
  RemoveStaleExportFolders(QDir::tempPath());
  // The library writes its own temporary files and the workbook into a private folder beside
  // the target (on the target's disk, not the shared temporary folder); the finished, checked
  // workbook is then put in place through the same atomic writer as every other file.
  const QFileInfo info(target);
  QString work;
  errno = 0;
  if (!MakeTemporaryFolderBeside(info.exists() ? info.canonicalFilePath() : info.absoluteFilePath(), work)) {
    return WriteFailed(errno);
  }
  const auto removeWork = qScopeGuard([&work] { QDir(work).removeRecursively(); });
  const QString built = QDir(work).filePath(QStringLiteral("workbook.xlsx"));
  const std::string builtLocal = QFile::encodeName(built).toStdString();
  std::vector<int64_t> rows;
  // The library's own errors say nothing the user can act on; the system's error number of its
  // failed file operation (a full disk, as a rule) does.
  errno = 0;
  if (!BuildWorkbook(builtLocal, QFile::encodeName(work).toStdString(), build, rows)) return WriteFailed(errno);
  if (!IsCompleteWorkbook(builtLocal, rows)) return WriteFailed(errno);
  std::string bytes;
  if (!ReadFileBytes(built.toStdString(), bytes, std::numeric_limits<size_t>::max())) return WriteFailed(errno);
  return WriteFileAtomically(path, bytes);
}

}  // namespace zorvik
