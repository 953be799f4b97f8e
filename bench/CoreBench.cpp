#include "CalculateBmi.h"
#include "Form1Design.h"
#include "LimitLength.h"
#include "NumberReading.h"

#include <benchmark/benchmark.h>

namespace {

// Fields held in memory, with the length rule bound to the input boxes as on the window.
class MemoryBox : public runtime::TextBox
{
public:
    MemoryBox(std::u16string_view text, int limit)
        : m_text(text)
        , m_limit(limit)
    {
    }

    std::u16string text() const override { return m_text; }
    void setText(std::u16string_view text) override
    {
        if (text == m_text)
            return;
        m_text = text;
        if (m_limit > 0)
            core::LimitLength(*this, m_limit);
    }
    void setSelStart(int) override {}

private:
    std::u16string m_text;
    int m_limit;
};

class SilentMsgBox : public runtime::MsgBox
{
public:
    void show(std::u16string_view, runtime::MsgBoxStyle) override { ++shown; }
    int shown = 0;
};

void calculate(benchmark::State &state,
               std::u16string_view weight,
               std::u16string_view feet,
               std::u16string_view inches)
{
    SilentMsgBox msgBox;
    for (auto _ : state) {
        MemoryBox w(weight, design::control("weight").limit), f(feet, design::control("heightf").limit),
            i(inches, design::control("ft").limit), index(u"", 0), category(u"", 0);
        core::CalculateBmi({w, f, i, index, category}, msgBox);
        benchmark::DoNotOptimize(category);
    }
}

void BM_CalculateBmiAccepted(benchmark::State &state)
{
    calculate(state, u"150", u"5", u"10");
}
BENCHMARK(BM_CalculateBmiAccepted);

void BM_CalculateBmiAcceptedWithRewrite(benchmark::State &state)
{
    calculate(state, u"180", u"5", u"14");
}
BENCHMARK(BM_CalculateBmiAcceptedWithRewrite);

void BM_CalculateBmiRejected(benchmark::State &state)
{
    calculate(state, u"500", u"5", u"10");
}
BENCHMARK(BM_CalculateBmiRejected);

void BM_ReadNumber(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(runtime::readNumber(u" 1 2.5e1"));
}
BENCHMARK(BM_ReadNumber);

void BM_LimitLengthCut(benchmark::State &state)
{
    for (auto _ : state) {
        MemoryBox box(u"", design::control("weight").limit);
        box.setText(u"1500");
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(BM_LimitLengthCut);

} // namespace
