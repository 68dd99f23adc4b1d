#include "io/plan_file.h"

#include <vector>

#include "io/cp932.h"
#include "io/lenient_number.h"

namespace zorvik {

namespace {

constexpr int kPlanLineCount = 36;
constexpr int kFirstRowLine = 20;  // 0-based index of the line of row 0
constexpr const char* kLineEnd = "\r\n";
// Plan files are a few kilobytes; reading stops here so that a huge file cannot exhaust memory.
constexpr size_t kMaxPlanFileBytes = size_t{16} * 1024 * 1024;
// The format's line buffer: a line holds at most this many bytes, line end not counted.
constexpr size_t kMaxLineBytes = 999;

// The CP932 bytes of a text, cut at a character boundary so that they fit `maxBytes`.
std::string Cp932Field(std::string_view utf8, size_t maxBytes) {
  std::string bytes = Utf8ToCp932(utf8);
  bytes.resize(CharBoundaryPrefix(bytes, maxBytes, TextEncoding::Cp932));
  return bytes;
}

// One blank for each line break, so that a text can never add a line to the file.
std::string FlattenLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
      out += ' ';
    } else if (c == '\n') {
      out += ' ';
    } else {
      out += c;
    }
  }
  return out;
}

// A comma in a loan name would end the name when the file is read again.
std::string ReplaceAsciiCommas(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char c : text) {
    if (c == ',') {
      out += "，";
    } else {
      out += c;
    }
  }
  return out;
}

class PlanWriter {
 public:
  void Text(const std::string& utf8) {
    out_ += Cp932Field(FlattenLineBreaks(utf8), kMaxLineBytes);
    out_ += kLineEnd;
  }
  void Int(int64_t value) {
    out_ += FormatInt(value);
    out_ += kLineEnd;
  }
  void Fixed(double value, int decimals) {
    out_ += FormatFixed(value, decimals);
    out_ += kLineEnd;
  }
  void Row(const LoanRow& row) {
    // A row without any input cannot have payments: whatever was left in memory is not written.
    const bool blank = row.HasNoInputs();
    std::string values = FormatInt(row.method) + ", ";
    values += FormatFixed(row.ratePercent, 3) + ", ";
    values += FormatInt(row.periodYears) + ", ";
    values += FormatInt(row.loanAmount) + ", ";
    values += FormatInt(row.bonusAmount) + ", ";
    values += FormatInt(blank ? 0 : row.monthlyPayment) + ", ";
    values += FormatInt(blank ? 0 : row.bonusPayment);
    if (row.loanName.empty()) {
      out_ += " ,";
    } else {
      // The name gives way, so that the whole line fits the line buffer with its values.
      const size_t room = kMaxLineBytes > values.size() + 2 ? kMaxLineBytes - values.size() - 2 : 0;
      out_ += Cp932Field(ReplaceAsciiCommas(FlattenLineBreaks(row.loanName)), room);
      out_ += ", ";
    }
    out_ += values;
    out_ += kLineEnd;
  }
  std::string Take() { return std::move(out_); }

 private:
  std::string out_;
};

// The file's lines without their line ends (LF, and a CR before it).
std::vector<std::string_view> SplitLines(std::string_view bytes, TextEncoding encoding, int maxLines) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < bytes.size() && static_cast<int>(lines.size()) < maxLines) {
    size_t end = FindSingleByteChar(bytes, '\n', encoding, start);
    if (end == std::string_view::npos) end = bytes.size();
    std::string_view line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    // What does not fit the line buffer is dropped, up to the end of the line.
    lines.push_back(line.substr(0, CharBoundaryPrefix(line, kMaxLineBytes, encoding)));
    start = end + 1;
  }
  return lines;
}

class PlanReader {
 public:
  PlanReader(std::string_view bytes) {
    encoding_ = TakeByteOrderMark(bytes);
    lines_ = SplitLines(bytes, encoding_, kPlanLineCount);
  }

  std::string_view Line(int index) const {
    return index < static_cast<int>(lines_.size()) ? lines_[static_cast<size_t>(index)] : std::string_view();
  }
  std::string Text(int index) const { return DecodeToUtf8(TrimTrailingSpace(Line(index)), encoding_); }
  int32_t Int(int index) const { return LenientAtoi(Line(index)); }
  uint16_t UInt16(int index) const { return LowBitsUnsigned(LenientAtoi(Line(index))); }
  double Double(int index) const { return LenientAtof(Line(index)); }

