#pragma once
// The 住宅ローン控除 estimate as an Excel workbook: one sheet "住宅ローン控除" with the conditions
// (入居年, 区分, 性能, 世帯, 取得対価, 借入限度額), the credit years (年, 年末残高, 控除額, うち所得税,
// うち住民税, 控除しきれない額), the total and the note with the table's checked date. Without the
// tax inputs the parts are left blank: the credits are then the upper bound.

#include <string>

#include "core/tax_credit.h"
#include "io/file_access.h"

namespace zorvik {

inline constexpr const char* kTaxCreditSheetName = "住宅ローン控除";

// `note` is the line shown under the table ("概算です。…確認）").
WriteResult WriteTaxCreditXlsxFile(const std::string& path, const TaxCreditInputs& inputs,
                                   const TaxCreditEstimate& estimate, const std::string& note);

}  // namespace zorvik
