#include "LimitLength.h"

#include "ResumeNext.h"
#include "Strings.h"

#include <cstdint>
#include <string>

namespace core {

namespace {

// Beyond the end of any limited field, so the caret lands after the last character.
constexpr int caretAtEnd = 100;

// The cut counts UTF-16 units; where it would fall between the two halves of a surrogate pair
// it comes one unit earlier, so that the box never shows half a character.
int wholeLength(const std::u16string &text, int limit)
{
    const auto cut = static_cast<std::size_t>(limit);
    const auto isHigh = [](char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; };
    const auto isLow = [](char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; };
    return cut > 0 && cut < text.size() && isHigh(text[cut - 1]) && isLow(text[cut]) ? limit - 1 : limit;
}

} // namespace

void LimitLength(runtime::TextBox &field, int limit)
{
    using runtime::Step;
    runtime::resumeNext(
        [&] { return field.text().size() > static_cast<std::size_t>(limit) ? Step::Next : Step::EndRun; },
        [&] {
            const std::u16string text = field.text();
            // The length goes over as a 16-bit integer, as the classic substring call takes it.
            field.setText(runtime::mid(text, 1, static_cast<std::int16_t>(wholeLength(text, limit))));
            return Step::Next;
        },
        [&] {
            field.setSelStart(caretAtEnd);
            return Step::Next;
        });
}

} // namespace core
