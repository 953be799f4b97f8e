#include "Conversions.h"

#include "RuntimeError.h"

#include <array>
#include <charconv>
#include <cmath>

namespace runtime {

std::u16string numberToText(double value)
{
    std::array<char, 32> buffer{};
    const auto result
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::general, 15);
    std::u16string text;
    for (const char *c = buffer.data(); c != result.ptr; ++c)
        text += *c == 'e' ? u'E' : static_cast<char16_t>(*c);
    return text;
}

std::int32_t nearestInt32(double value)
{
    // Halves round to even, so -2147483648.5 still lands in range and 2147483647.5 does not.
    if (!(value >= -2147483648.5 && value < 2147483647.5))
        throw RuntimeError(ErrorNumber::Overflow);
    double rounded = std::round(value);
    if (std::fabs(value - std::trunc(value)) == 0.5)
        rounded = 2.0 * std::round(value / 2.0);
    return static_cast<std::int32_t>(rounded);
}

double checkFloatingPoint(double result)
{
    if (!std::isfinite(result))
        throw RuntimeError(ErrorNumber::Overflow);
    return result;
}

} // namespace runtime
