#include "FakeForm.h"
#include "TextBoxContract.h"

namespace {

class FakeUnderTest : public contract::BoxUnderTest
{
public:
    runtime::TextBox &box() override { return m_box; }
    void onChange(std::function<void()> hook) override { m_box.onChange = std::move(hook); }
    int caret() override { return m_box.caret; }
    void breakBox() override
    {
        m_box.failWhen = [](fake::Op, int) { return true; };
    }

private:
    std::vector<fake::Call> m_log;
    int m_depth = 0;
    fake::TextBox m_box{"box", m_log, m_depth};
};

INSTANTIATE_TEST_SUITE_P(FakeTextBox,
                         TextBoxContract,
                         testing::Values(contract::Maker{"Fake", contract::make<FakeUnderTest>}),
                         testing::PrintToStringParamName());

} // namespace
