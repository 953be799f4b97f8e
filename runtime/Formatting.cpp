#include "Formatting.h"

#include "RuntimeError.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

namespace runtime {

double roundForDisplay(double value)
{
    if (!std::isfinite(value))
        return value;
    std::array<char, 32> buffer{};
    const auto written
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, 14);
    double shown = value;
    std::from_chars(buffer.data(), written.ptr, shown);
    return std::round(shown);
}

std::u16string formatWithPattern(double value, std::u16string_view pattern)
{
    if (!std::all_of(pattern.begin(), pattern.end(), [](char16_t c) { return c == u'#' || c == u'0'; }))
        throw RuntimeError(ErrorNumber::InvalidProcedureCall);
    if (!std::isfinite(value))
        throw RuntimeError(ErrorNumber::InvalidProcedureCall);

    const double rounded = roundForDisplay(value);
    std::u16string digits;
    if (rounded != 0.0) {
        std::array<char, 320> buffer{}; // a double's largest whole number has 309 digits
        const auto written
            = std::to_chars(buffer.data(), buffer.data() + buffer.size(), std::fabs(rounded), std::chars_format::fixed);
        digits.assign(buffer.data(), written.ptr);
    }
    const auto minimumDigits = static_cast<std::size_t>(std::count(pattern.begin(), pattern.end(), u'0'));
    if (digits.size() < minimumDigits)
        digits.insert(0, minimumDigits - digits.size(), u'0');
    if (rounded < 0.0)
        digits.insert(digits.begin(), u'-');
    return digits;
}

} // namespace runtime
