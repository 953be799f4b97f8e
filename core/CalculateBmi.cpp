#include "CalculateBmi.h"

#include "Conversions.h"
#include "Formatting.h"
#include "NumberReading.h"

#include <cstdint>
#include <optional>

namespace core {

namespace {

constexpr int inchesPerFoot = 12;
constexpr double indexFactor = 703.0;
constexpr double lowestWeight = 35.0;
constexpr double highestWeight = 500.0;
constexpr double lowestHeight = 48.0;
constexpr double highestHeight = 120.0;
constexpr double rewriteAbove = 11.0;

std::optional<std::u16string_view> categoryOf(double index)
{
    if (index < 19)
        return u"Underweight";
    if (index >= 19 && index <= 25)
        return u"Desirable";
    if (index >= 26 && index <= 29)
        return u"prone to health risks";
    if (index >= 30 && index <= 40)
        return u"Obese";
    if (index > 40)
        return u"Extremely obese";
    return std::nullopt;
}

// Between 25 and 26, and between 29 and 30, no test holds: the category is then the one the
// shown index names, so that the category never disagrees with the index beside it.
std::u16string_view categoryFor(double index)
{
    if (const auto category = categoryOf(index))
        return *category;
    return categoryOf(runtime::roundForDisplay(index)).value_or(u"");
}

} // namespace

void CalculateBmi(const BmiFields &fields, runtime::MsgBox &msgBox)
{
    // w pounds, f whole feet, i inches, t total height in inches, b the index, r the inches left
    // over after whole feet, the remainder of n, the inches as a whole number.
    const double w = runtime::readNumber(fields.weight.text());
    const double f = runtime::readNumber(fields.heightf.text());
    const double i = runtime::readNumber(fields.ft.text());

    const double t = runtime::checkFloatingPoint(i + runtime::checkFloatingPoint(f * inchesPerFoot));
    const double tSquared = t * t;
    if (tSquared == 0.0) {
        msgBox.show(invalidDataMessage, runtime::MsgBoxStyle::Critical);
        return;
    }
    // Formed before the plausibility test, so that an overflow here is reported before "Invalid data".
    const double b = runtime::checkFloatingPoint(w * indexFactor) / tSquared;

    if (w <= lowestWeight || w >= highestWeight || t <= lowestHeight || t >= highestHeight) {
        msgBox.show(invalidDataMessage, runtime::MsgBoxStyle::Critical);
        return;
    }

    if (i > rewriteAbove) {
        const std::int32_t n = runtime::nearestInt32(i);
        const double r = n % inchesPerFoot;
        fields.ft.setText(runtime::numberToText(r));
        fields.heightf.setText(runtime::numberToText(runtime::checkFloatingPoint(f + (i - r) / inchesPerFoot)));
    }

    fields.nutrition.setText(categoryFor(b));
    fields.bdmass.setText(runtime::formatWhole(b));
}

} // namespace core
