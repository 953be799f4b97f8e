#include "FuzzText.h"

#include "Conversions.h"
#include "NumberReading.h"
#include "RuntimeError.h"

#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The value read, or nothing when the reading overflowed; any other error fails the run.
std::optional<double> read(std::u16string_view text)
{
    try {
        const double value = runtime::readNumber(text);
        fuzz::require(std::isfinite(value));
        return value;
    } catch (const runtime::RuntimeError &error) {
        fuzz::require(error.number() == runtime::ErrorNumber::Overflow);
        return std::nullopt;
    }
}

bool isAsciiDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    const std::u16string text = fuzz::decodeText({reinterpret_cast<const char *>(bytes), size});
    const std::optional<double> value = read(text);

    // Spaces of every kind and the marks that show nothing are skipped wherever they stand, and a
    // letter that cannot continue a number ends it.
    constexpr std::u16string_view unseen = u" \u00A0\u200B\u200F\u2069\u3000\uFEFF";
    std::u16string marked = text;
    marked.insert(text.size() / 2, 1, unseen[text.size() % unseen.size()]);
    fuzz::require(read(marked) == value);
    fuzz::require(read(text + u"x") == value);
    if (!value)
        return 0;

    if (!text.empty() && isAsciiDigit(text.front()))
        fuzz::require(read(u"-" + text) == -*value);

    // The program's own text of a number reads back as that number, to its 15 digits.
    const double magnitude = std::fabs(*value);
    if (magnitude > 1e-290 && magnitude < 1e307) {
        const std::optional<double> again = read(runtime::numberToText(*value));
        fuzz::require(again && std::fabs(*again - *value) <= magnitude * 1e-14);
    }
    return 0;
}
