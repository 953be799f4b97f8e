#pragma once

#include <cstdint>
#include <string>

namespace runtime {

// A finite double as text: whole numbers below 10^15 as bare decimal digits ("12", "-3"), other
// values with at most 15 significant digits as "%.15G" writes them ("6.03333333333333", "1E+20"),
// with '.' as the separator in every locale.
std::u16string numberToText(double value);

// The nearest 32-bit signed integer, halves to even (0.5 gives 0, 1.5 gives 2, -2.5 gives -2).
// Raises Overflow outside the 32-bit range and for infinities and NaN.
std::int32_t nearestInt32(double value);

// The check that follows a floating-point step: every operand of the program's arithmetic is
// finite, so an invalid-operation, division-by-zero or overflow fault is exactly a result that
// is not finite. Such a result raises Overflow; any other is handed back.
double checkFloatingPoint(double result);

} // namespace runtime
