#include "RuntimeError.h"
#include "DefaultErrorHandler.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

class RecordingMsgBox : public runtime::MsgBox
{
public:
    void show(std::u16string_view prompt, runtime::MsgBoxStyle style) override
    {
        prompts.emplace_back(prompt);
        styles.push_back(style);
    }

    std::vector<std::u16string> prompts;
    std::vector<runtime::MsgBoxStyle> styles;
};

TEST(RuntimeErrorTest, ReportsNumberAndDescription)
{
    const runtime::RuntimeError overflow(runtime::ErrorNumber::Overflow);
    EXPECT_EQ(overflow.report(), u"Run-time error '6':\n\nOverflow");
    EXPECT_STREQ(overflow.what(), "Overflow");
    EXPECT_EQ(runtime::RuntimeError(runtime::ErrorNumber::ObjectRequired).report(),
              u"Run-time error '424':\n\nObject required");
}

TEST(DefaultErrorHandlerTest, ReportsAnEscapedErrorInACriticalBox)
{
    RecordingMsgBox box;
    bool ranBefore = false;
    runtime::runWithDefaultHandling(box, [&] {
        ranBefore = true;
        throw runtime::RuntimeError(runtime::ErrorNumber::Overflow);
    });
    EXPECT_TRUE(ranBefore);
    ASSERT_EQ(box.prompts.size(), 1u);
    EXPECT_EQ(box.prompts[0], u"Run-time error '6':\n\nOverflow");
    EXPECT_EQ(box.styles[0], runtime::MsgBoxStyle::Critical);
}

TEST(DefaultErrorHandlerTest, ShowsNothingWhenTheProcedureEndsNormally)
{
    RecordingMsgBox box;
    runtime::runWithDefaultHandling(box, [] {});
    EXPECT_TRUE(box.prompts.empty());
}

TEST(DefaultErrorHandlerTest, LetsOtherExceptionsPass)
{
    RecordingMsgBox box;
    EXPECT_THROW(runtime::runWithDefaultHandling(box, [] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_TRUE(box.prompts.empty());
}

} // namespace
