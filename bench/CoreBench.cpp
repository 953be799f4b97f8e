#include "CalculateBmi.h"
#include "LimitLength.h"
#include "NumberReading.h"

#include <benchmark/benchmark.h>

namespace {

// A box held in memory, with no change binding and nothing recorded: what is timed is the core.
class MemoryBox : public runtime::TextBox
{
public:
    explicit MemoryBox(std::u16string_view text = {})
        : m_text(text)
    {
    }

    std::u16string text() const override { return m_text; }
    void setText(std::u16string_view text) override { m_text = text; }
    void setSelStart(int) override {}

private:
    std::u16string m_text;
};

class SilentMsgBox : public runtime::MsgBox
{
public:
    void show(std::u16string_view, runtime::MsgBoxStyle) override {}
};

void calculate(benchmark::State &state,
               std::u16string_view weight,
               std::u16string_view feet,
               std::u16string_view inches)
{
    SilentMsgBox msgBox;
    for (auto _ : state) {
        MemoryBox w(weight), f(feet), i(inches), index, category;
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
        MemoryBox box(u"1500");
        core::LimitLength(box, core::weightLimit);
        benchmark::DoNotOptimize(box);
    }
}
BENCHMARK(BM_LimitLengthCut);

} // namespace
