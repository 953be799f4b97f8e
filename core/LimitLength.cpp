#include "LimitLength.h"

#include "ResumeNext.h"
#include "Strings.h"

#include <cstdint>

namespace core {

namespace {

// Beyond the end of any limited field, so the caret lands after the last character.
constexpr int caretAtEnd = 100;

} // namespace

void LimitLength(runtime::TextBox &field, int limit)
{
    using runtime::Step;
    runtime::resumeNext(
        [&] { return field.text().size() > static_cast<std::size_t>(limit) ? Step::Next : Step::EndRun; },
        [&] {
            field.setText(runtime::mid(field.text(), 1, static_cast<std::int16_t>(limit)));
            return Step::Next;
        },
        [&] {
            field.setSelStart(caretAtEnd);
            return Step::Next;
        });
}

} // namespace core
