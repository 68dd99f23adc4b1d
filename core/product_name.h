#pragma once
// The product name, the caption of the program's message boxes.

namespace zorvik {

inline constexpr const char* kProductCaption = "ゾルビク";

}  // namespace zorvik
