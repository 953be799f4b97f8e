#include "RuntimeError.h"
#include "DefaultErrorHandler.h"
#include "RecordingMsgBox.h"

#include <gtest/gtest.h>

namespace {

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
    fake::MsgBox box;
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
    fake::MsgBox box;
    runtime::runWithDefaultHandling(box, [] {});
    EXPECT_TRUE(box.prompts.empty());
}

TEST(DefaultErrorHandlerTest, LetsOtherExceptionsPass)
{
    fake::MsgBox box;
    EXPECT_THROW(runtime::runWithDefaultHandling(box, [] { throw std::logic_error("bug"); }), std::logic_error);
    EXPECT_TRUE(box.prompts.empty());
}

} // namespace