  void Row(int index, LoanRow& row) const {
    std::string_view rest = Line(index);
    const size_t firstComma = FindSingleByteChar(rest, ',', encoding_);
    if (firstComma == std::string_view::npos) {
      row.loanName = DecodeToUtf8(rest, encoding_);
      return;
    }
    const std::string_view name = rest.substr(0, firstComma);
    row.loanName = name == " " ? std::string() : DecodeToUtf8(name, encoding_);
    rest.remove_prefix(firstComma + 1);
    // The next six fields each end at a comma; a field whose comma is missing reads 0 and
    // leaves the text for the fields after it.
    auto next = [&]() -> std::string_view {
      const size_t comma = FindSingleByteChar(rest, ',', encoding_);
      if (comma == std::string_view::npos) return {};
      const std::string_view field = rest.substr(0, comma);
      rest.remove_prefix(comma + 1);
      return field;
    };
    row.method = LowBitsUnsigned(LenientAtoi(next()));
    row.ratePercent = LenientAtof(next());
    row.periodYears = LowBitsSigned(LenientAtoi(next()));
    row.loanAmount = LenientAtoi(next());
    row.bonusAmount = LenientAtoi(next());
    row.monthlyPayment = LenientAtoi(next());
    row.bonusPayment = LenientAtoi(rest);
  }

 private:
  static uint16_t LowBitsUnsigned(int32_t v) { return static_cast<uint16_t>(static_cast<uint32_t>(v) & 0xFFFFu); }
  static int16_t LowBitsSigned(int32_t v) { return static_cast<int16_t>(LowBitsUnsigned(v)); }

  TextEncoding encoding_ = TextEncoding::Cp932;
  std::vector<std::string_view> lines_;
};

}  // namespace

std::string PlanFileBytes(const FundingPlan& plan) {
  PlanWriter w;
  w.Text(plan.customerName);
  w.Int(plan.createdYear);
  w.Int(plan.createdMonth);
  w.Int(plan.createdDay);
  w.Text(plan.landLabel);
  w.Text(plan.buildingLabel);
  w.Text(plan.taxLabel);
  w.Text(plan.otherCostLabel);
  w.Text(plan.fundsMinusLoansLabel);
  w.Text(plan.miscCostsLabel);
  w.Text(plan.ownFundsLabel);
  w.Int(plan.landPrice);
  w.Int(plan.buildingPrice);
  w.Int(plan.consumptionTax);
  w.Int(plan.otherCost);
  w.Int(plan.requiredFundsTotal);
  w.Int(plan.fundsMinusLoans);
  w.Int(plan.miscCosts);
  w.Int(plan.ownFundsNeeded);
  w.Int(plan.annualIncome);
  for (const LoanRow& row : plan.rows) w.Row(row);
  w.Int(plan.totalLoan);
  w.Int(plan.totalBonusAmount);
  w.Fixed(plan.totalMonthly, 0);
  w.Fixed(plan.totalBonus, 0);
  w.Fixed(plan.annualRepayment, 0);
  w.Fixed(plan.repaymentRatio, 2);
  return w.Take();
}

void ParsePlanFileBytes(FundingPlan& plan, std::string_view bytes) {
  const PlanReader r(bytes);
  plan.customerName = r.Text(0);
  plan.createdYear = r.UInt16(1);
  plan.createdMonth = r.UInt16(2);
  plan.createdDay = r.UInt16(3);
  plan.landLabel = r.Text(4);
  plan.buildingLabel = r.Text(5);
  plan.taxLabel = r.Text(6);
  plan.otherCostLabel = r.Text(7);
  plan.fundsMinusLoansLabel = r.Text(8);
  plan.miscCostsLabel = r.Text(9);
  plan.ownFundsLabel = r.Text(10);
  plan.landPrice = r.Int(11);
  plan.buildingPrice = r.Int(12);
  plan.consumptionTax = r.Int(13);
  plan.otherCost = r.Int(14);
  plan.requiredFundsTotal = r.Int(15);
  plan.fundsMinusLoans = r.Int(16);
  plan.miscCosts = r.Int(17);
  plan.ownFundsNeeded = r.Int(18);
  plan.annualIncome = r.Int(19);
  for (int i = 0; i < kLoanRowCount; ++i) r.Row(kFirstRowLine + i, plan.rows[static_cast<size_t>(i)]);
  plan.totalLoan = r.Int(30);
  plan.totalBonusAmount = r.Int(31);
  plan.totalMonthly = r.Double(32);
  plan.totalBonus = r.Double(33);
  plan.annualRepayment = r.Double(34);
  plan.repaymentRatio = r.Double(35);
}

bool LooksLikePlanFile(std::string_view bytes) {
  // A plan file is text: an empty file, or one with NUL bytes (a zeroed or binary file), is not
  // a plan whatever lines it happens to have.
  return !bytes.empty() && bytes.find('\0') == std::string_view::npos;
}

void ClearPaymentsOfBlankRows(FundingPlan& plan) {
  for (LoanRow& row : plan.rows) {
    if (!row.HasNoInputs()) continue;
    row.monthlyPayment = 0;
    row.bonusPayment = 0;
  }
}

WriteResult WritePlanFile(FundingPlan& plan, const std::string& path) {
  // Payments left in memory for a row without inputs are dropped from the plan itself, as
  // from the file.
  ClearPaymentsOfBlankRows(plan);
  return WriteFileAtomically(path, PlanFileBytes(plan));
}

bool ReadPlanFile(FundingPlan& plan, const std::string& path) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes, kMaxPlanFileBytes)) return false;
  if (!LooksLikePlanFile(bytes)) return false;
  ParsePlanFileBytes(plan, bytes);
  return true;
}

}  // namespace zorvik
