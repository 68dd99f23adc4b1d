// Any bytes as a plan file: the reader must not crash, leak or hit undefined behaviour.
// Whatever it reads is written as exactly 36 CR LF lines, and from then on writing and
// reading are stable (the first write may still normalise, e.g. a name that was only a CR
// is written as one blank, which reads back as the empty name).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "io/plan_file.h"

namespace {

std::string RoundTrip(std::string_view bytes) {
  zorvik::FundingPlan plan;
  zorvik::ParsePlanFileBytes(plan, bytes);
  return zorvik::PlanFileBytes(plan);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string written = RoundTrip(std::string_view(reinterpret_cast<const char*>(data), size));
  size_t lineEnds = 0;
  for (size_t i = 0; i < written.size(); ++i) {
    if (written[i] == '\n') {
      if (i == 0 || written[i - 1] != '\r') std::abort();
      ++lineEnds;
    } else if (written[i] == '\r' && (i + 1 == written.size() || written[i + 1] != '\n')) {
      std::abort();
    }
  }
  if (lineEnds != 36 || written.size() < 2 || written.substr(written.size() - 2) != "\r\n") std::abort();
  const std::string second = RoundTrip(written);
  if (RoundTrip(second) != second) std::abort();
  return 0;
}
