#include "FakeForm.h"
#include "FuzzText.h"

#include "LimitLength.h"

#include <cstdint>

// A text of any length and kind in a box held to `limit` characters, with the box's calls
// failing by a pattern the input chooses, and the rule bound to the box's change event or not.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    const int limit = data.ConsumeIntegralInRange(0, 40);
    const bool bound = data.ConsumeBool();
    const auto failures = data.ConsumeIntegral<std::uint64_t>();
    const std::u16string text = fuzz::consumeText(data);

    std::vector<fake::Call> log;
    int depth = 0;
    fake::TextBox box("field", log, depth);
    box.value = text;
    int calls = 0;
    bool failed = false;
    box.failWhen = [&](fake::Op, int) {
        const bool fails = (failures >> (calls++ % 64) & 1) != 0;
        failed = failed || fails;
        return fails;
    };
    if (bound)
        box.onChange = [&] { core::LimitLength(box, limit); };

    try {
        core::LimitLength(box, limit);
    } catch (...) {
        fuzz::require(false);
    }

    const bool written
        = std::any_of(log.begin(), log.end(), [](const fake::Call &c) { return c.op == fake::Op::Write; });
    if (written)
        fuzz::require(box.value.size() <= static_cast<std::size_t>(limit));
    else
        fuzz::require(box.value == text);
    if (!failed && text.size() > static_cast<std::size_t>(limit)) {
        // The first `limit` units, or one fewer exactly when the limit falls inside a pair.
        const auto cut = static_cast<std::size_t>(limit);
        const bool insidePair = cut > 0 && text[cut - 1] >= 0xD800 && text[cut - 1] <= 0xDBFF && text[cut] >= 0xDC00
            && text[cut] <= 0xDFFF;
        fuzz::require(box.value == text.substr(0, insidePair ? cut - 1 : cut));
        fuzz::require(box.caret == static_cast<int>(box.value.size()));
    } else if (!failed) {
        fuzz::require(box.value == text);
    }
    // A cut keeps the start of the text and never makes anything up.
    fuzz::require(text.compare(0, box.value.size(), box.value) == 0);
    return 0;
}
