#pragma once
// プラン比較 as an Excel workbook: one sheet "資金計画 比較表" with a caption column, then for each
// plan its figures (numbers as numbers in their unit's format) and, from B案 on, a column of the
// difference against A案 written as a formula on the A column ("=D5-B5"), so that a figure changed
// in Excel moves its difference with it. Written atomically (io/xlsx_workbook.h).

#include <string>

#include "core/plan_comparison.h"
#include "io/file_access.h"

namespace zorvik {

inline constexpr const char* kComparisonSheetName = "資金計画 比較表";

WriteResult WriteComparisonXlsxFile(const std::string& path, const Comparison& comparison,
                                    const std::string& customerName, const std::string& dateText);

}  // namespace zorvik
