#pragma once
// Plan files (.zvk): 36 lines of CP932 text with CR LF line ends, one value per line, the ten
// loan rows as comma-separated lines. The byte layout is shared with files customers already
// have and must not change.
//
//   1       customer name                 12..20  the nine amounts in 万円 ("%d"), from the
//   2..4    year, month, day ("%d")               land price to the annual income
//   5..11   the seven captions            21..30  rows 0..9: "name, method, rate, period,
//   31, 32  total loan, total bonus portion        loan, bonus, monthly, per bonus"
//   33..35  monthly total, per-bonus total, yearly repayment (whole yen, "%.0f")
//   36      repayment ratio ("%.2f")
//
// A row line: the loan name followed by ", " (an empty name is written as " ,"), then method
// code, rate with three decimals, period, loan amount, bonus portion and the two payments,
// separated by ", ". Derived values are stored as they stand and never recomputed on reading.
//
// What the writer does so that every file it writes reopens with all its values:
//   - an ASCII comma in a loan name is written as the full-width comma "，";
//   - a line break (CR, LF or CR LF) in any text is written as one blank;
//   - a character CP932 cannot hold is written as "?" (the form refuses such characters, so
//     this only happens for text that did not come from typing);
//   - numbers are written as in the "C" locale, whatever the process locale;
//   - no line is longer than the format's line buffer of 999 bytes (line end not counted): a
//     longer text is cut at a character boundary, and a loan name gives way to its row's values.
//
// The reader is lenient, as it must be for files written by older programs:
//   - LF or CR LF line ends; lines after the 36th are ignored; missing lines read as empty
//     text or 0;
//   - a line is read up to 999 bytes, cut at a character boundary; the rest of a longer line is
//     dropped (files written by the program never have one);
//   - a text line loses trailing single-byte white space (blank, tab, CR...); leading blanks
//     and full-width blanks stay;
//   - numbers are read like atoi/atof (lenient_number.h): clamped to the field's range, never
//     "inf" or "nan"; 16-bit fields keep the low 16 bits of the integer read;
//   - a row is split at commas with a multibyte-aware search. The name is the text before the
//     first comma, not trimmed; a name of exactly one blank is the empty name. Each of the next
//     six fields is the text up to the next comma (leading white space removed); when there is
//     no further comma the field reads 0 and the text stays for the next field; the payment per
//     bonus is whatever follows the last comma. A row line without any comma is all name.
//   - bytes that are not valid CP932 read as U+FFFD; a file that starts with the UTF-8
//     byte-order mark is read as UTF-8.

#include <string>
#include <string_view>

#include "core/funding_plan.h"
#include "io/file_access.h"

namespace zorvik {

// Writes the plan atomically (io/file_access.h: the target is replaced only when every byte
// reached the disk, and only a regular file or a new name is replaced). Blank rows get zero payments in the plan itself
// before they are written. Returns whether the file was written; on failure an existing file at `path` is left as it
// was. Never fails because of the plan's content.
WriteResult WritePlanFile(FundingPlan& plan, const std::string& path);

// Reads a plan file into `plan` (whose fields the caller has cleared) leniently: numbers as
// atoi/atof would read them, missing lines and fields as zero or empty. Returns whether the
// file could be opened and read (only a regular file is opened) and is a plan file at all
// (LooksLikePlanFile); on false `plan` is untouched.
bool ReadPlanFile(FundingPlan& plan, const std::string& path);

// The bytes WritePlanFile writes; a row without inputs is written with zero payments. The plan
// is not changed.
std::string PlanFileBytes(const FundingPlan& plan);
// Zeroes the payments of every row without inputs (done by WritePlanFile before writing).
void ClearPaymentsOfBlankRows(FundingPlan& plan);
// Whether the bytes can be a plan file at all: not empty and without NUL bytes.
bool LooksLikePlanFile(std::string_view bytes);
// Reads a plan from the bytes of a file, as ReadPlanFile does after reading the file.
void ParsePlanFileBytes(FundingPlan& plan, std::string_view bytes);

}  // namespace zorvik
