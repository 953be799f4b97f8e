#pragma once

#include <string>

namespace runtime {

// The whole number a "#" pattern shows for a value: halves away from zero, judged on the value as
// written to 15 significant digits, so 24.499999999999996 (written 24.5000000000000) gives 25.
double roundForDisplay(double value);

// A finite value as the pattern "####" shows it: the whole number of roundForDisplay, and no lone
// zero. 21.52 shows as "22", 0.3 as "" and -7.6 as "-8".
std::u16string formatWhole(double value);

} // namespace runtime
