#include "Formatting.h"

#include <array>
#include <charconv>
#include <cmath>

namespace runtime {

double roundForDisplay(double value)
{
    std::array<char, 32> buffer{};
    const auto written
        = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::scientific, 14);
    double shown = value;
    std::from_chars(buffer.data(), written.ptr, shown);
    return std::round(shown);
}

std::u16string formatWhole(double value)
{
    const double rounded = roundForDisplay(value);
    if (rounded == 0.0) // negative zero too
        return {};
    std::array<char, 320> buffer{}; // a double's largest whole number has 309 digits, and a sign
    const auto written = std::to_chars(buffer.data(), buffer.data() + buffer.size(), rounded, std::chars_format::fixed);
    return {buffer.data(), written.ptr};
}

} // namespace runtime
