#pragma once

#include <string>
#include <string_view>

namespace runtime {

// The whole number a "#" pattern shows for a value: halves away from zero, judged on the value as
// written to 15 significant digits, so 24.499999999999996 (written 24.5000000000000) gives 25.
double roundForDisplay(double value);

// Formats a value with a pattern of digit placeholders: '#' shows a digit where there is one and
// nothing otherwise, '0' sets a minimum count of digits. "####" shows 21.52 as "22", 0.3 as ""
// (no lone zero) and -7.6 as "-8". Any other character in the pattern raises
// InvalidProcedureCall, and so does a value that is not finite.
std::u16string formatWithPattern(double value, std::u16string_view pattern);

} // namespace runtime
