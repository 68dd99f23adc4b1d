#pragma once
// Plan files (.zvk): 36 lines of CP932 text with CR LF line ends, one value per line, the ten
// loan rows as comma-separated lines. The byte layout is shared with files customers already
// have and must not change.

#include <string>

#include "core/funding_plan.h"

namespace zorvik {

// Writes the plan atomically (a temporary file replaced only when everything was written).
// Blank rows get zero payments in the plan itself before they are written. Returns whether
// the file was written; on failure an existing file at `path` is left as it was.
bool WritePlanFile(FundingPlan& plan, const std::string& path);

// Reads a plan file into `plan` (whose fields the caller has cleared) leniently: numbers as
// atoi/atof would read them, missing lines and fields as zero or empty. Returns whether the
// file could be opened and read; on false `plan` is untouched.
bool ReadPlanFile(FundingPlan& plan, const std::string& path);

}  // namespace zorvik
