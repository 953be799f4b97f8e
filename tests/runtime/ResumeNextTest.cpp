#include "ResumeNext.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using runtime::Step;

void fail()
{
    throw runtime::RuntimeError(runtime::ErrorNumber::Overflow);
}

TEST(ResumeNextTest, RunsEveryStepInOrder)
{
    std::string trace;
    runtime::resumeNext([&] { trace += 'a'; return Step::Next; },
                        [&] { trace += 'b'; return Step::Next; },
                        [&] { trace += 'c'; return Step::Next; });
    EXPECT_EQ(trace, "abc");
}

TEST(ResumeNextTest, EndRunSkipsTheRest)
{
    std::string trace;
    runtime::resumeNext([&] { trace += 'a'; return Step::EndRun; },
                        [&] { trace += 'b'; return Step::Next; });
    EXPECT_EQ(trace, "a");
}

TEST(ResumeNextTest, AFailedStepGoesOnWithTheNextWhateverItWouldHaveDecided)
{
    std::string trace;
    runtime::resumeNext([&] { trace += 'a'; fail(); return Step::EndRun; },
                        [&] { trace += 'b'; fail(); return Step::EndRun; },
                        [&] { trace += 'c'; return Step::Next; });
    EXPECT_EQ(trace, "abc");
}

TEST(ResumeNextTest, OnlyRunTimeErrorsAreAbsorbed)
{
    std::string trace;
    EXPECT_THROW(runtime::resumeNext([&] { trace += 'a'; throw std::bad_alloc(); return Step::Next; },
                                     [&] { trace += 'b'; return Step::Next; }),
                 std::bad_alloc);
    EXPECT_EQ(trace, "a");
}

} // namespace
