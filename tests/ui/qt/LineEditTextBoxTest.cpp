#include "LineEditTextBox.h"
#include "TextBoxContract.h"

#include <QApplication>
#include <QLineEdit>

namespace {

class LineEditUnderTest : public contract::BoxUnderTest
{
public:
    runtime::TextBox &box() override { return m_box; }
    void onChange(std::function<void()> hook) override
    {
        QObject::connect(m_lineEdit.get(), &QLineEdit::textChanged, m_lineEdit.get(), std::move(hook));
    }
    int caret() override { return m_lineEdit ? m_lineEdit->cursorPosition() : -1; }
    void breakBox() override { m_lineEdit.reset(); }

private:
    std::unique_ptr<QLineEdit> m_lineEdit = std::make_unique<QLineEdit>();
    LineEditTextBox m_box{m_lineEdit.get()};
};

INSTANTIATE_TEST_SUITE_P(LineEditTextBox,
                         TextBoxContract,
                         testing::Values(contract::Maker{"Qt", contract::make<LineEditUnderTest>}),
                         testing::PrintToStringParamName());

} // namespace

int main(int argc, char *argv[])
{
    testing::InitGoogleTest(&argc, argv);
    const QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
