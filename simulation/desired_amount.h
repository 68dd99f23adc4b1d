#pragma once
// The desired-amount box of the two simulation dialogs, as text rules without any widget.

#include <string_view>

namespace zorvik {

// How many characters the box accepts while it holds `text`: ten digits, plus one for every
// comma in it, plus two more when it contains "円".
int DesiredAmountTextLimit(std::string_view text);

// The desired amount in yen read from the box's text: full-width digits and commas read as
// ASCII, every comma removed, then the leading decimal floating-point number (optional blanks
// and sign, digits, decimal point, exponent); anything after it, such as "円", is ignored and a
// text without a number gives 0. A number too large for a double reads as the largest finite
// double of its sign, one too small as 0; "inf" and "nan" are not numbers here.
double ParseDesiredAmount(std::string_view text);

}  // namespace zorvik
