#include "FakeForm.h"
#include "FuzzText.h"

#include "CalculateBmi.h"
#include "NumberReading.h"
#include "RuntimeError.h"

#include <algorithm>
#include <cmath>

namespace {

// Whether a category's range holds an index; false for any text that is no category.
bool standsFor(std::u16string_view category, double index)
{
    if (category == u"Underweight")
        return index < 19;
    if (category == u"Desirable")
        return index >= 19 && index <= 25;
    if (category == u"prone to health risks")
        return index >= 26 && index <= 29;
    if (category == u"Obese")
        return index >= 30 && index <= 40;
    if (category == u"Extremely obese")
        return index > 40;
    return false;
}

bool isWholeNumber(double value)
{
    return std::trunc(value) == value;
}

bool isIndexText(std::u16string_view text)
{
    return !text.empty() && text.size() <= 3 && text.front() != u'0'
        && std::all_of(text.begin(), text.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
}

struct Snapshot
{
    explicit Snapshot(const fake::Form &form)
        : weight(form.weight.value)
        , heightf(form.heightf.value)
        , ft(form.ft.value)
        , bdmass(form.bdmass.value)
        , nutrition(form.nutrition.value)
    {
    }

    bool operator==(const Snapshot &) const = default;

    std::u16string weight, heightf, ft, bdmass, nutrition;
};

void checkAccepted(const Snapshot &before, const fake::Form &form)
{
    const double w = runtime::readNumber(before.weight);
    const double f = runtime::readNumber(before.heightf);
    const double i = runtime::readNumber(before.ft);
    const double t = i + f * 12;
    fuzz::require(w > 35 && w < 500 && t > 48 && t < 120);

    fuzz::require(isIndexText(form.bdmass.value));
    // The category stands for the index or for the whole number shown beside it.
    const double b = w * 703 / (t * t);
    const double shown = runtime::readNumber(form.bdmass.value);
    fuzz::require(standsFor(form.nutrition.value, b) || standsFor(form.nutrition.value, shown));
    fuzz::require(std::fabs(shown - b) <= 0.5 + 1e-9);

    if (i > 11) {
        const double inches = runtime::readNumber(form.ft.value);
        fuzz::require(inches >= 0 && inches <= 11 && isWholeNumber(inches));
        // Whole feet and inches are rewritten without loss; the fields hold no fractions.
        if (isWholeNumber(f) && isWholeNumber(i))
            fuzz::require(runtime::readNumber(form.heightf.value) * 12 + inches == t);
    } else {
        fuzz::require(form.heightf.value == before.heightf && form.ft.value == before.ft);
    }
    fuzz::require(form.weight.value == before.weight);
}

} // namespace

// Three field texts, either typed (so the length rule has already held them to its limits) or
// put straight into the boxes, and whatever the result boxes showed before.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    fake::Form form(u"", u"", u"");
    const bool typed = data.ConsumeBool();
    for (fake::TextBox *box : {&form.weight, &form.heightf, &form.ft}) {
        const std::u16string text = fuzz::consumeText(data);
        if (typed)
            box->setText(text);
        else
            box->value = text;
    }
    form.bdmass.value = fuzz::consumeText(data);
    form.nutrition.value = fuzz::consumeText(data);
    form.log.clear();

    const Snapshot before(form);
    bool raised = false;
    try {
        form.calculate();
    } catch (const runtime::RuntimeError &error) {
        fuzz::require(error.number() == runtime::ErrorNumber::Overflow);
        raised = true;
    } catch (...) {
        fuzz::require(false);
    }

    if (!form.msgBox.prompts.empty()) {
        fuzz::require(!raised && form.msgBox.prompts.size() == 1);
        fuzz::require(form.msgBox.prompts.front() == core::invalidDataMessage);
        fuzz::require(form.msgBox.styles.front() == runtime::MsgBoxStyle::Critical);
        fuzz::require(Snapshot(form) == before && form.writes().empty());
    } else if (!raised) {
        checkAccepted(before, form);
    }

    if (typed)
        fuzz::require(form.weight.value.size() <= 3 && form.heightf.value.size() <= 1 && form.ft.value.size() <= 2);
    return 0;
}
